// The fixed-point transform of two blocks at once in AVX2's sixteen lanes; chosen when the
// processor has it.
#include "jpeg/jpgWDCTA.h"

#if defined(JPG_HAVE_AVX2_KERNELS)
#include "jpeg/simd/jpgFDCTKernels.h"

void jpgWriteForwardDCT2_AltiVec_Short_AVX2(int16_t* blocks) { jpgvec::FDCTShortKernel2(blocks); }
#endif
