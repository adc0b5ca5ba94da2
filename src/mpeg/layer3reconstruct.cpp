// SPDX-License-Identifier: GPL-3.0-or-later
// Layer III reconstruction of one granule: requantisation with short-block
// reordering, mid/side and intensity stereo, antialias butterflies, the
// hybrid filter bank (IMDCT, windowing, overlap-add, frequency inversion)
// and the output routines that end in the synthesis.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "decoderstate.h"
#include "layer3kernels.h"
#include "layer3state.h"

namespace lexoria::mpeg {

float g_pow43[2 * kMaxQuantised + 1];
alignas(32) float g_imdctHalf[18][24];
alignas(32) float g_window36[4][36];
alignas(32) float g_imdctShort[12][6];

namespace {

float g_globalGain[262];        // 2^((i - 156) / 4): entry g + 6 gives 2^((g - 150) / 4)
float g_quarterPowers[256];     // 2^(-i / 4)
float g_isRatio1[2][8][2];      // MPEG-1 [mid/side][is_pos][left, right]
float g_isRatio2[2][2][64][2];  // MPEG-2 [intensity_scale][mid/side][2^s - 1 + sf][left, right]
float g_cs[8];
float g_ca[8];

inline float Requantise(int32_t v, float factor) {
  return g_pow43[std::clamp(v, -kMaxQuantised, kMaxQuantised) + kMaxQuantised] * factor;
}

void RequantiseChannel(Layer3State& s, int slot, int ch) {
  const GranuleChannel& g = s.side[slot][ch];
  const int32_t* q = s.quantised[ch];
  float* xr = s.lines[ch];
  const uint8_t* sf = s.scalefac[slot][ch];
  StereoBookkeeping& st = s.stereo[ch];
  const uint16_t* lb = s.longBounds;
  const uint16_t* sb = s.shortBounds;
  int nonzero = s.nonzero[slot][ch];
  const float gain = g_globalGain[std::clamp(g.global_gain + 6, 0, 261)];
  const int scaleShift = 2 * (static_cast<int>(g.scalefac_scale) + 1);

  const bool shortBlocks = g.window_switching_flag && g.block_type == 2;
  const int longBands = shortBlocks ? (g.mixed_block_flag ? s.mixedLongBands : 0) : 22;
  st.longBandCount = longBands;
  st.firstShortBand = shortBlocks ? (g.mixed_block_flag ? 3 : 0) : 13;
  st.hasShortPart = shortBlocks;
  st.lastNonzeroBand = 0;
  st.lastNonzeroShortBand[0] = st.lastNonzeroShortBand[1] = st.lastNonzeroShortBand[2] = st.firstShortBand;

  int line = 0;
  for (int b = 0; b < longBands && line < nonzero; ++b) {
    const int end = lb[b + 1];
    const int pre = g.preflag ? kPretab[b] : 0;
    const float factor = gain * g_quarterPowers[std::min(scaleShift * (sf[b] + pre), 255)];
    if (s.requantiseBand(q + line, xr + line, end - line, factor)) st.lastNonzeroBand = b;
    line = end;
  }
  if (!shortBlocks) {
    for (int k = line; k < 576; ++k) xr[k] = 0.0f;
    return;
  }
  // Short part: requantise window by window into the reorder area, lines of
  // the three windows interleaved.
  float* reorder = s.scratch;
  line = 3 * sb[st.firstShortBand];
  const int shortStart = line;
  int processed = line;
  for (int b = st.firstShortBand; b < 13 && line < nonzero; ++b) {
    const int width = sb[b + 1] - sb[b];
    const int bandStart = line;
    for (int w = 0; w < 3; ++w) {
      const float factor =
          gain *
          g_quarterPowers[std::min(8 * static_cast<int>(g.subblock_gain[w]) + scaleShift * sf[23 + 13 * w + b], 255)];
      bool any = false;
      for (int j = 0; j < width; ++j, ++line) {
        reorder[bandStart - shortStart + 3 * j + w] = Requantise(q[line], factor);
        any |= q[line] != 0;
      }
      if (any) st.lastNonzeroShortBand[w] = b;
    }
    processed = line;
  }
  std::memcpy(xr + shortStart, reorder, sizeof(float) * static_cast<size_t>(processed - shortStart));
  for (int k = processed; k < 576; ++k) xr[k] = 0.0f;
  s.nonzero[slot][ch] = processed;
  st.lastNonzeroBand = std::max({st.lastNonzeroShortBand[0], st.lastNonzeroShortBand[1], st.lastNonzeroShortBand[2]});
}

void MidSide(Layer3State& s, int n) {
  float* l = s.lines[0];
  float* r = s.lines[1];
  for (int i = 0; i < n; ++i) {
    const float m = l[i];
    const float d = r[i];
    l[i] = m + d;
    r[i] = m - d;
  }
}

void ApplyRatio(float* l, float* r, int from, int to, const float* k) {
  for (int i = from; i < to; ++i) {
    const float v = l[i];
    l[i] = v * k[0];
    r[i] = v * k[1];
  }
}

void Intensity(Layer3State& s, int slot) {
  const StereoBookkeeping& right = s.stereo[1];
  const uint8_t* sf = s.scalefac[slot][1];
  float* l = s.lines[0];
  float* r = s.lines[1];
  const int ms = s.msStereo ? 1 : 0;
  const uint16_t* lb = s.longBounds;
  const uint16_t* sb = s.shortBounds;
  const bool mpeg1 = s.version == 1;
  const int leftCount = s.nonzero[slot][0];
  auto ratio = [&](int slen, int value) -> const float* {
    if (mpeg1) return g_isRatio1[ms][std::min(value, 7)];
    const int index = ((1 << slen) - 1) + std::min(value, (1 << slen) - 1);
    return g_isRatio2[s.intensityScale][ms][index];
  };
  if (!right.hasShortPart) {
    for (int b = right.lastNonzeroBand + 1; b <= 20; ++b) {
      if (lb[b] >= leftCount) break;
      ApplyRatio(l, r, lb[b], std::min<int>(lb[b + 1], leftCount), ratio(s.isLongSlen[b], sf[b]));
    }
    return;
  }
  // Long part of a mixed block.
  if (right.longBandCount > 0) {
    for (int b = right.lastNonzeroBand + 1; b < right.longBandCount; ++b)
      ApplyRatio(l, r, lb[b], lb[b + 1], ratio(s.isLongSlen[b], sf[b]));
  }
  for (int w = 0; w < 3; ++w) {
    const int first = (mpeg1 ? right.lastNonzeroBand : right.lastNonzeroShortBand[w]) + 1;
    for (int b = std::max(first, right.firstShortBand); b <= 11; ++b) {
      const int width = sb[b + 1] - sb[b];
      const int base = 3 * sb[b];
      if (base >= leftCount) break;
      const float* k = ratio(s.isShortSlen[b], sf[23 + 13 * w + b]);
      for (int j = 0; j < width; ++j) {
        const float v = l[base + 3 * j + w];
        l[base + 3 * j + w] = v * k[0];
        r[base + 3 * j + w] = v * k[1];
      }
    }
  }
}

void JointStereo(Layer3State& s, int slot) {
  if (s.channels != 2 || (!s.msStereo && !s.intensityStereo)) return;
  int& n0 = s.nonzero[slot][0];
  int& n1 = s.nonzero[slot][1];
  if (s.msStereo) {
    int n = std::max(n0, n1);
    if (s.intensityStereo) {
      const StereoBookkeeping& right = s.stereo[1];
      n = right.hasShortPart ? 3 * s.shortBounds[std::min(right.lastNonzeroBand + 1, 13)]
                             : s.longBounds[std::min(right.lastNonzeroBand + 1, 22)];
    }
    MidSide(s, std::min(n, 576));
  }
  if (s.intensityStereo) Intensity(s, slot);
  n0 = n1 = std::max(n0, n1);
}

void Antialias(Layer3State& s, int slot, int ch) {
  const StereoBookkeeping& st = s.stereo[ch];
  if (st.longBandCount == 0) return;
  int& nonzero = s.nonzero[slot][ch];
  const int boundaries = st.hasShortPart ? 1 : std::min((nonzero + 7) / 18, 31);
  float* xr = s.lines[ch];
  for (int b = 1; b <= boundaries; ++b) {
    float* lo = xr + 18 * b - 1;
    float* hi = xr + 18 * b;
    for (int i = 0; i < 8; ++i) {
      const float a = lo[-i];
      const float c = hi[i];
      lo[-i] = a * g_cs[i] - c * g_ca[i];
      hi[i] = c * g_cs[i] + a * g_ca[i];
    }
  }
  nonzero = std::max(nonzero, boundaries * 18 + 8);
}

void FrequencyInversion(float* out, int count) {
  const int sbs = (count + 17) / 18;
  for (int i = 1; i < 18; i += 2)
    for (int sb = 1; sb < sbs; sb += 2) out[32 * i + sb] = -out[32 * i + sb];
}

int LongEnd(const Layer3State& s, int slot, int ch) {
  const GranuleChannel& g = s.side[slot][ch];
  int end;
  if (g.window_switching_flag && g.block_type == 2)
    end = g.mixed_block_flag ? s.longBounds[s.mixedLongBands] : 0;
  else
    end = s.nonzero[slot][ch];
  return std::min(end, s.maxLines);
}

int FilterChannel(Layer3State& s, int slot, int ch, float* out) {
  const GranuleChannel& g = s.side[slot][ch];
  const uint32_t blockType = g.window_switching_flag ? g.block_type : 0;
  const int filled = s.hybridFilter(s, s.lines[ch], s.overlap[ch], out, blockType, g.mixed_block_flag != 0,
                                    LongEnd(s, slot, ch), s.nonzero[slot][ch], s.previousFilled[ch]);
  s.previousFilled[ch] = filled;
  return filled;
}

void OutputMix(DecoderState& d, int slot, uint8_t* output) {
  Layer3State& s = d.layer3;
  const GranuleChannel& g0 = s.side[slot][0];
  const GranuleChannel& g1 = s.side[slot][1];
  const uint32_t bt0 = g0.window_switching_flag ? g0.block_type : 0;
  const uint32_t bt1 = g1.window_switching_flag ? g1.block_type : 0;
  // Halved so that a centred source keeps its level in the mix.
  const int n = std::min(std::max(s.nonzero[slot][0], s.nonzero[slot][1]), s.maxLines);
  float* l = s.lines[0];
  float* r = s.lines[1];
  if (bt0 == bt1 && !g0.mixed_block_flag && !g1.mixed_block_flag) {
    for (int i = 0; i < n; ++i) l[i] = (l[i] + r[i]) * 0.5f;
    s.nonzero[slot][0] = n;
    const int filled = s.hybridFilter(s, l, s.overlap[0], s.hybrid, bt0, false, bt0 == 2 ? 0 : n, n,
                                      std::max(s.previousFilled[0], s.previousFilled[1]));
    s.previousFilled[0] = filled;
    s.previousFilled[1] = 0;
    FrequencyInversion(s.hybrid, filled);
  } else {
    for (int i = 0; i < n; ++i) {
      l[i] *= 0.5f;
      r[i] *= 0.5f;
    }
    const int filled0 = FilterChannel(s, slot, 0, s.hybrid);
    std::memset(s.overlap[1], 0, sizeof s.overlap[1]);
    const int filled1 = s.hybridFilter(s, r, s.overlap[1], s.scratch, bt1, g1.mixed_block_flag != 0,
                                       LongEnd(s, slot, 1), s.nonzero[slot][1], 0);
    for (int i = 0; i < 18; ++i)
      for (int sb = 0; sb < (filled1 + 17) / 18; ++sb) s.hybrid[32 * i + sb] += s.scratch[32 * i + sb];
    for (int i = 0; i < 576; ++i) s.overlap[0][i] += s.overlap[1][i];
    std::memset(s.overlap[1], 0, sizeof s.overlap[1]);
    const int filled = std::max(filled0, filled1);
    s.previousFilled[0] = filled;
    // The summed channel-1 subbands above channel 0's must not keep stale output.
    FrequencyInversion(s.hybrid, filled);
  }
  d.synthesis3(d, s.hybrid, output, 0);
}

}  // namespace

void BuildReconstructionTables() {
  for (int i = 0; i < 262; ++i) g_globalGain[i] = static_cast<float>(std::pow(2.0, (i - 156) / 4.0));
  for (int i = 0; i < 256; ++i) g_quarterPowers[i] = static_cast<float>(std::pow(2.0, -i / 4.0));
  for (int i = 0; i <= kMaxQuantised; ++i) {
    const float m = static_cast<float>(std::pow(static_cast<double>(i), 4.0 / 3.0));
    g_pow43[kMaxQuantised + i] = m;
    g_pow43[kMaxQuantised - i] = -m;
  }
  const double root2 = std::sqrt(2.0);
  for (int p = 0; p < 7; ++p) {
    const double sn = std::sin(p * M_PI / 12);
    const double cs = std::cos(p * M_PI / 12);
    const double kl = sn / (sn + cs);
    const double kr = cs / (sn + cs);
    g_isRatio1[0][p][0] = static_cast<float>(kl);
    g_isRatio1[0][p][1] = static_cast<float>(kr);
    g_isRatio1[1][p][0] = static_cast<float>(kl * root2);
    g_isRatio1[1][p][1] = static_cast<float>(kr * root2);
  }
  g_isRatio1[0][7][0] = 1.0f;
  g_isRatio1[0][7][1] = 0.0f;
  g_isRatio1[1][7][0] = 1.0f;
  g_isRatio1[1][7][1] = 1.0f;
  for (int scale = 0; scale < 2; ++scale) {
    const double io = scale == 0 ? std::pow(2.0, -0.25) : std::pow(2.0, -0.5);
    for (int ms = 0; ms < 2; ++ms) {
      const double m = ms ? root2 : 1.0;
      for (int slen = 0; slen <= 5; ++slen) {
        const int count = 1 << slen;
        for (int p = 0; p < count; ++p) {
          double kl = 1.0, kr = 1.0;
          if (p == count - 1) {
            kl = 1.0;
            kr = ms ? 1.0 : 0.0;
            g_isRatio2[scale][ms][count - 1 + p][0] = static_cast<float>(kl);
            g_isRatio2[scale][ms][count - 1 + p][1] = static_cast<float>(kr);
            continue;
          }
          if (p % 2 == 1)
            kl = std::pow(io, (p + 1) / 2);
          else if (p > 0)
            kr = std::pow(io, p / 2);
          g_isRatio2[scale][ms][count - 1 + p][0] = static_cast<float>(kl * m);
          g_isRatio2[scale][ms][count - 1 + p][1] = static_cast<float>(kr * m);
        }
      }
    }
  }
  for (int i = 0; i < 8; ++i) {
    const double c = kAntialiasCi[i];
    const double root = std::sqrt(1.0 + c * c);
    g_cs[i] = static_cast<float>(1.0 / root);
    g_ca[i] = static_cast<float>(c / root);
  }
  double win[4][36];
  for (int i = 0; i < 36; ++i) win[0][i] = std::sin(M_PI / 36 * (i + 0.5));
  for (int i = 0; i < 18; ++i) win[1][i] = win[0][i];
  for (int i = 18; i < 24; ++i) win[1][i] = 1.0;
  for (int i = 24; i < 30; ++i) win[1][i] = std::sin(M_PI / 12 * (i - 18 + 0.5));
  for (int i = 30; i < 36; ++i) win[1][i] = 0.0;
  for (int i = 0; i < 6; ++i) win[3][i] = 0.0;
  for (int i = 6; i < 12; ++i) win[3][i] = std::sin(M_PI / 12 * (i - 6 + 0.5));
  for (int i = 12; i < 18; ++i) win[3][i] = 1.0;
  for (int i = 18; i < 36; ++i) win[3][i] = win[0][i];
  for (int i = 0; i < 36; ++i) win[2][i] = win[0][i];
  for (int bt = 0; bt < 4; ++bt)
    for (int i = 0; i < 36; ++i) g_window36[bt][i] = static_cast<float>(win[bt][i]);
  for (int k = 0; k < 18; ++k)
    for (int o = 0; o < 24; ++o) {
      const int i = o < 9 ? o : o < 18 ? 9 + o : -1;
      g_imdctHalf[k][o] = i < 0 ? 0.0f : static_cast<float>(std::cos(M_PI / 72 * (2 * i + 1 + 18) * (2 * k + 1)));
    }
  for (int i = 0; i < 12; ++i)
    for (int k = 0; k < 6; ++k)
      g_imdctShort[i][k] =
          static_cast<float>(std::sin(M_PI / 12 * (i + 0.5)) * std::cos(M_PI / 24 * (2 * i + 1 + 6) * (2 * k + 1)));
}

const Layer3Kernels& SelectLayer3Kernels(Simd simd) {
  if (simd == Simd::kAvx2 && Avx2Layer3Kernels().hybridFilter != nullptr) return Avx2Layer3Kernels();
  if (simd != Simd::kScalar && Sse2Layer3Kernels().hybridFilter != nullptr) return Sse2Layer3Kernels();
  return ScalarLayer3Kernels();
}

void ResetReconstruction(Layer3State& s) {
  std::memset(s.overlap, 0, sizeof s.overlap);
  std::memset(s.hybrid, 0, sizeof s.hybrid);
  s.previousFilled[0] = s.previousFilled[1] = 0;
  std::memset(s.stereo, 0, sizeof s.stereo);
}

void ReconstructGranule(DecoderState& d, int slot, uint8_t* output) {
  Layer3State& s = d.layer3;
  for (int ch = 0; ch < s.channels; ++ch) RequantiseChannel(s, slot, ch);
  JointStereo(s, slot);
  for (int ch = 0; ch < s.channels; ++ch) Antialias(s, slot, ch);
  switch (s.outputRoute) {
    case 0:
    case 3: {
      const int ch = s.outputRoute == 3 ? 1 : 0;
      const int filled = FilterChannel(s, slot, ch, s.hybrid);
      FrequencyInversion(s.hybrid, filled);
      d.synthesis3(d, s.hybrid, output, 0);
      break;
    }
    case 1:
      for (int ch = 0; ch < 2; ++ch) {
        float* hybrid = s.hybrid + 576 * ch;
        const int filled = FilterChannel(s, slot, ch, hybrid);
        FrequencyInversion(hybrid, filled);
      }
      d.synthesis3(d, s.hybrid, output, 0);
      break;
    default: OutputMix(d, slot, output); break;
  }
}

}  // namespace lexoria::mpeg
