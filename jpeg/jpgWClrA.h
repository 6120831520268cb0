// The vector sample preparations for three-component YCbCr output (whole MCUs of the factor
// patterns 2x1 and 2x2 in vector lanes, every other pattern through the vector conversion and
// the plain division) and for one component. Each gives exactly the plain operation's samples.
#pragma once

#include <cstdint>

#include "jpeg/jpgWClr.h"

jpgPrepareFunc jpgGetWriteColorConvertAltiVecFunc(const jpgWContext* ctx, bool averaging);

// The conversion of whole rows (a jpgYUVRowsFunc) for this build's vector unit.
void AltiVecYUVRows(const uint8_t* src, int64_t rowBytes, int32_t rows, int32_t n, int16_t* y, int32_t stride,
                    int32_t planeSize, int32_t chromaStep, bool redFirst);
// Through the job's kernel set.
void AltiVecYUVConvert8bit(const jpgColorJob* job, int32_t x, int32_t y, int32_t cols, int32_t rows);
void jpgWriteRGB2YUVRectSP211_AltiVec(const jpgColorJob* job, int32_t x, int32_t y);
void jpgWriteRGB2YUVRectHQ211_AltiVec(const jpgColorJob* job, int32_t x, int32_t y);
void jpgWriteRGB2YUVRectSP411_AltiVec(const jpgColorJob* job, int32_t x, int32_t y);
void jpgWriteRGB2YUVRectHQ411_AltiVec(const jpgColorJob* job, int32_t x, int32_t y);
void jpgWriteRGB2YUVRectSPGeneric_AltiVec(const jpgColorJob* job, int32_t x, int32_t y);
void jpgWriteRGB2YUVRectHQGeneric_AltiVec(const jpgColorJob* job, int32_t x, int32_t y);
// Whole one-component blocks in vector lanes, edge MCUs the plain way; for either method.
void jpgWriteXXX2Rect_AltiVec(const jpgColorJob* job, int32_t x, int32_t y);

#if defined(JPG_HAVE_SSSE3_KERNELS)
// AltiVecYUVRows built for SSSE3.
void jpgYUVRows_SSSE3(const uint8_t* src, int64_t rowBytes, int32_t rows, int32_t n, int16_t* y, int32_t stride,
                      int32_t planeSize, int32_t chromaStep, bool redFirst);
#endif
#if defined(JPG_HAVE_AVX2_KERNELS)
// AltiVecYUVRows built for AVX2.
void jpgYUVRows_AVX2(const uint8_t* src, int64_t rowBytes, int32_t rows, int32_t n, int16_t* y, int32_t stride,
                     int32_t planeSize, int32_t chromaStep, bool redFirst);
// The whole-MCU conversion (a jpgYUVMCUFunc) in AVX2's lanes.
void jpgYUVMCU_AVX2(const uint8_t* src, int64_t rowBytes, int32_t sy, bool averaging, bool redFirst, int16_t* blocks);
#endif
