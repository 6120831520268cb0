// The colour conversion with SSSE3's byte shuffles; chosen when the processor has it.
#include "jpeg/jpgWClrA.h"

#if defined(JPG_HAVE_SSSE3_KERNELS)
#include "jpeg/simd/jpgYUVKernels.h"

void jpgYUVRow_SSSE3(const uint8_t* src, int32_t n, int16_t* y, int16_t* cb, int16_t* cr) {
  if (cb)
    jpgvec::YUVRow<true>(src, n, y, cb, cr);
  else
    jpgvec::YUVRow<false>(src, n, y, y, y);
}
#endif
