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

// One sample of allocation A: A + 1 bits, as an integer around zero. A is a
// constant so the read folds to a shift and a mask.
template <int A>
[[gnu::always_inline]] inline float Sample(BitReader& bits) {
  return static_cast<float>(static_cast<int32_t>(bits.get(A + 1)) - ((1 << A) - 1));
}

[[gnu::always_inline]] inline float ReadSample(BitReader& bits, uint32_t a) {
  switch (a) {
    case 1: return Sample<1>(bits);
    case 2: return Sample<2>(bits);
    case 3: return Sample<3>(bits);
    case 4: return Sample<4>(bits);
    case 5: return Sample<5>(bits);
    case 6: return Sample<6>(bits);
    case 7: return Sample<7>(bits);
    case 8: return Sample<8>(bits);
    case 9: return Sample<9>(bits);
    case 10: return Sample<10>(bits);
    case 11: return Sample<11>(bits);
    case 12: return Sample<12>(bits);
    case 13: return Sample<13>(bits);
    default: return Sample<14>(bits);
  }
}

void ReadSamples(const Layer12State& s, BitReader& shared, float* out) {
  // A local reader keeps the cache in registers across the sample stores.
  BitReader bits = shared;
  for (int slot = 0; slot < 12; ++slot, out += 64) {
    int p = 0;
    for (;;) {
      const uint32_t code = s.code[p];
      if (code == 0) {
        out[p++] = 0.0f;
      } else if (code < kLayer1Joint) {
        out[p] = ReadSample(bits, code) * s.multiplier[p][0];
        ++p;
      } else if (code == kLayer1Joint) {
        out[p] = out[p + 1] = 0.0f;
        p += 2;
      } else if (code < kLayer1End) {
        const float v = ReadSample(bits, code - kLayer1Joint);
        out[p] = v * s.multiplier[p][0];
        out[p + 1] = v * s.multiplier[p + 1][0];
        p += 2;
      } else {
        if (code == kLayer1Limit) bits.skip(s.skipBits);
        break;
      }
    }
  }
  shared = bits;
}

}  // namespace

int Layer1Start(DecoderState& d, const FrameHeader& header) {
  StartLayer12(d, header, 32, 12 * 64);
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
