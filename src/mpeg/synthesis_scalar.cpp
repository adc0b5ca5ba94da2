// SPDX-License-Identifier: GPL-3.0-or-later
// The portable synthesis: plain float loops, the reference the SIMD builds
// are tested against, and the one used on other processors.
#define LEXORIA_KERNEL_ISA 0
#define LEXORIA_KERNEL_NS scalar
#include "synthesiskernels.h"

namespace lexoria::mpeg {

const SynthesisKernels& ScalarSynthesis() {
  static constexpr SynthesisKernels kernels{scalar::Select12, scalar::Select3};
  return kernels;
}

void ConvertSample(float sum, bool eightBit, bool precise, uint8_t* out) {
  using scalar::Store;
  if (eightBit)
    precise ? Store<true, true>(sum, out) : Store<true, false>(sum, out);
  else
    precise ? Store<false, true>(sum, out) : Store<false, false>(sum, out);
}

}  // namespace lexoria::mpeg
