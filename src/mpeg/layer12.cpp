// SPDX-License-Identifier: GPL-3.0-or-later
// Layers I and II: tables and the part of the stream start they share.
#include "layer12.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "decoderstate.h"
#include "layer12state.h"

namespace lexoria::mpeg {

Layer12Tables g_layer12Tables;

void BuildLayer12Tables() {
  Layer12Tables& t = g_layer12Tables;
  t.layer1Step[0] = 0.0f;
  for (int a = 1; a < 16; ++a) t.layer1Step[a] = static_cast<float>(2.0 / ((1 << (a + 1)) - 1));
  t.layer2Step[0] = 0.0f;
  for (int c = 1; c < 18; ++c) t.layer2Step[c] = static_cast<float>(2.0 / kClassLevels[c]);
  for (int i = 0; i < 64; ++i) t.scaleFactor[i] = static_cast<float>(65536.0 * std::pow(2.0, -i / 3.0));
  // Codes past the last valid one (27, 125, 729 and up) follow the same rule.
  for (int c = 0; c < 32; ++c)
    for (int k = 0, v = c; k < 3; ++k, v /= 3) t.group3[c][k] = static_cast<int8_t>(v % 3 - 1);
  for (int c = 0; c < 128; ++c)
    for (int k = 0, v = c; k < 3; ++k, v /= 5) t.group5[c][k] = static_cast<int8_t>(v % 5 - 2);
  for (int c = 0; c < 1024; ++c)
    for (int k = 0, v = c; k < 3; ++k, v /= 9) t.group9[c][k] = static_cast<int16_t>(v % 9 - 4);
}

int JointBound(const Layer12State& s, const FrameHeader& header) {
  // A one-channel stream has no shared fields whatever a frame's mode says:
  // its positions are single subbands, and a pair would run past the markers.
  if (s.channels == 1) return 32;
  return kJointBound[header.mode & 3][header.modeExtension & 3];
}

void StartLayer12(DecoderState& d, const FrameHeader& header, int codedSubbands, int clearValues) {
  Layer12State& s = d.layer12;
  s.channels = header.mode == 3 ? 1 : 2;
  s.limitSubbands = LayerSubbandLimit(d);
  s.codedPositions = codedSubbands * s.channels;
  s.bandLimit = std::min(s.limitSubbands, codedSubbands) * s.channels;
  d.subbandLimit = s.bandLimit;
  const int entry = s.channels == 1 ? 0 : static_cast<int>(d.options.conversion & kConversionChannelMask) + 1;
  d.synthesis12 = CurrentSynthesis12(d, entry);
  std::memset(d.sampleBuffer, 0, sizeof(float) * static_cast<size_t>(clearValues));
}

}  // namespace lexoria::mpeg
