// The vector quantiser and the block coder together, compiled into each translation unit that
// includes it with that unit's instruction set: the quotients go straight on to the coder,
// without a call between the two for every block.
#pragma once

#include <cstdint>

#include "jpeg/jpgWVLC.h"
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

}  // namespace
}  // namespace jpgvec
