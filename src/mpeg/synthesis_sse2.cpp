// SPDX-License-Identifier: GPL-3.0-or-later
// The synthesis with SSE2, the x86-64 baseline.
#if defined(__SSE2__)
#define LEXORIA_KERNEL_ISA 1
#define LEXORIA_KERNEL_NS sse2
#include "synthesiskernels.h"
#else
#include "synthesistables.h"
#endif

namespace lexoria::mpeg {

const SynthesisKernels& Sse2Synthesis() {
#if defined(__SSE2__)
  static constexpr SynthesisKernels kernels{sse2::Select12, sse2::Select3};
#else
  static constexpr SynthesisKernels kernels{nullptr, nullptr};
#endif
  return kernels;
}

}  // namespace lexoria::mpeg
