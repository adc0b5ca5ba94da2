// SPDX-License-Identifier: GPL-3.0-or-later
// Synthesis set-up: the DCT and window tables, the rings, and the choice of
// variant by options and instruction set (the kernels themselves are in
// synthesiskernels.h, built once per instruction set).
#include <cmath>
#include <cstring>

#include "decoderstate.h"
#include "synthesistables.h"
#include "synthesiswindow.h"

namespace lexoria::mpeg {

alignas(32) float g_dctCoefficients[31];
WindowTaps g_taps[3];

namespace {

// Folded window: rows of 16 (row k serves output k), then the 8 middle taps.
// Each row starts with the standard's D[k] (negative for k > 0); a positive
// first value would put up to 3 LSB of error on outputs 15 and 17.
alignas(32) float g_window[264];

const SynthesisKernels& Kernels(Simd simd) {
  if (simd == Simd::kAvx2 && Avx2Synthesis().select12 != nullptr) return Avx2Synthesis();
  if (simd != Simd::kScalar && Sse2Synthesis().select12 != nullptr) return Sse2Synthesis();
  return ScalarSynthesis();
}

}  // namespace

bool SimdAvailable(Simd simd) {
  switch (simd) {
    case Simd::kScalar: return true;
    case Simd::kSse2: return Sse2Synthesis().select12 != nullptr;
    case Simd::kAvx2:
#if defined(__x86_64__) || defined(__i386__)
      // The processor model may not be read yet when a static constructor asks.
      __builtin_cpu_init();
      return Avx2Synthesis().select12 != nullptr && __builtin_cpu_supports("avx2");
#else
      return false;
#endif
  }
  return false;
}

Simd BestSimd() {
  static const Simd best = SimdAvailable(Simd::kAvx2)   ? Simd::kAvx2
                           : SimdAvailable(Simd::kSse2) ? Simd::kSse2
                                                        : Simd::kScalar;
  return best;
}

void BuildWindowTaps();

double WindowD(int i) {
  if (i <= 256) return kSynthesisWindowD[i];
  // Odd about 256, except at the 64-value block edges, which keep their sign.
  return i % 64 == 0 ? kSynthesisWindowD[512 - i] : -kSynthesisWindowD[512 - i];
}

void BuildSynthesisTables() {
  int offset = 0;
  for (int n = 16; n >= 1; n /= 2) {
    for (int i = 0; i < n; ++i)
      g_dctCoefficients[offset + i] = static_cast<float>(0.5 / std::cos((2 * i + 1) * M_PI / (4.0 * n)));
    offset += n;
  }
  {
    float* w = g_window;
    for (int k = 0; k < 16; ++k) {
      for (int m = 1; m < 16; ++m) {
        const int i = k + 32 * m;
        w[16 * k + m] = static_cast<float>(WindowD(i));
      }
      w[16 * k] = static_cast<float>(kSynthesisWindowD[k]);
    }
    for (int j = 0; j < 8; ++j) {
      const int i = 48 + 64 * j;
      w[256 + j] = static_cast<float>(-WindowD(i));
    }
  }
  BuildWindowTaps();
}

void BuildWindowTaps() {
  for (int shift = 0; shift < 3; ++shift) {
    WindowTaps& t = g_taps[shift];
    const int h = 16 >> shift;
    for (int j = 0; j < 8; ++j) {
      for (int k = 0; k < 16; ++k) {
        const int row = k < h ? k << shift : 0;
        t.forwardU[j][k] = k < h ? g_window[16 * row + 2 * j] : 0.0f;
        t.forwardV[j][k] = k < h ? g_window[16 * row + 2 * j + 1] : 0.0f;
        const bool back = k >= 1 && k < h;
        const int q = back ? 16 * (16 - (k << shift)) + 15 : 0;
        t.backwardU[j][k] = back ? g_window[q - 2 * j] : 0.0f;
        t.backwardV[j][k] = back ? g_window[q - 2 * j - 1] : 0.0f;
      }
      t.middle[j] = g_window[256 + j];
    }
  }
}

void ResetSynthesis(DecoderState& s) {
  std::memset(s.ring, 0, sizeof s.ring);
  s.ringPosition[0] = s.ringPosition[1] = 0;
}

SynthesisVariant12 SelectSynthesis12(bool eightBit, uint32_t reduction, int channelEntry, bool precise, Simd simd) {
  return Kernels(simd).select12(eightBit, reduction, channelEntry, precise);
}

SynthesisVariant3 SelectSynthesis3(bool eightBit, uint32_t reduction, bool oneChannel, bool precise, Simd simd) {
  return Kernels(simd).select3(eightBit, reduction, oneChannel, precise);
}

SynthesisVariant12 CurrentSynthesis12(const DecoderState& s, int channelEntry) {
  const DecoderOptions& o = s.options;
  return SelectSynthesis12((o.conversion & kConversion8Bit) != 0, o.reduction, channelEntry, PreciseOutput(s), s.simd);
}

SynthesisVariant3 CurrentSynthesis3(const DecoderState& s, bool oneChannel) {
  const DecoderOptions& o = s.options;
  return SelectSynthesis3((o.conversion & kConversion8Bit) != 0, o.reduction, oneChannel, PreciseOutput(s), s.simd);
}

}  // namespace lexoria::mpeg
