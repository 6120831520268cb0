// The fixed-point transform with SSSE3's rounding multiply; chosen when the processor has it.
#include "jpeg/jpgWDCTA.h"

#if defined(JPG_HAVE_SSSE3_KERNELS)
#include "jpeg/simd/jpgFDCTKernels.h"

void jpgWriteForwardDCT_AltiVec_Short_SSSE3(int16_t* block) { jpgvec::FDCTShortKernel(block); }
#endif
