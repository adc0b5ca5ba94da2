// SPDX-License-Identifier: GPL-3.0-or-later
// Tables shared by the synthesis kernels of every instruction set: built
// once by BuildSynthesisTables, read-only afterwards.
#pragma once

#include "decoderstate.h"

namespace lexoria::mpeg {

// DCT coefficients 0.5 / cos((2i + 1) pi / 4n) for n = 16, 8, 4, 2, 1.
extern float g_dctCoefficients[31];

// Window coefficients laid out by tap for the loops over outputs:
// forward[j][k] pairs for outputs 0..h-1, backward[j][t] for outputs h+t.
struct WindowTaps {
  alignas(32) float forwardU[8][16];
  alignas(32) float forwardV[8][16];
  alignas(32) float backwardU[8][16];
  alignas(32) float backwardV[8][16];
  float middle[8];
};
// By reduction (full, half, quarter rate).
extern WindowTaps g_taps[3];

// The variant tables of one instruction set; each set gives the same samples.
struct SynthesisKernels {
  SynthesisVariant12 (*select12)(bool eightBit, uint32_t reduction, int channelEntry, bool precise);
  SynthesisVariant3 (*select3)(bool eightBit, uint32_t reduction, bool oneChannel, bool precise);
};
const SynthesisKernels& ScalarSynthesis();
const SynthesisKernels& Sse2Synthesis();  // null select functions where not built
const SynthesisKernels& Avx2Synthesis();  // null select functions where not built

}  // namespace lexoria::mpeg
