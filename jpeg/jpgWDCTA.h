// The vector forward DCTs: 64 samples in row order replaced by eight times the standard
// coefficients, bit for bit what the framework's plain coder computes.
#pragma once

#include <cstdint>

#include "jpeg/jpgShare.h"

void jpgWriteForwardDCT_AltiVec_Short(int16_t* block);
void jpgWriteForwardDCT_AltiVec_Float(int16_t* block);

#if defined(JPG_HAVE_SSSE3_KERNELS)
// The same transform built for SSSE3.
void jpgWriteForwardDCT_AltiVec_Short_SSSE3(int16_t* block);
#endif
#if defined(JPG_HAVE_AVX2_KERNELS)
// The fixed-point transform of the two blocks at blocks and blocks + 64, built for AVX2.
void jpgWriteForwardDCT2_AltiVec_Short_AVX2(int16_t* blocks);
#endif
