// The vector colour conversion of whole rows, compiled into each translation unit that includes
// it with that unit's instruction set.
#pragma once

#include <cstdint>
#include <cstring>

#include "jpeg/simd/jpgVec.h"

namespace jpgvec {
namespace {

#if defined(__SSE2__) && !defined(JPGVEC_PORTABLE)
// Y, Cb, Cr of eight pixels given as 32-bit lanes of (red, green) and (blue, 1) pairs, four
// pixels a vector. Without Chroma only Y is computed.
template <bool Chroma>
inline void YUV8Pairs(const __m128i* rg, const __m128i* b1, int16_t* y, int16_t* cb, int16_t* cr) {
  auto pair = [](int lo, int hi) { return _mm_set1_epi32(static_cast<int>((static_cast<uint32_t>(hi) << 16) | (lo & 0xFFFF))); };
  auto combine = [&](__m128i kRG, __m128i kB1) {
    __m128i lo = _mm_srai_epi32(_mm_add_epi32(_mm_madd_epi16(rg[0], kRG), _mm_madd_epi16(b1[0], kB1)), 12);
    __m128i hi = _mm_srai_epi32(_mm_add_epi32(_mm_madd_epi16(rg[1], kRG), _mm_madd_epi16(b1[1], kB1)), 12);
    return _mm_packs_epi32(lo, hi);
  };
  __m128i vy = _mm_sub_epi16(combine(pair(1225, 2404), pair(467, 2048)), _mm_set1_epi16(128));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(y), vy);
  if (!Chroma) return;
  __m128i vcb = combine(pair(-691, -1357), pair(2048, 2048));
  __m128i vcr = combine(pair(2048, -1715), pair(-333, 2048));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(cb), vcb);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(cr), vcr);
}
#endif

// Y, Cb, Cr of eight pixels: the plain tables' sums, in vector lanes.
// Without Chroma only Y is computed.
template <bool Chroma>
inline void YUV8(s16x8 r, s16x8 g, s16x8 b, int16_t* y, int16_t* cb, int16_t* cr) {
#if defined(__SSE2__) && !defined(JPGVEC_PORTABLE)
  __m128i R = reinterpret_cast<__m128i>(r), G = reinterpret_cast<__m128i>(g), B = reinterpret_cast<__m128i>(b);
  __m128i one = _mm_set1_epi16(1);
  __m128i rg[2] = {_mm_unpacklo_epi16(R, G), _mm_unpackhi_epi16(R, G)};
  __m128i b1[2] = {_mm_unpacklo_epi16(B, one), _mm_unpackhi_epi16(B, one)};
  YUV8Pairs<Chroma>(rg, b1, y, cb, cr);
#else
  s32x8 R = __builtin_convertvector(r, s32x8), G = __builtin_convertvector(g, s32x8), B = __builtin_convertvector(b, s32x8);
  s16x8 vy = __builtin_convertvector((R * 1225 + G * 2404 + B * 467 - 522240) >> 12, s16x8);
  std::memcpy(y, &vy, sizeof(vy));
  if (!Chroma) return;
  s16x8 vcb = __builtin_convertvector((B * 2048 - R * 691 - G * 1357 + 2048) >> 12, s16x8);
  s16x8 vcr = __builtin_convertvector((R * 2048 - G * 1715 - B * 333 + 2048) >> 12, s16x8);
  std::memcpy(cb, &vcb, sizeof(vcb));
  std::memcpy(cr, &vcr, sizeof(vcr));
#endif
}

#if defined(__SSSE3__) && !defined(JPGVEC_PORTABLE)
// pshufb masks taking four three-byte pixels from the start of a vector to 32-bit lanes of
// zero-extended (red, green) or (blue, 0) pairs; R is where red sits in a pixel (0 or 2).
template <int R>
inline __m128i redGreenMask() {
  return _mm_setr_epi8(R, -128, 1, -128, R + 3, -128, 4, -128, R + 6, -128, 7, -128, R + 9, -128, 10, -128);
}
template <int R>
inline __m128i blueMask() {
  constexpr int B = 2 - R;
  return _mm_setr_epi8(B, -128, -128, -128, B + 3, -128, -128, -128, B + 6, -128, -128, -128, B + 9, -128, -128, -128);
}

// Sixteen pixels from src as four vectors of (red, green) and (blue, 1) pairs, four pixels each.
template <int R>
inline void Pixels16(const uint8_t* src, __m128i* rg, __m128i* b1) {
  const __m128i oneHigh = _mm_set1_epi32(0x10000);
  __m128i v0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
  __m128i v1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 16));
  __m128i v2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 32));
  // Pixels 0-3, 4-7, 8-11 and 12-15 each at the start of a vector.
  __m128i quad[4] = {v0, _mm_alignr_epi8(v1, v0, 12), _mm_alignr_epi8(v2, v1, 8), _mm_srli_si128(v2, 4)};
  for (int q = 0; q < 4; ++q) {
    rg[q] = _mm_shuffle_epi8(quad[q], redGreenMask<R>());
    b1[q] = _mm_or_si128(_mm_shuffle_epi8(quad[q], blueMask<R>()), oneHigh);
  }
}
#endif

#if defined(__AVX2__) && !defined(JPGVEC_PORTABLE)
// YUV8Pairs for sixteen pixels, pixels 0-3 and 4-7 in the halves of rg[0] and b1[0], 8-11 and
// 12-15 in those of rg[1] and b1[1]: Y, Cb and Cr in pixel order (Y alone without Chroma).
template <bool Chroma>
inline void YUV16(const __m256i* rg, const __m256i* b1, __m256i* y, __m256i* cb, __m256i* cr) {
  auto pair = [](int lo, int hi) {
    return _mm256_set1_epi32(static_cast<int>((static_cast<uint32_t>(hi) << 16) | (lo & 0xFFFF)));
  };
  auto combine = [&](__m256i kRG, __m256i kB1) {
    __m256i lo = _mm256_srai_epi32(_mm256_add_epi32(_mm256_madd_epi16(rg[0], kRG), _mm256_madd_epi16(b1[0], kB1)), 12);
    __m256i hi = _mm256_srai_epi32(_mm256_add_epi32(_mm256_madd_epi16(rg[1], kRG), _mm256_madd_epi16(b1[1], kB1)), 12);
    // Packing works within halves: pixels 0-3, 8-11 | 4-7, 12-15 put back in order.
    return _mm256_permute4x64_epi64(_mm256_packs_epi32(lo, hi), 0xD8);
  };
  *y = _mm256_sub_epi16(combine(pair(1225, 2404), pair(467, 2048)), _mm256_set1_epi16(128));
  if (!Chroma) return;
  *cb = combine(pair(-691, -1357), pair(2048, 2048));
  *cr = combine(pair(2048, -1715), pair(-333, 2048));
}

template <bool Chroma>
inline void YUV16Pairs(const __m256i* rg, const __m256i* b1, int16_t* y, int16_t* cb, int16_t* cr) {
  __m256i vy, vcb, vcr;
  YUV16<Chroma>(rg, b1, &vy, &vcb, &vcr);
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(y), vy);
  if (!Chroma) return;
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(cb), vcb);
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(cr), vcr);
}
#endif

// n pixels (a multiple of 8) of blue, green, red bytes (red, green, blue with R = 0) to Y, Cb,
// Cr samples (Y alone without Chroma).
template <bool Chroma, int R>
inline void YUVRow(const uint8_t* src, int32_t n, int16_t* y, int16_t* cb, int16_t* cr) {
  constexpr int B = 2 - R;
  int32_t i = 0;
#if defined(__SSSE3__) && !defined(JPGVEC_PORTABLE)
  for (; i + 16 <= n; i += 16, src += 48) {
    __m128i rg[4], b1[4];
    Pixels16<R>(src, rg, b1);
#if defined(__AVX2__) && !defined(JPGVEC_PORTABLE)
    __m256i rg2[2] = {_mm256_set_m128i(rg[1], rg[0]), _mm256_set_m128i(rg[3], rg[2])};
    __m256i b12[2] = {_mm256_set_m128i(b1[1], b1[0]), _mm256_set_m128i(b1[3], b1[2])};
    YUV16Pairs<Chroma>(rg2, b12, y + i, cb + i, cr + i);
#else
    YUV8Pairs<Chroma>(rg, b1, y + i, cb + i, cr + i);
    YUV8Pairs<Chroma>(rg + 2, b1 + 2, y + i + 8, cb + i + 8, cr + i + 8);
#endif
  }
#endif
  for (; i + 8 <= n; i += 8, src += 24) {
    s16x8 b = {src[B], src[B + 3], src[B + 6], src[B + 9], src[B + 12], src[B + 15], src[B + 18], src[B + 21]};
    s16x8 g = {src[1], src[4], src[7], src[10], src[13], src[16], src[19], src[22]};
    s16x8 r = {src[R], src[R + 3], src[R + 6], src[R + 9], src[R + 12], src[R + 15], src[R + 18], src[R + 21]};
    YUV8<Chroma>(r, g, b, y + i, cb + i, cr + i);
  }
}

template <int R>
inline void YUVRowsOf(const uint8_t* src, int64_t rowBytes, int32_t rows, int32_t n, int16_t* y, int32_t stride,
                      int32_t planeSize, int32_t chromaStep) {
  for (int32_t r = 0; r < rows; ++r, src += rowBytes, y += stride) {
    if (r % chromaStep == 0)
      YUVRow<true, R>(src, n, y, y + planeSize, y + 2 * planeSize);
    else
      YUVRow<false, R>(src, n, y, y, y);
  }
}

// rows rows of n pixels each (n a multiple of 8; blue first, or red first with redFirst),
// rowBytes apart, to Y rows stride samples apart; every chromaStep-th row also gives Cb and
// Cr, planeSize and twice that past its Y.
inline void YUVRows(const uint8_t* src, int64_t rowBytes, int32_t rows, int32_t n, int16_t* y, int32_t stride,
                    int32_t planeSize, int32_t chromaStep, bool redFirst) {
  if (redFirst)
    YUVRowsOf<0>(src, rowBytes, rows, n, y, stride, planeSize, chromaStep);
  else
    YUVRowsOf<2>(src, rowBytes, rows, n, y, stride, planeSize, chromaStep);
}

#if defined(__AVX2__) && !defined(JPGVEC_PORTABLE)
// Of sixteen lanes, the sums of neighbouring pairs (Pairs) or the even lanes, in order.
template <bool Pairs>
inline __m128i halveLanes(__m256i v) {
  const __m256i evens = _mm256_setr_epi8(0, 1, 4, 5, 8, 9, 12, 13, -1, -1, -1, -1, -1, -1, -1, -1, 0, 1, 4, 5, 8, 9,
                                         12, 13, -1, -1, -1, -1, -1, -1, -1, -1);
  __m256i packed = Pairs ? _mm256_hadd_epi16(v, v) : _mm256_shuffle_epi8(v, evens);
  return _mm256_castsi256_si128(_mm256_permute4x64_epi64(packed, 0x08));
}

// A cell sum of 2^Shift samples divided rounding to nearest, halves away from zero.
template <int Shift>
inline __m128i cellMeans(__m128i sum) {
  __m128i sign = _mm_srai_epi16(sum, 15);
  __m128i magnitude = _mm_sub_epi16(_mm_xor_si128(sum, sign), sign);
  magnitude = _mm_srli_epi16(_mm_add_epi16(magnitude, _mm_set1_epi16(1 << (Shift - 1))), Shift);
  return _mm_sub_epi16(_mm_xor_si128(magnitude, sign), sign);
}

// A whole MCU of sixteen columns and 8 x SY rows straight into its blocks: 2 x SY of Y, then
// one of Cb and one of Cr, each chroma sample the top-left one of its cell or (Averaging) the
// cell's mean.
template <int R, int SY, bool Averaging>
inline void YUVMCU2xSY(const uint8_t* src, int64_t rowBytes, int16_t* blocks) {
  int16_t* cbBlock = blocks + 64 * 2 * SY;
  int16_t* crBlock = cbBlock + 64;
  __m256i cbAbove = _mm256_setzero_si256(), crAbove = _mm256_setzero_si256();
  for (int r = 0; r < 8 * SY; ++r, src += rowBytes) {
    __m128i rg[4], b1[4];
    Pixels16<R>(src, rg, b1);
    __m256i rg2[2] = {_mm256_set_m128i(rg[1], rg[0]), _mm256_set_m128i(rg[3], rg[2])};
    __m256i b12[2] = {_mm256_set_m128i(b1[1], b1[0]), _mm256_set_m128i(b1[3], b1[2])};
    __m256i y, cb, cr;
    const bool chroma = Averaging || r % SY == 0;
    if (chroma)
      YUV16<true>(rg2, b12, &y, &cb, &cr);
    else
      YUV16<false>(rg2, b12, &y, &cb, &cr);
    int16_t* yRow = blocks + 64 * 2 * (r / 8) + 8 * (r % 8);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(yRow), _mm256_castsi256_si128(y));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(yRow + 64), _mm256_extracti128_si256(y, 1));
    if (!chroma) continue;
    if (SY == 2 && Averaging && r % 2 == 0) {
      cbAbove = cb;
      crAbove = cr;
      continue;
    }
    __m128i cbRow, crRow;
    if (Averaging) {
      constexpr int shift = SY == 2 ? 2 : 1;
      cbRow = cellMeans<shift>(halveLanes<true>(_mm256_add_epi16(cb, cbAbove)));
      crRow = cellMeans<shift>(halveLanes<true>(_mm256_add_epi16(cr, crAbove)));
    } else {
      cbRow = halveLanes<false>(cb);
      crRow = halveLanes<false>(cr);
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(cbBlock + 8 * (r / SY)), cbRow);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(crBlock + 8 * (r / SY)), crRow);
  }
}

template <int SY, bool Averaging>
inline void YUVMCU2xSYOf(const uint8_t* src, int64_t rowBytes, bool redFirst, int16_t* blocks) {
  if (redFirst)
    YUVMCU2xSY<0, SY, Averaging>(src, rowBytes, blocks);
  else
    YUVMCU2xSY<2, SY, Averaging>(src, rowBytes, blocks);
}

// The whole-MCU kernel (a jpgYUVMCUFunc) for 2 x sy luminance blocks.
inline void YUVMCU(const uint8_t* src, int64_t rowBytes, int32_t sy, bool averaging, bool redFirst, int16_t* blocks) {
  if (sy == 2)
    averaging ? YUVMCU2xSYOf<2, true>(src, rowBytes, redFirst, blocks) : YUVMCU2xSYOf<2, false>(src, rowBytes, redFirst, blocks);
  else
    averaging ? YUVMCU2xSYOf<1, true>(src, rowBytes, redFirst, blocks) : YUVMCU2xSYOf<1, false>(src, rowBytes, redFirst, blocks);
}
#endif

}  // namespace
}  // namespace jpgvec
