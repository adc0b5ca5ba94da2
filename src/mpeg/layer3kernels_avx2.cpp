// SPDX-License-Identifier: GPL-3.0-or-later
// The layer III kernels with AVX2, built with -mavx2 on x86-64 and chosen at run
// time on processors that have it.
#if defined(__AVX2__)
#define LEXORIA_KERNEL_ISA 2
#define LEXORIA_KERNEL_NS avx2
#include "layer3filterkernel.h"
#else
#include "layer3kernels.h"
#endif

namespace lexoria::mpeg {

const Layer3Kernels& Avx2Layer3Kernels() {
#if defined(__AVX2__)
  static constexpr Layer3Kernels kernels{avx2::HybridFilter, avx2::RequantiseBand};
#else
  static constexpr Layer3Kernels kernels{nullptr, nullptr};
#endif
  return kernels;
}

}  // namespace lexoria::mpeg
