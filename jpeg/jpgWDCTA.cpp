#include "jpeg/jpgWDCTA.h"

#include "jpeg/simd/jpgFDCTKernels.h"

void jpgWriteForwardDCT_AltiVec_Short(int16_t* block) { jpgvec::FDCTShortKernel(block); }
void jpgWriteForwardDCT_AltiVec_Float(int16_t* block) { jpgvec::FDCTFloatKernel(block); }
