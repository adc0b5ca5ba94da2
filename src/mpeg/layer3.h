// Layer III: start and frame routines installed by DecoderStart.
#pragma once

#include <cstdint>

#include "streamreader.h"

namespace lexoria::mpeg {

int Layer3Start(const FrameHeader& header);
void Layer3Decode(const FrameHeader& header, const uint8_t* frame, uint8_t* output);
// Builds the requantisation, stereo, antialias and IMDCT tables (once).
void BuildLayer3Tables();

}  // namespace lexoria::mpeg
