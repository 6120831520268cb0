// The quantiser and the block coder (with the pair transform before them for whole MCUs and
// grey bands) in AVX2's sixteen lanes; chosen when the processor has it.
#include "jpeg/jpgWVLC.h"

#if defined(JPG_HAVE_AVX2_KERNELS)
#include "jpeg/simd/jpgCodeKernels.h"

uint64_t jpgWriteQuantise_AVX2(const int16_t* coef, const uint16_t (*div)[64], uint16_t* magnitude, uint16_t* extra) {
  return jpgvec::QuantiseKernel(coef, div, magnitude, extra);
}

int32_t jpgWriteCodeBlocks_AVX2(jpgBitWriter* writer, jpgCoderComponent* comp, const uint16_t (*div)[64],
                                const int16_t* blocks, int32_t n) {
  return jpgvec::CodeBlocksKernel(writer, comp, div, blocks, n);
}

int32_t jpgWriteCodeGreyPairs_AVX2(const uint8_t* samples, int64_t rowBytes, int32_t pairs, jpgMCUCoderState* state,
                                   const uint16_t (*div)[64]) {
  return jpgvec::CodeGreyPairsKernel(samples, rowBytes, pairs, state, div);
}

int32_t jpgWriteCodeMCU_AVX2(jpgWContext* ctx) { return jpgvec::CodeMCUKernel(ctx); }
#endif
