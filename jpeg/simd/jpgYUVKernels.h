// The vector colour conversion of whole rows, compiled into each translation unit that includes
// it with that unit's instruction set.
#pragma once

#include <cstdint>
#include <cstring>

#include "jpeg/simd/jpgVec.h"

namespace jpgvec {
namespace {

// Y, Cb, Cr of eight pixels: the plain tables' sums, in vector lanes.
// Without Chroma only Y is computed.
template <bool Chroma>
inline void YUV8(s16x8 r, s16x8 g, s16x8 b, int16_t* y, int16_t* cb, int16_t* cr) {
#if defined(__SSE2__) && !defined(JPGVEC_PORTABLE)
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
  _mm_storeu_si128(reinterpret_cast<__m128i*>(y), vy);
  if (!Chroma) return;
  __m128i vcb = combine(pair(-691, -1357), pair(2048, 2048));
  __m128i vcr = combine(pair(2048, -1715), pair(-333, 2048));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(cb), vcb);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(cr), vcr);
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
// pshufb masks gathering channel `Ch` of 16 three-byte pixels from source vector `Part`.
template <int Ch, int Part>
inline __m128i gatherMask() {
  alignas(16) int8_t m[16];
  for (int i = 0; i < 16; ++i) {
    int byte = 3 * i + Ch;
    m[i] = byte / 16 == Part ? static_cast<int8_t>(byte % 16) : static_cast<int8_t>(-128);
  }
  return _mm_load_si128(reinterpret_cast<const __m128i*>(m));
}

template <int Ch>
inline __m128i channel16(__m128i v0, __m128i v1, __m128i v2) {
  return _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(v0, gatherMask<Ch, 0>()), _mm_shuffle_epi8(v1, gatherMask<Ch, 1>())),
                      _mm_shuffle_epi8(v2, gatherMask<Ch, 2>()));
}
#endif

// n pixels (a multiple of 8) of blue, green, red bytes to Y, Cb, Cr samples (Y alone without
// Chroma).
template <bool Chroma>
inline void YUVRow(const uint8_t* src, int32_t n, int16_t* y, int16_t* cb, int16_t* cr) {
  int32_t i = 0;
#if defined(__SSSE3__) && !defined(JPGVEC_PORTABLE)
  const __m128i zero = _mm_setzero_si128();
  for (; i + 16 <= n; i += 16, src += 48) {
    __m128i v0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
    __m128i v1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 16));
    __m128i v2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 32));
    __m128i b = channel16<0>(v0, v1, v2), g = channel16<1>(v0, v1, v2), r = channel16<2>(v0, v1, v2);
    auto lo = [&](__m128i v) { return reinterpret_cast<s16x8>(_mm_unpacklo_epi8(v, zero)); };
    auto hi = [&](__m128i v) { return reinterpret_cast<s16x8>(_mm_unpackhi_epi8(v, zero)); };
    YUV8<Chroma>(lo(r), lo(g), lo(b), y + i, cb + i, cr + i);
    YUV8<Chroma>(hi(r), hi(g), hi(b), y + i + 8, cb + i + 8, cr + i + 8);
  }
#endif
  for (; i + 8 <= n; i += 8, src += 24) {
    s16x8 b = {src[0], src[3], src[6], src[9], src[12], src[15], src[18], src[21]};
    s16x8 g = {src[1], src[4], src[7], src[10], src[13], src[16], src[19], src[22]};
    s16x8 r = {src[2], src[5], src[8], src[11], src[14], src[17], src[20], src[23]};
    YUV8<Chroma>(r, g, b, y + i, cb + i, cr + i);
  }
}

}  // namespace
}  // namespace jpgvec
