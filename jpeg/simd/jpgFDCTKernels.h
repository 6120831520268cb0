// The vector forward DCTs, compiled into each translation unit that includes them with that
// unit's instruction set.
#pragma once

#include <cstring>

#include "jpeg/simd/jpgVec.h"
#include "pelmora/PelmoraFDCT.h"

namespace jpgvec {
namespace {

template <class V, void (*Pass)(V&, V&, V&, V&, V&, V&, V&, V&)>
inline void pass(V* r) {
  Pass(r[0], r[1], r[2], r[3], r[4], r[5], r[6], r[7]);
}

inline void FDCTShortKernel(int16_t* block) {
  u16x8 r[8];
  std::memcpy(r, block, sizeof(r));
  for (auto& v : r) {
    s16x8 x = reinterpret_cast<s16x8>(v);
    v = reinterpret_cast<u16x8>(x > 127 ? 127 : x) << 2;
  }
  // Lanes across rows for the row pass, then across columns for the column pass.
  transpose8(r);
  pass<u16x8, pelmora_fdct::Short1D<u16x8, mulQ15>>(r);
  transpose8(r);
  pass<u16x8, pelmora_fdct::Short1D<u16x8, mulQ15>>(r);
  s16x8 out[8];
  for (int i = 0; i < 8; ++i) out[i] = reinterpret_cast<s16x8>(r[i] + 2) >> 2;
  std::memcpy(block, out, sizeof(out));
}

#if defined(__AVX2__) && !defined(JPGVEC_PORTABLE)
// The transform of two blocks' rows side by side, their samples already scaled up: the
// coefficients' rows of both, side by side as they came.
inline void FDCTShortPairInPlace(u16x16* r) {
  transpose8x2(r);
  pass<u16x16, pelmora_fdct::Short1D<u16x16, mulQ15>>(r);
  transpose8x2(r);
  pass<u16x16, pelmora_fdct::Short1D<u16x16, mulQ15>>(r);
  for (int i = 0; i < 8; ++i) r[i] = reinterpret_cast<u16x16>(reinterpret_cast<s16x16>(r[i] + 2) >> 2);
}

// FDCTShortPairInPlace, stored to the blocks at block and block + 64.
inline void FDCTShortPairRows(u16x16* r, int16_t* block) {
  FDCTShortPairInPlace(r);
  for (int i = 0; i < 8; ++i) {
    s16x16 out = reinterpret_cast<s16x16>(r[i]);
    s16x8 a = __builtin_shufflevector(out, out, 0, 1, 2, 3, 4, 5, 6, 7);
    s16x8 b = __builtin_shufflevector(out, out, 8, 9, 10, 11, 12, 13, 14, 15);
    std::memcpy(block + 8 * i, &a, sizeof(a));
    std::memcpy(block + 64 + 8 * i, &b, sizeof(b));
  }
}

// The two blocks at block and block + 64 side by side in sixteen lanes, clamped and scaled up
// as FDCTShortKernel takes its samples.
inline void LoadShortPair(const int16_t* block, u16x16* r) {
  for (int i = 0; i < 8; ++i) {
    u16x8 a, b;
    std::memcpy(&a, block + 8 * i, sizeof(a));
    std::memcpy(&b, block + 64 + 8 * i, sizeof(b));
    s16x16 x = reinterpret_cast<s16x16>(
        __builtin_shufflevector(a, b, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15));
    r[i] = reinterpret_cast<u16x16>(x > 127 ? 127 : x) << 2;
  }
}

// FDCTShortKernel on the two blocks at block and block + 64, side by side in sixteen lanes.
inline void FDCTShortKernel2(int16_t* block) {
  u16x16 r[8];
  LoadShortPair(block, r);
  FDCTShortPairRows(r, block);
}

// The same for two grey blocks side by side in the picture (16 samples of 8 rows, rowBytes
// apart): a row of both is sixteen consecutive samples, level-shifted on the way in. The
// coefficients stay in r, the two blocks' rows side by side.
inline void FDCTGreyKernel2(const uint8_t* samples, int64_t rowBytes, u16x16* r) {
  for (int i = 0; i < 8; ++i, samples += rowBytes) {
    __m256i wide = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(samples)));
    r[i] = reinterpret_cast<u16x16>(reinterpret_cast<s16x16>(wide) - 128) << 2;
  }
  FDCTShortPairInPlace(r);
}
#endif

inline void FDCTFloatKernel(int16_t* block) {
  s16x8 r[8];
  std::memcpy(r, block, sizeof(r));
  transpose8(r);
  f32x8 f[8];
  for (int i = 0; i < 8; ++i) f[i] = __builtin_convertvector(r[i], f32x8);
  pass<f32x8, pelmora_fdct::Float1D<f32x8>>(f);
  transpose8(f);
  pass<f32x8, pelmora_fdct::Float1D<f32x8>>(f);
  for (int i = 0; i < 8; ++i) {
    // Round to nearest even through the float format's own rounding, as the plain coder does.
    f32x8 v = (f[i] + 12582912.0f) - 12582912.0f;
    v = v > 32767.0f ? 32767.0f : v;
    v = v < -32768.0f ? -32768.0f : v;
    r[i] = __builtin_convertvector(__builtin_convertvector(v, s32x8), s16x8);
  }
  std::memcpy(block, r, sizeof(r));
}

}  // namespace
}  // namespace jpgvec
