// SPDX-License-Identifier: GPL-3.0-or-later
// Polyphase synthesis kernels: a split-and-merge DCT of each slot of subband
// samples into a per-channel ring of 16 slots, then the folded window over
// the ring. Every combination of rate, sample format, rounding and channel
// handling is its own template instance, so the per-sample loops hold no
// such test.
//
// Included once per instruction set by synthesis_<isa>.cpp with
// LEXORIA_KERNEL_ISA set (0 scalar, 1 SSE2, 2 AVX2) and LEXORIA_KERNEL_NS
// naming the namespace; everything here has internal linkage, so the
// instances of different instruction sets never mix at link time. Every set
// performs the same float operations in the same order per sample (products
// and sums rounded separately, never fused), so all give the same samples.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

#if LEXORIA_KERNEL_ISA >= 1
#include <emmintrin.h>
#endif
#if LEXORIA_KERNEL_ISA >= 2
#include <immintrin.h>
#endif

#include "decoderstate.h"
#include "synthesistables.h"

namespace lexoria::mpeg::LEXORIA_KERNEL_NS {

namespace {

enum class Input { kOne, kInterleaved, kMix };

template <int Half>
constexpr int kOffset = Half == 16  ? 0
                        : Half == 8 ? 16
                        : Half == 4 ? 24
                        : Half == 2 ? 28
                                    : 30;

// One split of every block of size M: sums first, scaled differences after.
template <int N, int M>
inline void Split(const float* __restrict x, float* __restrict y) {
  const float* c = g_dctCoefficients + kOffset<M / 2>;
  for (int block = 0; block < N; block += M) {
    for (int i = 0; i < M / 2; ++i) {
      const float p = x[block + i];
      const float q = x[block + M - 1 - i];
      y[block + i] = p + q;
      y[block + M / 2 + i] = (p - q) * c[i];
    }
  }
}

// One merge of every block of size M: even outputs from the first half,
// odd ones as sums of neighbours of the second.
template <int N, int M>
inline void Merge(const float* __restrict x, float* __restrict y) {
  constexpr int h = M / 2;
  for (int block = 0; block < N; block += M) {
    for (int i = 0; i < h; ++i) y[block + 2 * i] = x[block + i];
    for (int i = 0; i < h - 1; ++i) y[block + 2 * i + 1] = x[block + h + i] + x[block + h + i + 1];
    y[block + M - 1] = x[block + M - 1];
  }
}

#if LEXORIA_KERNEL_ISA >= 1
// The first split of 32 four lanes at a time: the same sums and products as
// Split<32, 32>, the mirrored inputs loaded and reversed.
inline void Split32(const float* __restrict x, float* __restrict y) {
  const float* c = g_dctCoefficients;
  for (int i = 0; i < 16; i += 4) {
    const __m128 p = _mm_loadu_ps(x + i);
    __m128 q = _mm_loadu_ps(x + 28 - i);
    q = _mm_shuffle_ps(q, q, 0x1B);
    _mm_storeu_ps(y + i, _mm_add_ps(p, q));
    _mm_storeu_ps(y + 16 + i, _mm_mul_ps(_mm_sub_ps(p, q), _mm_loadu_ps(c + i)));
  }
}
// Split<32, 16> likewise: two blocks of 16.
inline void Split16x2(const float* __restrict x, float* __restrict y) {
  const float* c = g_dctCoefficients + 16;
  for (int block = 0; block < 32; block += 16) {
    for (int i = 0; i < 8; i += 4) {
      const __m128 p = _mm_loadu_ps(x + block + i);
      __m128 q = _mm_loadu_ps(x + block + 12 - i);
      q = _mm_shuffle_ps(q, q, 0x1B);
      _mm_storeu_ps(y + block + i, _mm_add_ps(p, q));
      _mm_storeu_ps(y + block + 8 + i, _mm_mul_ps(_mm_sub_ps(p, q), _mm_loadu_ps(c + i)));
    }
  }
}
// Split<32, 8>: four blocks of 8, one vector per half.
inline void Split8x4(const float* __restrict x, float* __restrict y) {
  const __m128 c = _mm_loadu_ps(g_dctCoefficients + 24);
  for (int block = 0; block < 32; block += 8) {
    const __m128 p = _mm_loadu_ps(x + block);
    __m128 q = _mm_loadu_ps(x + block + 4);
    q = _mm_shuffle_ps(q, q, 0x1B);
    _mm_storeu_ps(y + block, _mm_add_ps(p, q));
    _mm_storeu_ps(y + block + 4, _mm_mul_ps(_mm_sub_ps(p, q), c));
  }
}
#endif

#if LEXORIA_KERNEL_ISA >= 1
// Lane 3 of `keep`, the rest of `sum`: the last odd output of a merge is the
// last input alone, as in Merge.
inline __m128 LastLaneFrom(__m128 sum, __m128 keep) {
  const __m128 last = _mm_castsi128_ps(_mm_setr_epi32(0, 0, 0, -1));
  return _mm_or_ps(_mm_andnot_ps(last, sum), _mm_and_ps(last, keep));
}
// [a1, a2, a3, b0]
inline __m128 ShiftIn(__m128 a, __m128 b) {
  const __m128 t = _mm_move_ss(a, b);
  return _mm_shuffle_ps(t, t, _MM_SHUFFLE(0, 3, 2, 1));
}
// The merge of one block of 4n values held in 2n vectors (low half, then
// high half), written to y: the same sums as Merge.
template <int V>
inline void MergeVectors(const __m128* x, __m128* y) {
  constexpr int half = V / 2;
  for (int i = 0; i < half; ++i) {
    const __m128 h = x[half + i];
    __m128 odd;
    if (i + 1 < half) {
      odd = _mm_add_ps(h, ShiftIn(h, x[half + i + 1]));
    } else {
      odd = LastLaneFrom(_mm_add_ps(h, _mm_castsi128_ps(_mm_srli_si128(_mm_castps_si128(h), 4))), h);
    }
    y[2 * i] = _mm_unpacklo_ps(x[i], odd);
    y[2 * i + 1] = _mm_unpackhi_ps(x[i], odd);
  }
}

// The 32-point DCT with every stage in SSE registers after the first three
// splits; each output is the same sequence of sums and products as Dct<32>.
inline void Dct32Vector(const float* s, float* out) {
  alignas(16) float a[32];
  alignas(16) float b[32];
  Split32(s, a);
  Split16x2(a, b);
  Split8x4(b, a);
  __m128 v[8];
  __m128 w[8];
  const __m128 c4 = _mm_setr_ps(g_dctCoefficients[28], g_dctCoefficients[29], 0.0f, 0.0f);
  const __m128 c2 = _mm_set1_ps(g_dctCoefficients[30]);
  const __m128 lane1 = _mm_castsi128_ps(_mm_setr_epi32(0, -1, 0, 0));
  for (int i = 0; i < 8; ++i) {
    // Split of 4: [x0 + x3, x1 + x2, (x0 - x3) c0, (x1 - x2) c1].
    __m128 x = _mm_load_ps(a + 4 * i);
    __m128 r = _mm_shuffle_ps(x, x, _MM_SHUFFLE(0, 1, 2, 3));
    x = _mm_movelh_ps(_mm_add_ps(x, r), _mm_mul_ps(_mm_sub_ps(x, r), c4));
    // Split of 2: [x0 + x1, (x0 - x1) c, x2 + x3, (x2 - x3) c].
    r = _mm_shuffle_ps(x, x, _MM_SHUFFLE(2, 3, 0, 1));
    const __m128 t = _mm_shuffle_ps(_mm_add_ps(x, r), _mm_mul_ps(_mm_sub_ps(x, r), c2), _MM_SHUFFLE(2, 0, 2, 0));
    x = _mm_shuffle_ps(t, t, _MM_SHUFFLE(3, 1, 2, 0));
    // Merge of 4: [x0, x2 + x3, x1, x3].
    const __m128 order = _mm_shuffle_ps(x, x, _MM_SHUFFLE(3, 1, 2, 0));
    const __m128 sum = _mm_add_ps(order, _mm_shuffle_ps(x, x, _MM_SHUFFLE(3, 3, 3, 3)));
    v[i] = _mm_or_ps(_mm_andnot_ps(lane1, order), _mm_and_ps(lane1, sum));
  }
  MergeVectors<2>(v, w);
  MergeVectors<2>(v + 2, w + 2);
  MergeVectors<2>(v + 4, w + 4);
  MergeVectors<2>(v + 6, w + 6);
  MergeVectors<4>(w, v);
  MergeVectors<4>(w + 4, v + 4);
  MergeVectors<8>(v, w);
  for (int i = 0; i < 8; ++i) _mm_storeu_ps(out + 4 * i, w[i]);
}
#endif

#if LEXORIA_KERNEL_ISA >= 2
// Two channels' 32-point DCTs at once: channel 0 in the low 128 bits of
// every vector, channel 1 in the high ones, each lane going through exactly
// the operations of Dct32Vector (AVX shuffles, blends and byte shifts act
// within each 128-bit lane).
inline __m256 LastLaneFromPair(__m256 sum, __m256 keep) {
  const __m256 last = _mm256_castsi256_ps(_mm256_setr_epi32(0, 0, 0, -1, 0, 0, 0, -1));
  return _mm256_or_ps(_mm256_andnot_ps(last, sum), _mm256_and_ps(last, keep));
}
inline __m256 ShiftInPair(__m256 a, __m256 b) {
  const __m256 t = _mm256_blend_ps(a, b, 0x11);
  return _mm256_shuffle_ps(t, t, _MM_SHUFFLE(0, 3, 2, 1));
}
template <int V>
inline void MergeVectorsPair(const __m256* x, __m256* y) {
  constexpr int half = V / 2;
  for (int i = 0; i < half; ++i) {
    const __m256 h = x[half + i];
    __m256 odd;
    if (i + 1 < half) {
      odd = _mm256_add_ps(h, ShiftInPair(h, x[half + i + 1]));
    } else {
      odd = LastLaneFromPair(_mm256_add_ps(h, _mm256_castsi256_ps(_mm256_srli_si256(_mm256_castps_si256(h), 4))), h);
    }
    y[2 * i] = _mm256_unpacklo_ps(x[i], odd);
    y[2 * i + 1] = _mm256_unpackhi_ps(x[i], odd);
  }
}
inline void Dct32Pair(const float* s0, const float* s1, float* out0, float* out1) {
  alignas(16) float a0[32];
  alignas(16) float a1[32];
  alignas(16) float b[32];
  Split32(s0, a0);
  Split16x2(a0, b);
  Split8x4(b, a0);
  Split32(s1, a1);
  Split16x2(a1, b);
  Split8x4(b, a1);
  __m256 v[8];
  __m256 w[8];
  const __m256 c4 = _mm256_setr_ps(g_dctCoefficients[28], g_dctCoefficients[29], 0.0f, 0.0f, g_dctCoefficients[28],
                                   g_dctCoefficients[29], 0.0f, 0.0f);
  const __m256 c2 = _mm256_set1_ps(g_dctCoefficients[30]);
  const __m256 lane1 = _mm256_castsi256_ps(_mm256_setr_epi32(0, -1, 0, 0, 0, -1, 0, 0));
  for (int i = 0; i < 8; ++i) {
    __m256 x = _mm256_set_m128(_mm_load_ps(a1 + 4 * i), _mm_load_ps(a0 + 4 * i));
    __m256 r = _mm256_shuffle_ps(x, x, _MM_SHUFFLE(0, 1, 2, 3));
    x = _mm256_shuffle_ps(_mm256_add_ps(x, r), _mm256_mul_ps(_mm256_sub_ps(x, r), c4), _MM_SHUFFLE(1, 0, 1, 0));
    r = _mm256_shuffle_ps(x, x, _MM_SHUFFLE(2, 3, 0, 1));
    const __m256 t =
        _mm256_shuffle_ps(_mm256_add_ps(x, r), _mm256_mul_ps(_mm256_sub_ps(x, r), c2), _MM_SHUFFLE(2, 0, 2, 0));
    x = _mm256_shuffle_ps(t, t, _MM_SHUFFLE(3, 1, 2, 0));
    const __m256 order = _mm256_shuffle_ps(x, x, _MM_SHUFFLE(3, 1, 2, 0));
    const __m256 sum = _mm256_add_ps(order, _mm256_shuffle_ps(x, x, _MM_SHUFFLE(3, 3, 3, 3)));
    v[i] = _mm256_or_ps(_mm256_andnot_ps(lane1, order), _mm256_and_ps(lane1, sum));
  }
  MergeVectorsPair<2>(v, w);
  MergeVectorsPair<2>(v + 2, w + 2);
  MergeVectorsPair<2>(v + 4, w + 4);
  MergeVectorsPair<2>(v + 6, w + 6);
  MergeVectorsPair<4>(w, v);
  MergeVectorsPair<4>(w + 4, v + 4);
  MergeVectorsPair<8>(v, w);
  for (int i = 0; i < 8; ++i) {
    _mm_storeu_ps(out0 + 4 * i, _mm256_castps256_ps128(w[i]));
    _mm_storeu_ps(out1 + 4 * i, _mm256_extractf128_ps(w[i], 1));
  }
}
#endif

// Unnormalised DCT-II of N inputs: out[j] = sum s[k] cos((2k + 1) j pi / 2N).
template <int N>
inline void Dct(const float* s, float* out) {
  alignas(32) float a[N];
  alignas(32) float b[N];
  if constexpr (N == 32) {
#if LEXORIA_KERNEL_ISA >= 1
    Dct32Vector(s, out);
    return;
#else
    Split<32, 32>(s, a);
    Split<32, 16>(a, b);
    Split<32, 8>(b, a);
    Split<32, 4>(a, b);
    Split<32, 2>(b, a);
    Merge<32, 4>(a, b);
    Merge<32, 8>(b, a);
    Merge<32, 16>(a, b);
    Merge<32, 32>(b, out);
#endif
  } else if constexpr (N == 16) {
    Split<16, 16>(s, a);
    Split<16, 8>(a, b);
    Split<16, 4>(b, a);
    Split<16, 2>(a, b);
    Merge<16, 4>(b, a);
    Merge<16, 8>(a, b);
    Merge<16, 16>(b, out);
  } else {
    Split<8, 8>(s, a);
    Split<8, 4>(a, b);
    Split<8, 2>(b, a);
    Merge<8, 4>(a, b);
    Merge<8, 8>(b, out);
  }
}

// One slot: gathers the inputs of one channel and writes its DCT at ring +
// position; `gain` is the equalizer, or null.
template <int Shift, Input Kind, bool Precise>
inline void SlotDct(float* in, float* ringAtPosition, const float* gain) {
  constexpr int N = 32 >> Shift;
  constexpr int stride = Kind == Input::kOne ? 1 : 2;
  if (Shift == 0 && Kind != Input::kMix && gain != nullptr) {
    for (int k = 0; k < 32; ++k) in[k * stride] *= gain[k];
  }
  alignas(32) float s[N];
  for (int k = 0; k < N; ++k) {
    if constexpr (Kind == Input::kMix)
      s[k] = (in[2 * k] + in[2 * k + 1]) * 0.5f;
    else
      s[k] = in[k * stride];
  }
  // The described half rate leaves out subband 15.
  if (Shift == 1 && !Precise) s[15] = 0.0f;
  Dct<N>(s, ringAtPosition);
  constexpr int used = 512 >> Shift;
  for (int i = 0; i < N; ++i) ringAtPosition[used + i] = ringAtPosition[i];
}

// Both channels of one full-rate slot: SlotDct twice, with the two DCTs
// run side by side where the instruction set allows.
template <int Shift, Input Kind, bool Precise>
inline void SlotDctBoth(float* in0, float* in1, float* ring0AtPosition, float* ring1AtPosition, const float* gain) {
#if LEXORIA_KERNEL_ISA >= 2
  if constexpr (Shift == 0 && Kind != Input::kMix) {
    constexpr int stride = Kind == Input::kOne ? 1 : 2;
    if (gain != nullptr) {
      for (int k = 0; k < 32; ++k) in0[k * stride] *= gain[k];
      for (int k = 0; k < 32; ++k) in1[k * stride] *= gain[k];
    }
    alignas(32) float s0[32];
    alignas(32) float s1[32];
    for (int k = 0; k < 32; ++k) {
      s0[k] = in0[k * stride];
      s1[k] = in1[k * stride];
    }
    Dct32Pair(s0, s1, ring0AtPosition, ring1AtPosition);
    for (int i = 0; i < 32; ++i) {
      ring0AtPosition[512 + i] = ring0AtPosition[i];
      ring1AtPosition[512 + i] = ring1AtPosition[i];
    }
    return;
  }
#endif
  SlotDct<Shift, Kind, Precise>(in0, ring0AtPosition, gain);
  SlotDct<Shift, Kind, Precise>(in1, ring1AtPosition, gain);
}

template <bool EightBit, bool Precise>
inline void Store(float sum, uint8_t* out) {
  if constexpr (Precise) sum += sum >= 0.0f ? 0.5f : -0.5f;
  if (!(sum < 32767.0f)) sum = 32767.0f;
  if (!(sum > -32768.0f)) sum = -32768.0f;
  const int value = static_cast<int>(sum);
  if constexpr (EightBit) {
    out[0] = static_cast<uint8_t>((value >> 8) ^ 128);
  } else {
    out[0] = static_cast<uint8_t>(value & 0xFF);
    out[1] = static_cast<uint8_t>((value >> 8) & 0xFF);
  }
}

#if LEXORIA_KERNEL_ISA >= 1
// 32 sums to 16-bit PCM four at a time: clamped, rounded or truncated as Store.
template <bool Precise>
inline void Pack32(const float* all, int16_t* pcm) {
  const __m128 lo = _mm_set1_ps(-32768.0f);
  const __m128 hi = _mm_set1_ps(32767.0f);
  for (int g = 0; g < 8; g += 2) {
    __m128 x0 = _mm_load_ps(all + 4 * g);
    __m128 x1 = _mm_load_ps(all + 4 * g + 4);
    if constexpr (Precise) {
      const __m128 sign = _mm_set1_ps(-0.0f);
      const __m128 half = _mm_set1_ps(0.5f);
      x0 = _mm_add_ps(x0, _mm_or_ps(half, _mm_and_ps(sign, x0)));
      x1 = _mm_add_ps(x1, _mm_or_ps(half, _mm_and_ps(sign, x1)));
    }
    x0 = _mm_min_ps(_mm_max_ps(x0, lo), hi);
    x1 = _mm_min_ps(_mm_max_ps(x1, lo), hi);
    _mm_store_si128(reinterpret_cast<__m128i*>(pcm + 4 * g),
                    _mm_packs_epi32(_mm_cvttps_epi32(x0), _mm_cvttps_epi32(x1)));
  }
}

// The 32 sums of one full-rate slot, in output order (outputs 0-15, the
// middle tap at 16, the backward outputs at 17-31).
inline void WindowSums(const WindowTaps& w, const float* ring, uint32_t position, float* all) {
  constexpr uint32_t mask = 511;
#if LEXORIA_KERNEL_ISA >= 2
  // Eight outputs per step; the v-side values run backwards in the ring.
  const __m256i reverse = _mm256_setr_epi32(7, 6, 5, 4, 3, 2, 1, 0);
  __m256 va[2] = {_mm256_setzero_ps(), _mm256_setzero_ps()};
  __m256 vb[2] = {_mm256_setzero_ps(), _mm256_setzero_ps()};
  float middle = 0.0f;
  for (int j = 0; j < 8; ++j) {
    const float* base = ring + ((position + 64 * j) & mask);
    for (int g = 0; g < 2; ++g) {
      const __m256 u = _mm256_loadu_ps(base + 16 + 8 * g);
      const __m256 v = _mm256_permutevar8x32_ps(_mm256_loadu_ps(base + 41 - 8 * g), reverse);
      va[g] = _mm256_add_ps(va[g], _mm256_mul_ps(_mm256_load_ps(w.forwardU[j] + 8 * g), u));
      va[g] = _mm256_sub_ps(va[g], _mm256_mul_ps(_mm256_load_ps(w.forwardV[j] + 8 * g), v));
      const __m256 bu = _mm256_permutevar8x32_ps(_mm256_loadu_ps(base + 25 - 8 * g), reverse);
      const __m256 bv = _mm256_loadu_ps(base + 32 + 8 * g);
      vb[g] = _mm256_add_ps(vb[g], _mm256_mul_ps(_mm256_load_ps(w.backwardU[j] + 8 * g), bu));
      vb[g] = _mm256_add_ps(vb[g], _mm256_mul_ps(_mm256_load_ps(w.backwardV[j] + 8 * g), bv));
    }
    middle += w.middle[j] * base[32];
  }
  for (int g = 0; g < 2; ++g) {
    _mm256_store_ps(all + 8 * g, va[g]);
    _mm256_store_ps(all + 16 + 8 * g, vb[g]);
  }
#else
  // Four outputs per step; the v-side values run backwards in the ring.
  __m128 va[4] = {_mm_setzero_ps(), _mm_setzero_ps(), _mm_setzero_ps(), _mm_setzero_ps()};
  __m128 vb[4] = {_mm_setzero_ps(), _mm_setzero_ps(), _mm_setzero_ps(), _mm_setzero_ps()};
  float middle = 0.0f;
  for (int j = 0; j < 8; ++j) {
    const float* base = ring + ((position + 64 * j) & mask);
    for (int g = 0; g < 4; ++g) {
      const __m128 u = _mm_loadu_ps(base + 16 + 4 * g);
      const __m128 v = _mm_shuffle_ps(_mm_loadu_ps(base + 45 - 4 * g), _mm_loadu_ps(base + 45 - 4 * g), 0x1B);
      va[g] = _mm_add_ps(va[g], _mm_mul_ps(_mm_load_ps(w.forwardU[j] + 4 * g), u));
      va[g] = _mm_sub_ps(va[g], _mm_mul_ps(_mm_load_ps(w.forwardV[j] + 4 * g), v));
      const __m128 bu = _mm_shuffle_ps(_mm_loadu_ps(base + 29 - 4 * g), _mm_loadu_ps(base + 29 - 4 * g), 0x1B);
      const __m128 bv = _mm_loadu_ps(base + 32 + 4 * g);
      vb[g] = _mm_add_ps(vb[g], _mm_mul_ps(_mm_load_ps(w.backwardU[j] + 4 * g), bu));
      vb[g] = _mm_add_ps(vb[g], _mm_mul_ps(_mm_load_ps(w.backwardV[j] + 4 * g), bv));
    }
    middle += w.middle[j] * base[32];
  }
  for (int g = 0; g < 4; ++g) {
    _mm_store_ps(all + 4 * g, va[g]);
    _mm_store_ps(all + 16 + 4 * g, vb[g]);
  }
#endif
  all[16] = middle;
}
#endif

// Windows one slot of one channel from the ring at `position` into `out`,
// `Stride` samples apart. Sums run tap by tap in the order of the folded
// window, across the outputs of a slot at once.
template <int Shift, bool EightBit, bool Precise, int Stride>
inline void SlotWindow(const float* ring, uint32_t position, uint8_t* out) {
  constexpr int n = 32 >> Shift;
  constexpr int h = n / 2;
  constexpr uint32_t mask = (512u >> Shift) - 1;
  constexpr int tap = 2 * n;
  constexpr int bytes = EightBit ? 1 : 2;
  constexpr int step = Stride * bytes;
  const WindowTaps& w = g_taps[Shift];
#if LEXORIA_KERNEL_ISA >= 1
  if constexpr (Shift == 0) {
    alignas(32) float all[32];
    WindowSums(w, ring, position, all);
    if constexpr (!EightBit) {
      alignas(16) int16_t pcm[32];
      Pack32<Precise>(all, pcm);
      if constexpr (std::endian::native == std::endian::little && Stride == 1) {
        std::memcpy(out, pcm, sizeof pcm);
      } else {
        for (int k = 0; k < 32; ++k) {
          const uint16_t v = static_cast<uint16_t>(pcm[k]);
          out[k * step] = static_cast<uint8_t>(v & 0xFF);
          out[k * step + 1] = static_cast<uint8_t>(v >> 8);
        }
      }
    } else {
      for (int k = 0; k < 32; ++k) Store<EightBit, Precise>(all[k], out + k * step);
    }
    return;
  }
#endif
  alignas(32) float a[16] = {};
  alignas(32) float b[16] = {};
  float middle = 0.0f;
  for (int j = 0; j < 8; ++j) {
    const float* base = ring + ((position + tap * j) & mask);
    const float* fu = w.forwardU[j];
    const float* fv = w.forwardV[j];
    for (int k = 0; k < h; ++k) {
      a[k] += fu[k] * base[h + k];
      a[k] -= fv[k] * base[3 * h - k];
    }
    const float* bu = w.backwardU[j];
    const float* bv = w.backwardV[j];
    for (int t = 1; t < h; ++t) {
      b[t] += bu[t] * base[n - t];
      b[t] += bv[t] * base[n + t];
    }
    middle += w.middle[j] * base[n];
  }
  for (int k = 0; k < h; ++k) Store<EightBit, Precise>(a[k], out + k * step);
  Store<EightBit, Precise>(middle, out + h * step);
  for (int t = 1; t < h; ++t) Store<EightBit, Precise>(b[t], out + (h + t) * step);
}

#if LEXORIA_KERNEL_ISA >= 1
// Both channels of one full-rate 16-bit slot, interleaved as they are packed.
template <bool Precise>
inline void SlotWindowPair(const float* ring0, const float* ring1, uint32_t position, uint8_t* out) {
  alignas(32) float all[32];
  alignas(16) int16_t left[32];
  alignas(16) int16_t right[32];
  WindowSums(g_taps[0], ring0, position, all);
  Pack32<Precise>(all, left);
  WindowSums(g_taps[0], ring1, position, all);
  Pack32<Precise>(all, right);
  for (int g = 0; g < 32; g += 8) {
    const __m128i l = _mm_load_si128(reinterpret_cast<const __m128i*>(left + g));
    const __m128i r = _mm_load_si128(reinterpret_cast<const __m128i*>(right + g));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * g), _mm_unpacklo_epi16(l, r));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * g + 16), _mm_unpackhi_epi16(l, r));
  }
}
#endif

template <int Shift>
inline uint32_t NextPosition(uint32_t p) {
  constexpr int n = 32 >> Shift;
  constexpr uint32_t mask = (512u >> Shift) - 1;
  return (p - n) & mask;
}

enum class Route { kOne, kBoth, kMix, kFirst, kSecond };

// Interleaved two-channel 16-bit output at full rate takes the paired window.
template <int Shift, bool EightBit>
constexpr bool kPaired =
    LEXORIA_KERNEL_ISA >= 1 && Shift == 0 && !EightBit && std::endian::native == std::endian::little;

template <int Shift, bool EightBit, bool Precise, Route R>
void Synthesis12(DecoderState& s, float* slots, uint8_t* output, int slotCount) {
  constexpr int n = 32 >> Shift;
  constexpr int bytes = EightBit ? 1 : 2;
  const float* eq = s.equalizerOn ? s.equalizer : nullptr;
  uint32_t p = s.ringPosition[0];
  for (int slot = 0; slot < slotCount; ++slot) {
    float* in = slots + 64 * slot;
    if constexpr (R == Route::kBoth) {
      SlotDctBoth<Shift, Input::kInterleaved, Precise>(in, in + 1, s.ring[0] + p, s.ring[1] + p, eq);
#if LEXORIA_KERNEL_ISA >= 1
      if constexpr (kPaired<Shift, EightBit>) {
        SlotWindowPair<Precise>(s.ring[0], s.ring[1], p, output);
      } else
#endif
      {
        SlotWindow<Shift, EightBit, Precise, 2>(s.ring[0], p, output);
        SlotWindow<Shift, EightBit, Precise, 2>(s.ring[1], p, output + bytes);
      }
      output += n * 2 * bytes;
    } else {
      if constexpr (R == Route::kOne)
        SlotDct<Shift, Input::kOne, Precise>(in, s.ring[0] + p, eq);
      else if constexpr (R == Route::kMix)
        SlotDct<Shift, Input::kMix, Precise>(in, s.ring[0] + p, eq);
      else if constexpr (R == Route::kFirst)
        SlotDct<Shift, Input::kInterleaved, Precise>(in, s.ring[0] + p, eq);
      else
        SlotDct<Shift, Input::kInterleaved, Precise>(in + 1, s.ring[0] + p, eq);
      SlotWindow<Shift, EightBit, Precise, 1>(s.ring[0], p, output);
      output += n * bytes;
    }
    p = NextPosition<Shift>(p);
  }
  s.ringPosition[0] = p;
}

template <int Shift, bool EightBit, bool Precise, bool TwoChannel>
void Synthesis3(DecoderState& s, float* hybrid, uint8_t* output, int) {
  constexpr int n = 32 >> Shift;
  constexpr int bytes = EightBit ? 1 : 2;
  const float* eq = s.equalizerOn ? s.equalizer : nullptr;
  // Both rings advance together in a two-channel stream.
  uint32_t p = s.ringPosition[0];
  uint8_t* out = output;
  for (int slot = 0; slot < 18; ++slot) {
    if constexpr (TwoChannel) {
      SlotDctBoth<Shift, Input::kOne, Precise>(hybrid + 32 * slot, hybrid + 576 + 32 * slot, s.ring[0] + p,
                                               s.ring[1] + p, eq);
#if LEXORIA_KERNEL_ISA >= 1
      if constexpr (kPaired<Shift, EightBit>) {
        SlotWindowPair<Precise>(s.ring[0], s.ring[1], p, out);
      } else
#endif
      {
        SlotWindow<Shift, EightBit, Precise, 2>(s.ring[0], p, out);
        SlotWindow<Shift, EightBit, Precise, 2>(s.ring[1], p, out + bytes);
      }
      out += n * 2 * bytes;
    } else {
      SlotDct<Shift, Input::kOne, Precise>(hybrid + 32 * slot, s.ring[0] + p, eq);
      SlotWindow<Shift, EightBit, Precise, 1>(s.ring[0], p, out);
      out += n * bytes;
    }
    p = NextPosition<Shift>(p);
  }
  s.ringPosition[0] = s.ringPosition[1] = p;
}

// [precise][8-bit][reduction][channel entry]
template <bool Precise, bool EightBit, int Shift>
constexpr SynthesisVariant12 kRow12[5] = {
    Synthesis12<Shift, EightBit, Precise, Route::kOne>, Synthesis12<Shift, EightBit, Precise, Route::kBoth>,
    Synthesis12<Shift, EightBit, Precise, Route::kMix>, Synthesis12<Shift, EightBit, Precise, Route::kFirst>,
    Synthesis12<Shift, EightBit, Precise, Route::kSecond>};

template <bool Precise, bool EightBit>
const SynthesisVariant12* Column12(uint32_t reduction) {
  return reduction == 0   ? kRow12<Precise, EightBit, 0>
         : reduction == 1 ? kRow12<Precise, EightBit, 1>
                          : kRow12<Precise, EightBit, 2>;
}

template <bool Precise, bool EightBit>
SynthesisVariant3 Pick3(uint32_t reduction, bool one) {
  if (reduction == 0) return one ? Synthesis3<0, EightBit, Precise, false> : Synthesis3<0, EightBit, Precise, true>;
  if (reduction == 1) return one ? Synthesis3<1, EightBit, Precise, false> : Synthesis3<1, EightBit, Precise, true>;
  return one ? Synthesis3<2, EightBit, Precise, false> : Synthesis3<2, EightBit, Precise, true>;
}

SynthesisVariant12 Select12(bool eightBit, uint32_t reduction, int channelEntry, bool precise) {
  if (reduction > 2) reduction = 2;
  if (channelEntry < 0 || channelEntry > 4) channelEntry = 0;
  const SynthesisVariant12* row =
      precise ? (eightBit ? Column12<true, true>(reduction) : Column12<true, false>(reduction))
              : (eightBit ? Column12<false, true>(reduction) : Column12<false, false>(reduction));
  return row[channelEntry];
}

SynthesisVariant3 Select3(bool eightBit, uint32_t reduction, bool oneChannel, bool precise) {
  if (reduction > 2) reduction = 2;
  if (precise) return eightBit ? Pick3<true, true>(reduction, oneChannel) : Pick3<true, false>(reduction, oneChannel);
  return eightBit ? Pick3<false, true>(reduction, oneChannel) : Pick3<false, false>(reduction, oneChannel);
}

}  // namespace

}  // namespace lexoria::mpeg::LEXORIA_KERNEL_NS
