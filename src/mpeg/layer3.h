// SPDX-License-Identifier: GPL-3.0-or-later
// Layer III: start and frame routines installed by Decoder::Start.
#pragma once

#include <cstdint>

#include "mpeg/streamreader.h"

namespace lexoria::mpeg {

struct DecoderState;

int Layer3Start(DecoderState& d, const FrameHeader& header);
// False when the frame's main data begins before the reservoir does.
bool Layer3Decode(DecoderState& d, const FrameHeader& header, const uint8_t* frame, uint8_t* output);
// Builds the requantisation, stereo, antialias and IMDCT tables (once).
void BuildLayer3Tables();

}  // namespace lexoria::mpeg
