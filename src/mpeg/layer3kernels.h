// Layer III hybrid filter bank (IMDCT, windowing, overlap-add) built once per
// instruction set, like the synthesis kernels, and chosen per decoder.
#pragma once

#include <cstdint>

#include "layer3state.h"
#include "mpegdecoder.h"

namespace lexoria::mpeg {

// 36-point IMDCT by its 18 distinct outputs (x[0..8] and x[18..26]; the
// rest mirror them), laid out [input][output] and padded with zeros to 24
// outputs so the sums run in whole vectors; the four block windows; short
// [12 outputs][6 inputs] with its window folded in.
extern float g_imdctHalf[18][24];
extern float g_window36[4][36];
extern float g_imdctShort[12][6];

HybridFilterRoutine ScalarHybridFilter();
HybridFilterRoutine Sse2HybridFilter();  // null where not built
HybridFilterRoutine Avx2HybridFilter();  // null where not built
HybridFilterRoutine SelectHybridFilter(Simd simd);

}  // namespace lexoria::mpeg
