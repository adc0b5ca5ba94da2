// SPDX-License-Identifier: GPL-3.0-or-later
// The requantisation and hybrid filter of one instruction set: included by
// layer3kernels_<isa>.cpp with LEXORIA_KERNEL_ISA and LEXORIA_KERNEL_NS set,
// as synthesiskernels.h. Sums run input by input, products and sums rounded
// separately, so every set gives the same values.
#pragma once

#include <cstdint>

#if LEXORIA_KERNEL_ISA >= 1
#include <emmintrin.h>
#endif
#if LEXORIA_KERNEL_ISA >= 2
#include <immintrin.h>
#endif

#include "layer3kernels.h"

namespace lexoria::mpeg::LEXORIA_KERNEL_NS {

namespace {

// Local, so no out-of-line copy of a library template is built with this
// file's instruction set.
inline int Min(int a, int b) { return a < b ? a : b; }

inline float Requantise(int32_t v, float factor) {
  const int32_t clamped = v < -kMaxQuantised ? -kMaxQuantised : v > kMaxQuantised ? kMaxQuantised : v;
  return g_pow43[clamped + kMaxQuantised] * factor;
}

bool RequantiseBand(const int32_t* q, float* xr, int count, float factor) {
  int i = 0;
  bool any = false;
#if LEXORIA_KERNEL_ISA >= 2
  // Eight lines at a time, the powers gathered from the table.
  const __m256i lo = _mm256_set1_epi32(-kMaxQuantised);
  const __m256i hi = _mm256_set1_epi32(kMaxQuantised);
  const __m256 f = _mm256_set1_ps(factor);
  __m256i seen = _mm256_setzero_si256();
  for (; i + 8 <= count; i += 8) {
    const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(q + i));
    seen = _mm256_or_si256(seen, v);
    const __m256i index = _mm256_add_epi32(_mm256_min_epi32(_mm256_max_epi32(v, lo), hi), hi);
    _mm256_storeu_ps(xr + i, _mm256_mul_ps(_mm256_i32gather_ps(g_pow43, index, 4), f));
  }
  any = !_mm256_testz_si256(seen, seen);
#endif
  for (; i < count; ++i) {
    xr[i] = Requantise(q[i], factor);
    any |= q[i] != 0;
  }
  return any;
}

// The 18 distinct outputs of one long block's IMDCT (and six zeros).
inline void LongImdct(const float* in, float* y) {
#if LEXORIA_KERNEL_ISA >= 2
  __m256 y0 = _mm256_setzero_ps();
  __m256 y1 = _mm256_setzero_ps();
  __m256 y2 = _mm256_setzero_ps();
  for (int k = 0; k < 18; ++k) {
    const __m256 v = _mm256_set1_ps(in[k]);
    const float* c = g_imdctHalf[k];
    y0 = _mm256_add_ps(y0, _mm256_mul_ps(_mm256_load_ps(c), v));
    y1 = _mm256_add_ps(y1, _mm256_mul_ps(_mm256_load_ps(c + 8), v));
    y2 = _mm256_add_ps(y2, _mm256_mul_ps(_mm256_load_ps(c + 16), v));
  }
  _mm256_store_ps(y, y0);
  _mm256_store_ps(y + 8, y1);
  _mm256_store_ps(y + 16, y2);
#elif LEXORIA_KERNEL_ISA == 1
  __m128 acc[5] = {_mm_setzero_ps(), _mm_setzero_ps(), _mm_setzero_ps(), _mm_setzero_ps(), _mm_setzero_ps()};
  for (int k = 0; k < 18; ++k) {
    const __m128 v = _mm_set1_ps(in[k]);
    const float* c = g_imdctHalf[k];
    for (int g = 0; g < 5; ++g) acc[g] = _mm_add_ps(acc[g], _mm_mul_ps(_mm_load_ps(c + 4 * g), v));
  }
  for (int g = 0; g < 5; ++g) _mm_store_ps(y + 4 * g, acc[g]);
#else
  for (int o = 0; o < 20; ++o) y[o] = 0.0f;
  for (int k = 0; k < 18; ++k) {
    const float v = in[k];
    const float* c = g_imdctHalf[k];
    for (int o = 0; o < 20; ++o) y[o] += c[o] * v;
  }
#endif
}

// Hybrid filter of one channel's lines into `out` (18 x 32, slot-major),
// with its overlap. Returns the lines filled (18 x subbands).
int HybridFilter(const Layer3State& s, const float* xr, float* overlap, float* out, uint32_t blockType, bool mixed,
                 int longEnd, int nonzero, int previous) {
  const int maxSb = (s.maxLines + 17) / 18;
  const int longSb = Min((longEnd + 17) / 18, maxSb);
  const int shortSb = blockType == 2 ? Min((nonzero + 17) / 18, maxSb) : longSb;
  int sbIndex = 0;
  for (; sbIndex < longSb; ++sbIndex) {
    // A mixed block's two lowest subbands take the normal window.
    const int window = (blockType == 2 || (mixed && sbIndex < 2)) ? 0 : static_cast<int>(blockType);
    const float* in = xr + 18 * sbIndex;
    float* ov = overlap + 18 * sbIndex;
    alignas(32) float y[24];
    LongImdct(in, y);
    const float* win = g_window36[window];
    for (int i = 0; i < 9; ++i) {
      out[32 * i + sbIndex] = win[i] * y[i] + ov[i];
      out[32 * (17 - i) + sbIndex] = -win[17 - i] * y[i] + ov[17 - i];
    }
    for (int i = 0; i < 9; ++i) {
      ov[i] = win[18 + i] * y[9 + i];
      ov[17 - i] = win[35 - i] * y[9 + i];
    }
  }
  for (; sbIndex < shortSb; ++sbIndex) {
    const float* in = xr + 18 * sbIndex;
    float* ov = overlap + 18 * sbIndex;
    float z[36] = {};
    for (int w = 0; w < 3; ++w) {
      for (int i = 0; i < 12; ++i) {
        float sum = 0.0f;
        for (int k = 0; k < 6; ++k) sum += g_imdctShort[i][k] * in[3 * k + w];
        z[6 + 6 * w + i] += sum;
      }
    }
    for (int i = 0; i < 18; ++i) {
      out[32 * i + sbIndex] = z[i] + ov[i];
      ov[i] = z[18 + i];
    }
  }
  const int previousSb = Min((previous + 17) / 18, maxSb);
  for (; sbIndex < previousSb; ++sbIndex) {
    float* ov = overlap + 18 * sbIndex;
    for (int i = 0; i < 18; ++i) {
      out[32 * i + sbIndex] = ov[i];
      ov[i] = 0.0f;
    }
  }
  const int filled = sbIndex;
  for (; sbIndex < maxSb; ++sbIndex)
    for (int i = 0; i < 18; ++i) out[32 * i + sbIndex] = 0.0f;
  return 18 * filled;
}

}  // namespace

}  // namespace lexoria::mpeg::LEXORIA_KERNEL_NS
