// SPDX-License-Identifier: GPL-3.0-or-later
// The synthesis with AVX2, built with -mavx2 on x86-64 and chosen at run
// time on processors that have it.
#if defined(__AVX2__)
#define LEXORIA_KERNEL_ISA 2
#define LEXORIA_KERNEL_NS avx2
#include "synthesiskernels.h"
#else
#include "synthesistables.h"
#endif

namespace lexoria::mpeg {

const SynthesisKernels& Avx2Synthesis() {
#if defined(__AVX2__)
  static constexpr SynthesisKernels kernels{avx2::Select12, avx2::Select3};
#else
  static constexpr SynthesisKernels kernels{nullptr, nullptr};
#endif
  return kernels;
}

}  // namespace lexoria::mpeg
