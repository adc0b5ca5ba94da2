// Layers I and II: start and frame routines installed by DecoderStart.
#pragma once

#include <cstdint>

#include "streamreader.h"

namespace lexoria::mpeg {

int Layer1Start(const FrameHeader& header);
void Layer1Decode(const FrameHeader& header, const uint8_t* frame, uint8_t* output);
// Returns 0 when the frame's mode, rate and bitrate select no allocation table.
int Layer2Start(const FrameHeader& header);
void Layer2Decode(const FrameHeader& header, const uint8_t* frame, uint8_t* output);
// Builds the layer I and II tables (once).
void BuildLayer12Tables();

}  // namespace lexoria::mpeg
