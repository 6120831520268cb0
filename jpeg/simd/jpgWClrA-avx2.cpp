// The colour conversion with AVX2's sixteen-lane sums, of rows and of whole MCUs; chosen when
// the processor has it.
#include "jpeg/jpgWClrA.h"

#if defined(JPG_HAVE_AVX2_KERNELS)
#include "jpeg/simd/jpgYUVKernels.h"

void jpgYUVRows_AVX2(const uint8_t* src, int64_t rowBytes, int32_t rows, int32_t n, int16_t* y, int32_t stride,
                     int32_t planeSize, int32_t chromaStep, bool redFirst) {
  jpgvec::YUVRows(src, rowBytes, rows, n, y, stride, planeSize, chromaStep, redFirst);
}

void jpgYUVMCU_AVX2(const uint8_t* src, int64_t rowBytes, int32_t sy, bool averaging, bool redFirst, int16_t* blocks) {
  jpgvec::YUVMCU(src, rowBytes, sy, averaging, redFirst, blocks);
}
#endif
