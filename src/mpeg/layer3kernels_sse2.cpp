// SPDX-License-Identifier: GPL-3.0-or-later
// The layer III kernels with SSE2, the x86-64 baseline.
#if defined(__SSE2__)
#define LEXORIA_KERNEL_ISA 1
#define LEXORIA_KERNEL_NS sse2
#include "layer3filterkernel.h"
#else
#include "layer3kernels.h"
#endif

namespace lexoria::mpeg {

const Layer3Kernels& Sse2Layer3Kernels() {
#if defined(__SSE2__)
  static constexpr Layer3Kernels kernels{sse2::HybridFilter, sse2::RequantiseBand};
#else
  static constexpr Layer3Kernels kernels{nullptr, nullptr};
#endif
  return kernels;
}

}  // namespace lexoria::mpeg
