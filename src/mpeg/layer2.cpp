// SPDX-License-Identifier: GPL-3.0-or-later
// Layer II: 36 slots of 32 subband samples per channel and frame, in 12
// granules of three slots, with one allocation table per stream.
#include <algorithm>
#include <cstring>

#include "decoderstate.h"
#include "layer12.h"
#include "layer12state.h"

namespace lexoria::mpeg {

namespace {

// -1 when the header selects no table.
int ChooseTable(const FrameHeader& header) {
  if (header.version != 1) return kLayer2TableLowRate;
  if (header.samplingIndex > 2 || header.bitrateIndex > 15) return -1;
  return kAllocationChoice[header.mode == 3 ? 1 : 0][header.samplingIndex][header.bitrateIndex];
}

// The table fixes the coded positions and the band limit.
void UseTable(DecoderState& d, int index) {
  Layer12State& s = d.layer12;
  s.table = &kAllocationTables[index];
  const int coded = s.table->subbands;
  s.codedPositions = coded * s.channels;
  s.bandLimit = std::min(s.limitSubbands, coded) * s.channels;
  d.subbandLimit = s.bandLimit;
}

void ReadAllocation(Layer12State& s, BitReader& bits, int bound) {
  const float* steps = g_layer12Tables.layer2Step;
  uint32_t skip = 0;
  int p = 0;
  for (const AllocationGroup& group : s.table->groups) {
    for (int k = 0; k < group.subbands; ++k) {
      if (p < bound) {
        for (int ch = 0; ch < s.channels; ++ch, ++p) {
          const uint8_t c = group.classOf[bits.get(group.fieldBits)];
          if (p >= s.bandLimit) skip += kClassTripleBits[c];
          s.code[p] = c;
          s.nonzero[p] = c;
          s.step[p] = steps[c];
        }
      } else {
        const uint8_t c = group.classOf[bits.get(group.fieldBits)];
        if (p >= s.bandLimit) skip += kClassTripleBits[c];
        s.code[p] = s.code[p + 1] = static_cast<uint8_t>(c + kLayer2Joint);
        s.nonzero[p] = s.nonzero[p + 1] = c;
        s.step[p] = s.step[p + 1] = steps[c];
        p += 2;
      }
    }
  }
  s.code[s.bandLimit] = kLayer2Limit;
  s.code[s.codedPositions] = kLayer2End;
  s.skipBits = skip;
}

void ReadScaleFactors(Layer12State& s, BitReader& bits) {
  const float* sf = g_layer12Tables.scaleFactor;
  const int n = s.codedPositions;
  for (int p = 0; p < n; ++p) s.selection[p] = s.nonzero[p] ? static_cast<uint8_t>(bits.get(2)) : kNoSelection;
  s.selection[n] = kNoSelection + 1;
  for (int p = 0; p < n; ++p) {
    float* m = s.multiplier[p];
    const float step = s.step[p];
    switch (s.selection[p]) {
      case 0:
        m[0] = step * sf[bits.get(6)];
        m[1] = step * sf[bits.get(6)];
        m[2] = step * sf[bits.get(6)];
        break;
      case 1:
        m[0] = m[1] = step * sf[bits.get(6)];
        m[2] = step * sf[bits.get(6)];
        break;
      case 2: m[0] = m[1] = m[2] = step * sf[bits.get(6)]; break;
      case 3:
        m[0] = step * sf[bits.get(6)];
        m[1] = m[2] = step * sf[bits.get(6)];
        break;
      default: break;
    }
  }
}

// Three codes of nb bits each; nb a constant so the reads fold to shifts.
template <int Nb>
[[gnu::always_inline]] inline void ReadPlain(BitReader& bits, int32_t v[3]) {
  constexpr int32_t mid = (1 << (Nb - 1)) - 1;
  bits.ensure<3 * Nb>();
  v[0] = static_cast<int32_t>(bits.getUnchecked(Nb)) - mid;
  v[1] = static_cast<int32_t>(bits.getUnchecked(Nb)) - mid;
  v[2] = static_cast<int32_t>(bits.getUnchecked(Nb)) - mid;
}

template <typename T, size_t N, int Bits>
[[gnu::always_inline]] inline void ReadGrouped(BitReader& bits, const T (&table)[N][3], int32_t v[3]) {
  const T* g = table[bits.get(Bits)];
  v[0] = g[0], v[1] = g[1], v[2] = g[2];
}

// The three values of one triple of a class, as integers around zero.
[[gnu::always_inline]] inline void ReadTriple(BitReader& bits, uint32_t c, int32_t v[3]) {
  const Layer12Tables& t = g_layer12Tables;
  switch (c) {
    case 1: return ReadGrouped<int8_t, 32, 5>(bits, t.group3, v);
    case 2: return ReadGrouped<int8_t, 128, 7>(bits, t.group5, v);
    case 3: return ReadPlain<3>(bits, v);
    case 4: return ReadGrouped<int16_t, 1024, 10>(bits, t.group9, v);
    case 5: return ReadPlain<4>(bits, v);
    case 6: return ReadPlain<5>(bits, v);
    case 7: return ReadPlain<6>(bits, v);
    case 8: return ReadPlain<7>(bits, v);
    case 9: return ReadPlain<8>(bits, v);
    case 10: return ReadPlain<9>(bits, v);
    case 11: return ReadPlain<10>(bits, v);
    case 12: return ReadPlain<11>(bits, v);
    case 13: return ReadPlain<12>(bits, v);
    case 14: return ReadPlain<13>(bits, v);
    case 15: return ReadPlain<14>(bits, v);
    case 16: return ReadPlain<15>(bits, v);
    default: return ReadPlain<16>(bits, v);
  }
}

void ReadSamples(const Layer12State& s, BitReader& shared, float* out) {
  // A local reader keeps the cache in registers across the sample stores.
  BitReader bits = shared;
  for (int granule = 0; granule < 12; ++granule, out += 192) {
    const int part = granule >> 2;
    int p = 0;
    for (;;) {
      const uint32_t code = s.code[p];
      int32_t v[3];
      if (code == 0) {
        out[p] = out[p + 64] = out[p + 128] = 0.0f;
        ++p;
      } else if (code < kLayer2Joint) {
        ReadTriple(bits, code, v);
        const float m = s.multiplier[p][part];
        out[p] = static_cast<float>(v[0]) * m;
        out[p + 64] = static_cast<float>(v[1]) * m;
        out[p + 128] = static_cast<float>(v[2]) * m;
        ++p;
      } else if (code == kLayer2Joint) {
        out[p] = out[p + 64] = out[p + 128] = 0.0f;
        out[p + 1] = out[p + 65] = out[p + 129] = 0.0f;
        p += 2;
      } else if (code < kLayer2End) {
        ReadTriple(bits, code - kLayer2Joint, v);
        const float l = s.multiplier[p][part];
        const float r = s.multiplier[p + 1][part];
        for (int k = 0; k < 3; ++k) {
          out[p + 64 * k] = static_cast<float>(v[k]) * l;
          out[p + 1 + 64 * k] = static_cast<float>(v[k]) * r;
        }
        p += 2;
      } else {
        if (code == kLayer2Limit) bits.skip(s.skipBits);
        break;
      }
    }
  }
  shared = bits;
}

}  // namespace

int Layer2Start(DecoderState& d, const FrameHeader& header) {
  const int index = ChooseTable(header);
  if (index < 0) return 0;
  StartLayer12(d, header, kAllocationTables[index].subbands, kSampleBufferSize);
  UseTable(d, index);
  d.layer12.tableBitrateIndex = header.bitrateIndex;
  return 1;
}

bool Layer2Decode(DecoderState& d, const FrameHeader& header, const uint8_t* frame, uint8_t* output) {
  Layer12State& s = d.layer12;
  if (s.table == nullptr) return false;
  // The table belongs to the bitrate: a stream that changes bitrate may change
  // table; a frame whose bitrate allows none keeps the one in use.
  if (header.bitrateIndex != s.tableBitrateIndex) {
    const int index = ChooseTable(header);
    if (index >= 0 && &kAllocationTables[index] != s.table) {
      UseTable(d, index);
      std::memset(d.sampleBuffer, 0, sizeof d.sampleBuffer);
    }
    s.tableBitrateIndex = header.bitrateIndex;
  }
  BitReader& bits = d.bits;
  bits.start(frame + 4 + (header.crc ? 2 : 0), frame + d.frameLength);
  ReadAllocation(s, bits, JointBound(s, header));
  ReadScaleFactors(s, bits);
  ReadSamples(s, bits, d.sampleBuffer);
  d.synthesis12(d, d.sampleBuffer, output, 36);
  return true;
}

}  // namespace lexoria::mpeg
