// The portable hybrid filter, the reference for the SIMD builds.
#define LEXORIA_KERNEL_ISA 0
#define LEXORIA_KERNEL_NS scalar
#include "layer3filterkernel.h"

namespace lexoria::mpeg {

HybridFilterRoutine ScalarHybridFilter() { return scalar::HybridFilter; }

}  // namespace lexoria::mpeg
