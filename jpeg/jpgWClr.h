// Sample preparation: each MCU's pixels become level-shifted 16-bit planes (YCbCr, RGB kept,
// or bytes as they are), reduced to each component's resolution, cut into 8 x 8 blocks, with
// the blocks cut by the image edge repaired by mirroring and mean fill.
#pragma once

#include <cstdint>

#include "jpeg/jpgShare.h"

// What the strip loop hands to the preparation operation.
struct jpgColorJob {
  const uint8_t* pixels;  // the strip's first row
  int16_t* blocks;        // per component its h x v blocks of 64 samples
  int16_t* planes;        // per component a plane of mcuWidth x mcuHeight samples
  int32_t lines;
  int32_t width;
  int32_t rowBytes;
  int32_t components;
  int32_t mcuWidth;
  int32_t mcuHeight;
  int32_t h[4];
  int32_t v[4];
  const jpgKernelSet* kernels;  // the vector operations' kernels
  bool redFirst;                // pixels are red, green, blue (else blue, green, red)
};

// The operation for the context's components, colour kind, factors and method; null for
// samples other than 8 bits.
jpgPrepareFunc jpgGetWriteColorConvertFunc(const jpgWContext* ctx);
// The selection word: method, depth, colour kind, Hmax, Vmax and component count.
uint32_t jpgWriteMakeClrCvtID(const jpgWContext* ctx);
// Empty hooks kept in the calling order: init at the first strip, clear at every epilog.
void jpgWriteColorConvertTableInit(jpgWContext* ctx);
void jpgWriteColorConvertTableClear(jpgWContext* ctx);

// The plain operations.
void jpgWriteRGB2YUVRect(const jpgColorJob* job, int32_t x, int32_t y);
void jpgWriteRGB2YUVRectHQ(const jpgColorJob* job, int32_t x, int32_t y);
void jpgWriteRGB2RGBRect(const jpgColorJob* job, int32_t x, int32_t y);
void jpgWriteRGB2RGBRectHQ(const jpgColorJob* job, int32_t x, int32_t y);
void jpgWriteXXX2Rect(const jpgColorJob* job, int32_t x, int32_t y);
void jpgWriteXXX2RectHQ(const jpgColorJob* job, int32_t x, int32_t y);

// Stages the vector operations share with the plain ones.
void GenericYUVConvert8bit(const jpgColorJob* job, int32_t x, int32_t y, int32_t cols, int32_t rows);
void GenericSubSamplingAndBlockDivision(const jpgColorJob* job);
void GenericSubSamplingAndBlockDivisionHQ(const jpgColorJob* job);
void GenericSubSamplingAndBlockDivisionHQEdge(const jpgColorJob* job, int32_t cols, int32_t rows);
void GenericEdgeOptimize(const jpgColorJob* job, int32_t cols, int32_t rows);
void LineSymmetry(int16_t* block, int32_t c, int32_t r);
