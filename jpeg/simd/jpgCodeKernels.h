// The vector quantiser and the block coder together (and, with AVX2, the transform of grey
// block pairs before them), compiled into each translation unit that includes it with that
// unit's instruction set: the quotients go straight on to the coder, without a call between
// the two for every block.
#pragma once

#include <cstdint>

#include "jpeg/jpgWVLC.h"
#include "jpeg/simd/jpgFDCTKernels.h"
#include "jpeg/simd/jpgQuantKernels.h"
#include "pelmora/PelmoraBits.h"

namespace jpgvec {
namespace {

// Codes a quantised block whose non-zero values natMask marks in natural order.
inline int32_t CodeQuantised(jpgBitWriter* writer, jpgCoderComponent* comp, pelmora_bits::QuantisedBlock* block,
                             uint64_t natMask) {
  // Row by row until the rest are zero: most blocks keep their values in the first rows.
  block->nonZero = jpgZigZagBits.bits[0][natMask & 0xFF];
  for (int r = 1; natMask >>= 8; ++r) block->nonZero |= jpgZigZagBits.bits[r][natMask & 0xFF];
  return pelmora_bits::EncodeQuantised(writer, comp, block);
}

// Quantises and codes n consecutive transformed blocks of one component; the first failure's
// status, coding going on after it as the plain coder does.
inline int32_t CodeBlocksKernel(jpgBitWriter* writer, jpgCoderComponent* comp, const uint16_t (*div)[64],
                                const int16_t* blocks, int32_t n) {
  int32_t status = 0;
  for (int32_t b = 0; b < n; ++b, blocks += 64) {
    pelmora_bits::QuantisedBlock block;
    uint64_t natMask = QuantiseKernel(blocks, div, block.magnitude, block.extra);
    if (int32_t s = CodeQuantised(writer, comp, &block, natMask); s && !status) status = s;
  }
  return status;
}

#if defined(__AVX2__) && !defined(JPGVEC_PORTABLE)
// Transforms, quantises and codes `pairs` pairs of whole grey blocks side by side along a band
// of 8 rows (16 samples a pair, rows rowBytes apart), each block an MCU of its own with the
// restart bookkeeping after it; stops at the first MCU that fails. The coefficients go from the
// transform to the quantiser in registers.
// The transformed rows of two blocks side by side in r as two rows of one block to a vector,
// straight from the registers.
inline void SplitPair(const u16x16* r, __m256i* left, __m256i* right) {
  for (int i = 0; i < 4; ++i) {
    const auto even = reinterpret_cast<__m256i>(r[2 * i]), odd = reinterpret_cast<__m256i>(r[2 * i + 1]);
    left[i] = _mm256_permute2x128_si256(even, odd, 0x20);
    right[i] = _mm256_permute2x128_si256(even, odd, 0x31);
  }
}

// Quantises and codes one transformed block held in vectors, two rows to each.
inline int32_t CodeRows(const __m256i* rows, jpgBitWriter* writer, jpgCoderComponent* comp,
                        const uint16_t (*div)[64]) {
  pelmora_bits::QuantisedBlock block;
  uint64_t natMask = QuantiseRows(rows, div, block.magnitude, block.extra);
  return CodeQuantised(writer, comp, &block, natMask);
}

// Transforms (the short transform, two blocks at a time), quantises and codes the MCU in the
// coder's block buffer, each block with its component's divisors, then the restart
// bookkeeping; every block is coded, the first failure's status kept.
inline int32_t CodeMCUKernel(jpgWContext* ctx) {
  jpgMCUCoderState* s = &ctx->coder;
  jpgCoderComponent* comps[10];
  const uint16_t(*divs[10])[64];
  int32_t n = 0;
  for (int c = 0; c < s->components; ++c)
    for (int k = 0; k < s->comp[c].blocks; ++k, ++n) {
      comps[n] = &s->comp[c];
      divs[n] = ctx->quantDivisors[ctx->comp[c].quantSel];
    }
  int32_t status = 0;
  int32_t b = 0;
  for (; b + 1 < n; b += 2) {
    u16x16 r[8];
    LoadShortPair(s->blocks + 64 * b, r);
    FDCTShortPairInPlace(r);
    __m256i left[4], right[4];
    SplitPair(r, left, right);
    if (int32_t st = CodeRows(left, &s->bits, comps[b], divs[b]); st && !status) status = st;
    if (int32_t st = CodeRows(right, &s->bits, comps[b + 1], divs[b + 1]); st && !status) status = st;
  }
  if (b < n) {
    FDCTShortKernel(s->blocks + 64 * b);
    if (int32_t st = CodeBlocksKernel(&s->bits, comps[b], divs[b], s->blocks + 64 * b, 1); st && !status) status = st;
  }
  if (int32_t st = pelmora_bits::EndMCU(s); st && !status) status = st;
  return status;
}

inline int32_t CodeGreyPairsKernel(const uint8_t* samples, int64_t rowBytes, int32_t pairs, jpgMCUCoderState* s,
                                   const uint16_t (*div)[64]) {
  for (int32_t p = 0; p < pairs; ++p, samples += 16) {
    u16x16 r[8];
    FDCTGreyKernel2(samples, rowBytes, r);
    // Two rows of one block to each vector, straight from the transform's registers.
    __m256i left[4], right[4];
    SplitPair(r, left, right);
    for (const __m256i* rows : {left, right}) {
      int32_t status = CodeRows(rows, &s->bits, &s->comp[0], div);
      if (int32_t st = pelmora_bits::EndMCU(s); st && !status) status = st;
      if (status) return status;
    }
  }
  return 0;
}
#endif

}  // namespace
}  // namespace jpgvec
