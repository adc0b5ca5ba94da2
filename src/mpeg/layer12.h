// SPDX-License-Identifier: GPL-3.0-or-later
// Layers I and II: start and frame routines installed by Decoder::Start.
#pragma once

#include <cstdint>

#include "mpeg/streamreader.h"

namespace lexoria::mpeg {

struct DecoderState;

int Layer1Start(DecoderState& d, const FrameHeader& header);
bool Layer1Decode(DecoderState& d, const FrameHeader& header, const uint8_t* frame, uint8_t* output);
// Returns 0 when the frame's mode, rate and bitrate select no allocation table.
int Layer2Start(DecoderState& d, const FrameHeader& header);
bool Layer2Decode(DecoderState& d, const FrameHeader& header, const uint8_t* frame, uint8_t* output);
// Builds the layer I and II tables (once).
void BuildLayer12Tables();

}  // namespace lexoria::mpeg
