// SPDX-License-Identifier: GPL-3.0-or-later
// State shared by the layer I and layer II routines: the stream's layout,
// fixed at start, and the frame's allocation turned into decode codes.
//
// Positions: one per subband in a one-channel stream, 2k (left) and 2k + 1
// (right) for subband k in a two-channel stream, matching the interleaved
// sample slots the synthesis reads. After the coded positions the code list
// holds two markers, so the sample loops walk it with one switch and no
// bounds test: the band-limit marker skips the bits of every position above
// the limit at once, the end marker closes the slot.
#pragma once

#include <cstdint>

#include "layer12tables.h"
#include "mpeg/streamreader.h"

namespace lexoria::mpeg {

// Layer I decode codes: allocation a (0 to 14) alone, a + 15 for a field
// shared by both channels, then the markers.
inline constexpr uint8_t kLayer1Joint = 15;
inline constexpr uint8_t kLayer1End = 30;
inline constexpr uint8_t kLayer1Limit = 31;
// Layer II decode codes: class c (0 to 17), c + 18 shared, then the markers.
inline constexpr uint8_t kLayer2Joint = 18;
inline constexpr uint8_t kLayer2End = 36;
inline constexpr uint8_t kLayer2Limit = 37;
// Layer II scale-factor selection of a position without allocation.
inline constexpr uint8_t kNoSelection = 4;

struct Layer12State {
  // Per stream.
  int channels = 1;
  int codedPositions = 0;
  int bandLimit = 0;  // positions decoded; the rest stay zero
  int limitSubbands = 0;
  const AllocationTable* table = nullptr;
  uint32_t tableBitrateIndex = 0;

  // Per frame.
  uint32_t skipBits = 0;  // sample bits at or above the band limit per slot (layer I) or triple (layer II)
  uint8_t code[66] = {};
  uint8_t nonzero[64] = {};  // allocation (layer I) or class (layer II)
  uint8_t selection[65] = {};
  float step[64] = {};
  float multiplier[64][3] = {};
  // Layer I: the positions the last frame wrote, all others being zero.
  uint8_t written[64] = {};
  int writtenCount = 0;
};

struct DecoderState;

// Joint-stereo bound of a frame in positions.
int JointBound(const Layer12State& s, const FrameHeader& header);
// Stream layout and synthesis variant common to both layers.
void StartLayer12(DecoderState& d, const FrameHeader& header, int codedSubbands, int clearValues);

}  // namespace lexoria::mpeg
