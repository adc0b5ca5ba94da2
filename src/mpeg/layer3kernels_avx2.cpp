// The hybrid filter with AVX2, built with -mavx2 on x86-64 and chosen at run
// time on processors that have it.
#if defined(__AVX2__)
#define LEXORIA_KERNEL_ISA 2
#define LEXORIA_KERNEL_NS avx2
#include "layer3filterkernel.h"
#else
#include "layer3kernels.h"
#endif

namespace lexoria::mpeg {

HybridFilterRoutine Avx2HybridFilter() {
#if defined(__AVX2__)
  return avx2::HybridFilter;
#else
  return nullptr;
#endif
}

}  // namespace lexoria::mpeg
