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

// Quantises and codes n consecutive transformed blocks of one component; the first failure's
// status, coding going on after it as the plain coder does.
inline int32_t CodeBlocksKernel(jpgBitWriter* writer, jpgCoderComponent* comp, const uint16_t (*div)[64],
                                const int16_t* blocks, int32_t n) {
  int32_t status = 0;
  for (int32_t b = 0; b < n; ++b, blocks += 64) {
    pelmora_bits::QuantisedBlock block;
    uint64_t natMask = QuantiseKernel(blocks, div, block.magnitude, block.extra);
    // Most blocks of a page keep values in their first row only.
    block.nonZero = jpgZigZagBits.bits[0][natMask & 0xFF];
    if (natMask >> 8)
      for (int r = 1; r < 8; ++r) block.nonZero |= jpgZigZagBits.bits[r][(natMask >> (8 * r)) & 0xFF];
    if (int32_t s = pelmora_bits::EncodeQuantised(writer, comp, &block); s && !status) status = s;
  }
  return status;
}

#if defined(__AVX2__) && !defined(JPGVEC_PORTABLE)
// Transforms, quantises and codes `pairs` pairs of whole grey blocks side by side along a band
// of 8 rows (16 samples a pair, rows rowBytes apart), each block an MCU of its own with the
// restart bookkeeping after it; stops at the first MCU that fails.
inline int32_t CodeGreyPairsKernel(const uint8_t* samples, int64_t rowBytes, int32_t pairs, int16_t* scratch,
                                   jpgMCUCoderState* s, const uint16_t (*div)[64]) {
  for (int32_t p = 0; p < pairs; ++p, samples += 16) {
    FDCTGreyKernel2(samples, rowBytes, scratch);
    for (int b = 0; b < 2; ++b) {
      int32_t status = CodeBlocksKernel(&s->bits, &s->comp[0], div, scratch + 64 * b, 1);
      if (int32_t st = pelmora_bits::EndMCU(s); st && !status) status = st;
      if (status) return status;
    }
  }
  return 0;
}
#endif

}  // namespace
}  // namespace jpgvec
