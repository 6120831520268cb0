#include "jpeg/jpgWClrA.h"

#include <cstring>

#include "jpeg/simd/jpgYUVKernels.h"

using jpgvec::s16x8;

namespace {

inline s16x8 load(const int16_t* p) {
  s16x8 v;
  std::memcpy(&v, p, sizeof(v));
  return v;
}
inline void store(int16_t* p, s16x8 v) { std::memcpy(p, &v, sizeof(v)); }

// The vector conversion; chroma only on every chromaStep-th row (point sampling reads no other).
void convertRows(const jpgColorJob* job, int32_t x, int32_t y, int32_t cols, int32_t rows, int chromaStep) {
  const int planeSize = job->mcuWidth * job->mcuHeight;
  const uint8_t* src = job->pixels + static_cast<int64_t>(y) * job->rowBytes + static_cast<int64_t>(x) * 3;
  const int32_t whole = cols & ~7;
  job->kernels->yuvRows(src, job->rowBytes, rows, whole, job->planes, job->mcuWidth, planeSize, chromaStep,
                        job->redFirst);
  if (whole == cols) return;
  // The last few pixels of each row: the plain conversion, reading nothing beyond them.
  for (int32_t r = 0; r < rows; ++r) {
    jpgColorJob tail = *job;
    tail.planes = job->planes + r * job->mcuWidth + whole;
    GenericYUVConvert8bit(&tail, x + whole, y + r, cols - whole, 1);
  }
}

inline bool wholeMCU(const jpgColorJob* job, int32_t x, int32_t y) {
  return job->width - x >= job->mcuWidth && job->lines - y >= job->mcuHeight;
}

inline s16x8 evenLanes(s16x8 a, s16x8 b) { return __builtin_shufflevector(a, b, 0, 2, 4, 6, 8, 10, 12, 14); }
inline s16x8 oddLanes(s16x8 a, s16x8 b) { return __builtin_shufflevector(a, b, 1, 3, 5, 7, 9, 11, 13, 15); }

// Chroma of a 16-pixel-wide MCU, two columns per sample and SY rows per sample.
template <bool Averaging, int SY>
void chromaBlock(const int16_t* plane, int16_t* block) {
  for (int j = 0; j < 8; ++j) {
    const int16_t* row = plane + SY * j * 16;
    s16x8 a = load(row), b = load(row + 8);
    if (!Averaging) {
      store(block + 8 * j, evenLanes(a, b));
      continue;
    }
    if (SY == 2) {
      a += load(row + 16);
      b += load(row + 24);
    }
    s16x8 sum = evenLanes(a, b) + oddLanes(a, b);
    // Division by the cell size rounding to nearest, halves away from zero, as the plain one.
    constexpr int shift = SY == 2 ? 2 : 1;
    s16x8 sign = sum >> 15;
    s16x8 magnitude = (((sum ^ sign) - sign) + static_cast<int16_t>(1 << (shift - 1))) >> shift;
    store(block + 8 * j, (magnitude ^ sign) - sign);
  }
}

// Whole MCUs of Y blocks (2 x SY) and one block each of Cb and Cr.
template <bool Averaging, int SY>
void prepare2xSY(const jpgColorJob* job, int32_t x, int32_t y) {
  if (!wholeMCU(job, x, y)) {
    Averaging ? jpgWriteRGB2YUVRectHQ(job, x, y) : jpgWriteRGB2YUVRect(job, x, y);
    return;
  }
  if (job->kernels->yuvMCU) {
    job->kernels->yuvMCU(job->pixels + static_cast<int64_t>(y) * job->rowBytes + static_cast<int64_t>(x) * 3,
                         job->rowBytes, SY, Averaging, job->redFirst, job->blocks);
    return;
  }
  convertRows(job, x, y, 16, 8 * SY, Averaging ? 1 : SY);
  const int16_t* planeY = job->planes;
  int16_t* block = job->blocks;
  for (int br = 0; br < SY; ++br)
    for (int bc = 0; bc < 2; ++bc, block += 64)
      for (int j = 0; j < 8; ++j) std::memcpy(block + 8 * j, planeY + (br * 8 + j) * 16 + bc * 8, 16);
  const int planeSize = 16 * 8 * SY;
  chromaBlock<Averaging, SY>(job->planes + planeSize, block);
  chromaBlock<Averaging, SY>(job->planes + 2 * planeSize, block + 64);
}

// One-component MCUs: a whole 8 x 8 block level-shifted in vector lanes, row by row.
void prepareGrey(const jpgColorJob* job, int32_t x, int32_t y) {
  if (!wholeMCU(job, x, y)) {
    jpgWriteXXX2Rect(job, x, y);
    return;
  }
  const int64_t rowBytes = job->rowBytes;
  const uint8_t* src = job->pixels + static_cast<int64_t>(y) * rowBytes + x;
  int16_t* block = job->blocks;
  for (int r = 0; r < 8; ++r, src += rowBytes) {
    uint64_t bytes;
    std::memcpy(&bytes, src, sizeof(bytes));
    jpgvec::u8x16 wide = reinterpret_cast<jpgvec::u8x16>(jpgvec::s64x2{static_cast<int64_t>(bytes), 0});
    jpgvec::u8x16 zero = {};
    // Bytes interleaved with zeros are the samples as 16-bit lanes (little-endian lanes).
    s16x8 samples = reinterpret_cast<s16x8>(
        __builtin_shufflevector(wide, zero, 0, 16, 1, 17, 2, 18, 3, 19, 4, 20, 5, 21, 6, 22, 7, 23));
    store(block + 8 * r, samples - 128);
  }
}

template <bool Averaging>
void prepareGeneric(const jpgColorJob* job, int32_t x, int32_t y) {
  int32_t cols = job->width - x < job->mcuWidth ? job->width - x : job->mcuWidth;
  int32_t rows = job->lines - y < job->mcuHeight ? job->lines - y : job->mcuHeight;
  AltiVecYUVConvert8bit(job, x, y, cols, rows);
  if (cols == job->mcuWidth && rows == job->mcuHeight) {
    Averaging ? GenericSubSamplingAndBlockDivisionHQ(job) : GenericSubSamplingAndBlockDivision(job);
    return;
  }
  // Edge cells are averaged over their valid samples only, as the plain operation does.
  Averaging ? GenericSubSamplingAndBlockDivisionHQEdge(job, cols, rows) : GenericSubSamplingAndBlockDivision(job);
  GenericEdgeOptimize(job, cols, rows);
}

}  // namespace

void AltiVecYUVRows(const uint8_t* src, int64_t rowBytes, int32_t rows, int32_t n, int16_t* y, int32_t stride,
                    int32_t planeSize, int32_t chromaStep, bool redFirst) {
  jpgvec::YUVRows(src, rowBytes, rows, n, y, stride, planeSize, chromaStep, redFirst);
}

void AltiVecYUVConvert8bit(const jpgColorJob* job, int32_t x, int32_t y, int32_t cols, int32_t rows) {
  convertRows(job, x, y, cols, rows, 1);
}

void jpgWriteRGB2YUVRectSP211_AltiVec(const jpgColorJob* job, int32_t x, int32_t y) { prepare2xSY<false, 1>(job, x, y); }
void jpgWriteRGB2YUVRectHQ211_AltiVec(const jpgColorJob* job, int32_t x, int32_t y) { prepare2xSY<true, 1>(job, x, y); }
void jpgWriteRGB2YUVRectSP411_AltiVec(const jpgColorJob* job, int32_t x, int32_t y) { prepare2xSY<false, 2>(job, x, y); }
void jpgWriteRGB2YUVRectHQ411_AltiVec(const jpgColorJob* job, int32_t x, int32_t y) { prepare2xSY<true, 2>(job, x, y); }
void jpgWriteRGB2YUVRectSPGeneric_AltiVec(const jpgColorJob* job, int32_t x, int32_t y) { prepareGeneric<false>(job, x, y); }
void jpgWriteRGB2YUVRectHQGeneric_AltiVec(const jpgColorJob* job, int32_t x, int32_t y) { prepareGeneric<true>(job, x, y); }
void jpgWriteXXX2Rect_AltiVec(const jpgColorJob* job, int32_t x, int32_t y) { prepareGrey(job, x, y); }

jpgPrepareFunc jpgGetWriteColorConvertAltiVecFunc(const jpgWContext* ctx, bool averaging) {
  if (ctx->components == 1) return jpgWriteXXX2Rect_AltiVec;
  bool chroma11 = ctx->comp[1].sampling == 0x11 && ctx->comp[2].sampling == 0x11;
  if (chroma11 && ctx->comp[0].sampling == 0x21)
    return averaging ? jpgWriteRGB2YUVRectHQ211_AltiVec : jpgWriteRGB2YUVRectSP211_AltiVec;
  if (chroma11 && ctx->comp[0].sampling == 0x22)
    return averaging ? jpgWriteRGB2YUVRectHQ411_AltiVec : jpgWriteRGB2YUVRectSP411_AltiVec;
  return averaging ? jpgWriteRGB2YUVRectHQGeneric_AltiVec : jpgWriteRGB2YUVRectSPGeneric_AltiVec;
}
