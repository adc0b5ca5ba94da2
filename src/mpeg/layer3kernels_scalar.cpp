// SPDX-License-Identifier: GPL-3.0-or-later
// The portable layer III kernels, the reference for the SIMD builds.
#define LEXORIA_KERNEL_ISA 0
#define LEXORIA_KERNEL_NS scalar
#include "layer3filterkernel.h"

namespace lexoria::mpeg {

const Layer3Kernels& ScalarLayer3Kernels() {
  static constexpr Layer3Kernels kernels{scalar::HybridFilter, scalar::RequantiseBand};
  return kernels;
}

}  // namespace lexoria::mpeg
