// SPDX-License-Identifier: GPL-3.0-or-later
// Layer I: 12 slots of 32 subband samples per channel and frame.
#include <cstring>

#include "decoderstate.h"
#include "layer12.h"
#include "layer12state.h"

namespace lexoria::mpeg {

namespace {

void ReadAllocation(Layer12State& s, BitReader& bits, int bound) {
  const Layer12Tables& t = g_layer12Tables;
  uint32_t skip = 0;
  int p = 0;
  while (p < s.codedPositions) {
    uint32_t a = bits.get(4);
    if (a == 15) a = 0;  // forbidden value: nothing coded in this subband
    const float step = t.layer1Step[a];
    const uint32_t sampleBits = a ? a + 1 : 0;
    if (p >= s.bandLimit) skip += sampleBits;
    if (p < bound) {
      s.code[p] = static_cast<uint8_t>(a);
      s.nonzero[p] = static_cast<uint8_t>(a);
      s.step[p] = step;
      ++p;
    } else {
      s.code[p] = s.code[p + 1] = static_cast<uint8_t>(a + kLayer1Joint);
      s.nonzero[p] = s.nonzero[p + 1] = static_cast<uint8_t>(a);
      s.step[p] = s.step[p + 1] = step;
      p += 2;
    }
  }
  // When the limit is the end, the end marker wins: nothing to skip.
  s.code[s.bandLimit] = kLayer1Limit;
  s.code[s.codedPositions] = kLayer1End;
  s.skipBits = skip;
}

void ReadScaleFactors(Layer12State& s, BitReader& bits) {
  const float* sf = g_layer12Tables.scaleFactor;
  for (int p = 0; p < s.codedPositions; ++p)
    if (s.nonzero[p]) s.multiplier[p][0] = s.step[p] * sf[bits.get(6)];
}

// One coded sample of a slot, in bitstream order: its position, its width
// (allocation + 1 bits), the offset that centres it on zero, and the
// multipliers of the one or two positions it feeds.
struct CodedSample {
  int position;
  int width;
  int32_t centre;
  float first;
  float second;
  bool shared;
};

void ReadSamples(Layer12State& s, BitReader& shared, float* out) {
  // The allocation is the same for all 12 slots: list the coded samples
  // once. Every other position of the frame is zero: those the last frame
  // wrote are cleared, the rest still are.
  for (int k = 0; k < s.writtenCount; ++k) {
    const int position = s.written[k];
    for (int slot = 0; slot < 12; ++slot) out[64 * slot + position] = 0.0f;
  }
  s.writtenCount = 0;
  CodedSample coded[64];
  int count = 0;
  int p = 0;
  for (uint32_t code = s.code[p]; code < kLayer1End; code = s.code[p]) {
    const bool joint = code >= kLayer1Joint;
    const uint32_t a = joint ? code - kLayer1Joint : code;
    if (a != 0) {
      coded[count++] = {p,
                        static_cast<int>(a) + 1,
                        (int32_t{1} << a) - 1,
                        s.multiplier[p][0],
                        joint ? s.multiplier[p + 1][0] : 0.0f,
                        joint};
      s.written[s.writtenCount++] = static_cast<uint8_t>(p);
      if (joint) s.written[s.writtenCount++] = static_cast<uint8_t>(p + 1);
    }
    p += joint ? 2 : 1;
  }
  const bool skipAbove = s.code[p] == kLayer1Limit;
  // A local reader keeps the cache in registers across the sample stores.
  BitReader bits = shared;
  for (int slot = 0; slot < 12; ++slot, out += 64) {
    for (int k = 0; k < count; ++k) {
      const CodedSample& c = coded[k];
      const float v = static_cast<float>(static_cast<int32_t>(bits.get(c.width)) - c.centre);
      out[c.position] = v * c.first;
      if (c.shared) out[c.position + 1] = v * c.second;
    }
    if (skipAbove) bits.skip(s.skipBits);
  }
  shared = bits;
}

}  // namespace

int Layer1Start(DecoderState& d, const FrameHeader& header) {
  StartLayer12(d, header, 32, 12 * 64);
  d.layer12.writtenCount = 0;
  return 1;
}

bool Layer1Decode(DecoderState& d, const FrameHeader& header, const uint8_t* frame, uint8_t* output) {
  Layer12State& s = d.layer12;
  BitReader& bits = d.bits;
  bits.start(frame + 4 + (header.crc ? 2 : 0), frame + d.frameLength);
  ReadAllocation(s, bits, JointBound(s, header));
  ReadScaleFactors(s, bits);
  ReadSamples(s, bits, d.sampleBuffer);
  d.synthesis12(d, d.sampleBuffer, output, 12);
  return true;
}

}  // namespace lexoria::mpeg
