// SPDX-License-Identifier: GPL-3.0-or-later
// Layer III requantisation of a long band and the hybrid filter bank (IMDCT,
// windowing, overlap-add), built once per instruction set like the synthesis
// kernels, and chosen per decoder.
#pragma once

#include <cstdint>

#include "layer3state.h"
#include "mpeg/mpegdecoder.h"

namespace lexoria::mpeg {

// 36-point IMDCT by its 18 distinct outputs (x[0..8] and x[18..26]; the
// rest mirror them), laid out [input][output] and padded with zeros to 24
// outputs so the sums run in whole vectors; the four block windows; short
// [12 outputs][6 inputs] with its window folded in.
extern float g_imdctHalf[18][24];
// sign(v) |v|^(4/3) for every quantised value, at v + kMaxQuantised: Huffman
// values are at most 15 + 2^13 - 1 = 8206 in magnitude.
inline constexpr int kMaxQuantised = 8206;
extern float g_pow43[2 * kMaxQuantised + 1];
extern float g_window36[4][36];
extern float g_imdctShort[12][6];

struct Layer3Kernels {
  HybridFilterRoutine hybridFilter;
  RequantiseRoutine requantiseBand;
};
const Layer3Kernels& ScalarLayer3Kernels();
const Layer3Kernels& Sse2Layer3Kernels();  // null routines where not built
const Layer3Kernels& Avx2Layer3Kernels();  // null routines where not built
const Layer3Kernels& SelectLayer3Kernels(Simd simd);

}  // namespace lexoria::mpeg
