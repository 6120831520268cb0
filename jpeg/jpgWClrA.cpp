#include "jpeg/jpgWClrA.h"

#include <cstring>

#include "jpeg/simd/jpgVec.h"

using jpgvec::s16x8;
using jpgvec::s32x8;

namespace {

inline s16x8 load(const int16_t* p) {
  s16x8 v;
  std::memcpy(&v, p, sizeof(v));
  return v;
}
inline void store(int16_t* p, s16x8 v) { std::memcpy(p, &v, sizeof(v)); }

// Y, Cb, Cr of eight pixels: the plain tables' sums, in vector lanes.
inline void yuv8(s16x8 r, s16x8 g, s16x8 b, int16_t* y, int16_t* cb, int16_t* cr) {
#if defined(__SSE2__)
  auto pair = [](int lo, int hi) { return _mm_set1_epi32(static_cast<int>((static_cast<uint32_t>(hi) << 16) | (lo & 0xFFFF))); };
  __m128i R = reinterpret_cast<__m128i>(r), G = reinterpret_cast<__m128i>(g), B = reinterpret_cast<__m128i>(b);
  __m128i one = _mm_set1_epi16(1);
  __m128i rg[2] = {_mm_unpacklo_epi16(R, G), _mm_unpackhi_epi16(R, G)};
  __m128i b1[2] = {_mm_unpacklo_epi16(B, one), _mm_unpackhi_epi16(B, one)};
  auto combine = [&](__m128i kRG, __m128i kB1) {
    __m128i lo = _mm_srai_epi32(_mm_add_epi32(_mm_madd_epi16(rg[0], kRG), _mm_madd_epi16(b1[0], kB1)), 12);
    __m128i hi = _mm_srai_epi32(_mm_add_epi32(_mm_madd_epi16(rg[1], kRG), _mm_madd_epi16(b1[1], kB1)), 12);
    return _mm_packs_epi32(lo, hi);
  };
  __m128i vy = _mm_sub_epi16(combine(pair(1225, 2404), pair(467, 2048)), _mm_set1_epi16(128));
  __m128i vcb = combine(pair(-691, -1357), pair(2048, 2048));
  __m128i vcr = combine(pair(2048, -1715), pair(-333, 2048));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(y), vy);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(cb), vcb);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(cr), vcr);
#else
  s32x8 R = __builtin_convertvector(r, s32x8), G = __builtin_convertvector(g, s32x8), B = __builtin_convertvector(b, s32x8);
  store(y, __builtin_convertvector((R * 1225 + G * 2404 + B * 467 - 522240) >> 12, s16x8));
  store(cb, __builtin_convertvector((B * 2048 - R * 691 - G * 1357 + 2048) >> 12, s16x8));
  store(cr, __builtin_convertvector((R * 2048 - G * 1715 - B * 333 + 2048) >> 12, s16x8));
#endif
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
    // Division by the cell size, truncating toward zero.
    constexpr int shift = SY == 2 ? 2 : 1;
    store(block + 8 * j, (sum + ((sum >> 15) & static_cast<int16_t>((1 << shift) - 1))) >> shift);
  }
}

// Whole MCUs of Y blocks (2 x SY) and one block each of Cb and Cr.
template <bool Averaging, int SY>
void prepare2xSY(const jpgColorJob* job, int32_t x, int32_t y) {
  if (!wholeMCU(job, x, y)) {
    Averaging ? jpgWriteRGB2YUVRectHQ(job, x, y) : jpgWriteRGB2YUVRect(job, x, y);
    return;
  }
  AltiVecYUVConvert8bit(job, x, y, 16, 8 * SY);
  const int16_t* planeY = job->planes;
  int16_t* block = job->blocks;
  for (int br = 0; br < SY; ++br)
    for (int bc = 0; bc < 2; ++bc, block += 64)
      for (int j = 0; j < 8; ++j) std::memcpy(block + 8 * j, planeY + (br * 8 + j) * 16 + bc * 8, 16);
  const int planeSize = 16 * 8 * SY;
  chromaBlock<Averaging, SY>(job->planes + planeSize, block);
  chromaBlock<Averaging, SY>(job->planes + 2 * planeSize, block + 64);
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

void AltiVecYUVConvert8bit(const jpgColorJob* job, int32_t x, int32_t y, int32_t cols, int32_t rows) {
  const int planeSize = job->mcuWidth * job->mcuHeight;
  int16_t* py = job->planes;
  for (int32_t r = 0; r < rows; ++r) {
    const uint8_t* src = job->pixels + static_cast<int64_t>(y + r) * job->rowBytes + static_cast<int64_t>(x) * 3;
    int16_t* dy = py + r * job->mcuWidth;
    int32_t i = 0;
    for (; i + 8 <= cols; i += 8, src += 24) {
      s16x8 b = {src[0], src[3], src[6], src[9], src[12], src[15], src[18], src[21]};
      s16x8 g = {src[1], src[4], src[7], src[10], src[13], src[16], src[19], src[22]};
      s16x8 rd = {src[2], src[5], src[8], src[11], src[14], src[17], src[20], src[23]};
      yuv8(rd, g, b, dy + i, dy + planeSize + i, dy + 2 * planeSize + i);
    }
    if (i < cols) {
      // The last few pixels of the row: the plain conversion, reading nothing beyond them.
      jpgColorJob tail = *job;
      tail.planes = job->planes + r * job->mcuWidth + i;
      GenericYUVConvert8bit(&tail, x + i, y + r, cols - i, 1);
    }
  }
}

void jpgWriteRGB2YUVRectSP211_AltiVec(const jpgColorJob* job, int32_t x, int32_t y) { prepare2xSY<false, 1>(job, x, y); }
void jpgWriteRGB2YUVRectHQ211_AltiVec(const jpgColorJob* job, int32_t x, int32_t y) { prepare2xSY<true, 1>(job, x, y); }
void jpgWriteRGB2YUVRectSP411_AltiVec(const jpgColorJob* job, int32_t x, int32_t y) { prepare2xSY<false, 2>(job, x, y); }
void jpgWriteRGB2YUVRectHQ411_AltiVec(const jpgColorJob* job, int32_t x, int32_t y) { prepare2xSY<true, 2>(job, x, y); }
void jpgWriteRGB2YUVRectSPGeneric_AltiVec(const jpgColorJob* job, int32_t x, int32_t y) { prepareGeneric<false>(job, x, y); }
void jpgWriteRGB2YUVRectHQGeneric_AltiVec(const jpgColorJob* job, int32_t x, int32_t y) { prepareGeneric<true>(job, x, y); }

jpgPrepareFunc jpgGetWriteColorConvertAltiVecFunc(const jpgWContext* ctx, bool averaging) {
  bool chroma11 = ctx->comp[1].sampling == 0x11 && ctx->comp[2].sampling == 0x11;
  if (chroma11 && ctx->comp[0].sampling == 0x21)
    return averaging ? jpgWriteRGB2YUVRectHQ211_AltiVec : jpgWriteRGB2YUVRectSP211_AltiVec;
  if (chroma11 && ctx->comp[0].sampling == 0x22)
    return averaging ? jpgWriteRGB2YUVRectHQ411_AltiVec : jpgWriteRGB2YUVRectSP411_AltiVec;
  return averaging ? jpgWriteRGB2YUVRectHQGeneric_AltiVec : jpgWriteRGB2YUVRectSPGeneric_AltiVec;
}
