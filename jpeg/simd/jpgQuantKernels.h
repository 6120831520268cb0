// The vector quantiser, compiled into each translation unit that includes it with that unit's
// instruction set: sixteen lanes with AVX2, eight elsewhere.
#pragma once

#include <cstdint>
#include <cstring>

#include "jpeg/simd/jpgVec.h"

namespace jpgvec {
namespace {

// Quotients of 64 DCT outputs (below 2^14 - q/2 in magnitude) by their divisors (q/2, then a
// multiplier and a scale whose two high-half products divide exactly), in natural order: the
// magnitude, and the extra form (the magnitude, inverted for negative values). Returns bit n
// set where quotient n is not 0.
#if defined(__AVX2__) && !defined(JPGVEC_PORTABLE)
// QuantiseKernel on a block's rows already in vector registers, two rows to each.
inline uint64_t QuantiseRows(const __m256i* rows, const uint16_t (*div)[64], uint16_t* magnitude, uint16_t* extra) {
  auto load = [](const void* p) { return _mm256_loadu_si256(static_cast<const __m256i*>(p)); };
  __m256i q[4];
  for (int i = 0; i < 4; ++i) {
    __m256i c = rows[i];
    __m256i sign = _mm256_srai_epi16(c, 15);
    __m256i a = _mm256_add_epi16(_mm256_sub_epi16(_mm256_xor_si256(c, sign), sign), load(div[0] + 16 * i));
    q[i] = _mm256_mulhi_epu16(_mm256_mulhi_epu16(a, load(div[1] + 16 * i)), load(div[2] + 16 * i));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(magnitude + 16 * i), q[i]);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(extra + 16 * i), _mm256_xor_si256(q[i], sign));
  }
  // Quotients stay below 2^11, so signed packing keeps every non-zero one non-zero; packing
  // works within halves, which the permutation puts back in order.
  const __m256i zero = _mm256_setzero_si256();
  auto mask32 = [&](__m256i a, __m256i b) {
    __m256i packed = _mm256_permute4x64_epi64(_mm256_packs_epi16(a, b), 0xD8);
    return ~static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(packed, zero)));
  };
  return uint64_t(mask32(q[0], q[1])) | uint64_t(mask32(q[2], q[3])) << 32;
}
#endif

inline uint64_t QuantiseKernel(const int16_t* coef, const uint16_t (*div)[64], uint16_t* magnitude, uint16_t* extra) {
#if defined(__AVX2__) && !defined(JPGVEC_PORTABLE)
  __m256i rows[4];
  // Row by row: the transform has just stored the rows in 16-byte halves, and a 32-byte load
  // across two of them would wait for both stores to reach the cache.
  for (int i = 0; i < 4; ++i)
    rows[i] = _mm256_loadu2_m128i(reinterpret_cast<const __m128i*>(coef + 16 * i + 8),
                                  reinterpret_cast<const __m128i*>(coef + 16 * i));
  return QuantiseRows(rows, div, magnitude, extra);
#else
  for (int r = 0; r < 8; ++r) {
    s16x8 c;
    u16x8 half, mult, scale;
    std::memcpy(&c, coef + 8 * r, 16);
    std::memcpy(&half, div[0] + 8 * r, 16);
    std::memcpy(&mult, div[1] + 8 * r, 16);
    std::memcpy(&scale, div[2] + 8 * r, 16);
    u16x8 sign = reinterpret_cast<u16x8>(c >> 15);
    u16x8 a = reinterpret_cast<u16x8>((reinterpret_cast<u16x8>(c) ^ sign) - sign) + half;
    u16x8 quotient = mulhiU16(mulhiU16(a, mult), scale);
    u16x8 inverted = quotient ^ sign;
    std::memcpy(magnitude + 8 * r, &quotient, 16);
    std::memcpy(extra + 8 * r, &inverted, 16);
  }
  return nonZeroMask(reinterpret_cast<const int16_t*>(magnitude));
#endif
}

}  // namespace
}  // namespace jpgvec
