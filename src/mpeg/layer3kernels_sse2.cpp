// The hybrid filter with SSE2, the x86-64 baseline.
#if defined(__SSE2__)
#define LEXORIA_KERNEL_ISA 1
#define LEXORIA_KERNEL_NS sse2
#include "layer3filterkernel.h"
#else
#include "layer3kernels.h"
#endif

namespace lexoria::mpeg {

HybridFilterRoutine Sse2HybridFilter() {
#if defined(__SSE2__)
  return sse2::HybridFilter;
#else
  return nullptr;
#endif
}

}  // namespace lexoria::mpeg
