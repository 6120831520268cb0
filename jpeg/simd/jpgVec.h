// 16-byte vector lanes for the vector stages: GCC/Clang vector extensions, with what they lack
// (rounding Q15 multiply, high-half multiply, byte deinterleave) taken from SSSE3, SSE2 or NEON
// where the translation unit is built for them. Everything here has internal linkage, so units
// built for different instruction sets never share a definition. JPGVEC_PORTABLE builds the
// plain vector-extension code everywhere (to check it against the intrinsics).
#pragma once

#include <cstdint>

#if defined(__AVX2__) && !defined(JPGVEC_PORTABLE)
#include <immintrin.h>
#elif defined(__SSSE3__) && !defined(JPGVEC_PORTABLE)
#include <tmmintrin.h>
#elif defined(__SSE2__) && !defined(JPGVEC_PORTABLE)
#include <emmintrin.h>
#elif defined(__ARM_NEON) && !defined(JPGVEC_PORTABLE)
#include <arm_neon.h>
#endif

namespace jpgvec {
namespace {

typedef int16_t s16x8 __attribute__((vector_size(16)));
typedef uint16_t u16x8 __attribute__((vector_size(16)));  // 16-bit lanes whose sums wrap
typedef uint8_t u8x16 __attribute__((vector_size(16)));
typedef int32_t s32x4 __attribute__((vector_size(16)));
typedef int64_t s64x2 __attribute__((vector_size(16)));
typedef int32_t s32x8 __attribute__((vector_size(32)));
typedef float f32x8 __attribute__((vector_size(32)));
// Two blocks' rows side by side: lanes 0-7 one block, 8-15 the other.
typedef uint16_t u16x16 __attribute__((vector_size(32)));
typedef int16_t s16x16 __attribute__((vector_size(32)));

// Saturate((x * c + 16384) >> 15) in each lane, the lanes read as signed.
inline u16x8 mulQ15(u16x8 x, int16_t c) {
#if defined(__SSSE3__) && !defined(JPGVEC_PORTABLE)
  return reinterpret_cast<u16x8>(_mm_mulhrs_epi16(reinterpret_cast<__m128i>(x), _mm_set1_epi16(c)));
#elif defined(__SSE2__) && !defined(JPGVEC_PORTABLE)
  __m128i vx = reinterpret_cast<__m128i>(x), vc = _mm_set1_epi16(c);
  __m128i lo = _mm_mullo_epi16(vx, vc), hi = _mm_mulhi_epi16(vx, vc);
  __m128i round = _mm_set1_epi32(16384);
  __m128i p0 = _mm_srai_epi32(_mm_add_epi32(_mm_unpacklo_epi16(lo, hi), round), 15);
  __m128i p1 = _mm_srai_epi32(_mm_add_epi32(_mm_unpackhi_epi16(lo, hi), round), 15);
  return reinterpret_cast<u16x8>(_mm_packs_epi32(p0, p1));
#elif defined(__ARM_NEON) && !defined(JPGVEC_PORTABLE)
  return reinterpret_cast<u16x8>(vqrdmulhq_n_s16(reinterpret_cast<int16x8_t>(x), c));
#else
  s32x8 p = (__builtin_convertvector(reinterpret_cast<s16x8>(x), s32x8) * c + 16384) >> 15;
  p = p > 32767 ? 32767 : p;
  p = p < -32768 ? -32768 : p;
  return reinterpret_cast<u16x8>(__builtin_convertvector(p, s16x8));
#endif
}

#if defined(__AVX2__) && !defined(JPGVEC_PORTABLE)
// mulQ15 on two blocks' lanes at once.
inline u16x16 mulQ15(u16x16 x, int16_t c) {
  return reinterpret_cast<u16x16>(_mm256_mulhrs_epi16(reinterpret_cast<__m256i>(x), _mm256_set1_epi16(c)));
}
#endif

// (a * b) >> 16 in each unsigned lane.
inline u16x8 mulhiU16(u16x8 a, u16x8 b) {
#if defined(__SSE2__) && !defined(JPGVEC_PORTABLE)
  return reinterpret_cast<u16x8>(_mm_mulhi_epu16(reinterpret_cast<__m128i>(a), reinterpret_cast<__m128i>(b)));
#else
  typedef uint32_t u32x8 __attribute__((vector_size(32)));
  return __builtin_convertvector((__builtin_convertvector(a, u32x8) * __builtin_convertvector(b, u32x8)) >> 16, u16x8);
#endif
}

// Bit n set where value n of the 64 is not 0.
inline uint64_t nonZeroMask(const int16_t* values) {
  uint64_t mask = 0;
#if defined(__SSE2__) && !defined(JPGVEC_PORTABLE)
  const __m128i zero = _mm_setzero_si128();
  for (int n = 0; n < 64; n += 16) {
    __m128i packed = _mm_packs_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(values + n)),
                                     _mm_loadu_si128(reinterpret_cast<const __m128i*>(values + n + 8)));
    auto bits = static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(packed, zero))) ^ 0xFFFFu;
    mask |= static_cast<uint64_t>(bits) << n;
  }
#else
  for (int n = 0; n < 64; ++n) mask |= static_cast<uint64_t>(values[n] != 0) << n;
#endif
  return mask;
}

// Transposes an 8 x 8 matrix held as eight 8-lane rows.
template <class V>
inline void transpose8(V* r) {
  V t[8], u[8];
  for (int i = 0; i < 4; ++i) {
    t[2 * i] = __builtin_shufflevector(r[2 * i], r[2 * i + 1], 0, 8, 1, 9, 2, 10, 3, 11);
    t[2 * i + 1] = __builtin_shufflevector(r[2 * i], r[2 * i + 1], 4, 12, 5, 13, 6, 14, 7, 15);
  }
  for (int i = 0; i < 2; ++i) {
    for (int j = 0; j < 2; ++j) {
      V a = t[4 * i + j], b = t[4 * i + j + 2];
      u[4 * i + 2 * j] = __builtin_shufflevector(a, b, 0, 1, 8, 9, 2, 3, 10, 11);
      u[4 * i + 2 * j + 1] = __builtin_shufflevector(a, b, 4, 5, 12, 13, 6, 7, 14, 15);
    }
  }
  for (int i = 0; i < 4; ++i) {
    r[2 * i] = __builtin_shufflevector(u[i], u[i + 4], 0, 1, 2, 3, 8, 9, 10, 11);
    r[2 * i + 1] = __builtin_shufflevector(u[i], u[i + 4], 4, 5, 6, 7, 12, 13, 14, 15);
  }
}

#if defined(__AVX2__) && !defined(JPGVEC_PORTABLE)
// transpose8 on each half of sixteen-lane rows (two blocks side by side), in the steps that
// vector units take within each 128-bit half.
inline void transpose8x2(u16x16* r) {
  u16x16 t[8], u[8];
  for (int i = 0; i < 4; ++i) {
    t[2 * i] = __builtin_shufflevector(r[2 * i], r[2 * i + 1], 0, 16, 1, 17, 2, 18, 3, 19, 8, 24, 9, 25, 10, 26, 11, 27);
    t[2 * i + 1] =
        __builtin_shufflevector(r[2 * i], r[2 * i + 1], 4, 20, 5, 21, 6, 22, 7, 23, 12, 28, 13, 29, 14, 30, 15, 31);
  }
  for (int i = 0; i < 2; ++i) {
    for (int j = 0; j < 2; ++j) {
      u16x16 a = t[4 * i + j], b = t[4 * i + j + 2];
      u[4 * i + 2 * j] = __builtin_shufflevector(a, b, 0, 1, 16, 17, 2, 3, 18, 19, 8, 9, 24, 25, 10, 11, 26, 27);
      u[4 * i + 2 * j + 1] = __builtin_shufflevector(a, b, 4, 5, 20, 21, 6, 7, 22, 23, 12, 13, 28, 29, 14, 15, 30, 31);
    }
  }
  for (int i = 0; i < 4; ++i) {
    r[2 * i] = __builtin_shufflevector(u[i], u[i + 4], 0, 1, 2, 3, 16, 17, 18, 19, 8, 9, 10, 11, 24, 25, 26, 27);
    r[2 * i + 1] = __builtin_shufflevector(u[i], u[i + 4], 4, 5, 6, 7, 20, 21, 22, 23, 12, 13, 14, 15, 28, 29, 30, 31);
  }
}
#endif

}  // namespace
}  // namespace jpgvec
