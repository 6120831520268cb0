// Entropy-coded output: the vector MCU writer, and the byte, marker and segment output that
// frames the coded data, all through the context's bit writer.
#pragma once

#include <cstdint>

#include "jpeg/jpgShare.h"

// The vector quantiser of one block (jpgQuantiseFunc): magnitudes and extra forms in natural
// order, and the mask of non-zero quotients.
uint64_t jpgWriteQuantise_AltiVec(const int16_t* coef, const uint16_t (*div)[64], uint16_t* magnitude, uint16_t* extra);
#if defined(JPG_HAVE_AVX2_KERNELS)
// The same built for AVX2.
uint64_t jpgWriteQuantise_AVX2(const int16_t* coef, const uint16_t (*div)[64], uint16_t* magnitude, uint16_t* extra);
#endif

// The vector block coder (jpgCodeBlocksFunc): n consecutive transformed blocks of one component
// quantised and coded.
int32_t jpgWriteCodeBlocks_AltiVec(jpgBitWriter* writer, jpgCoderComponent* comp, const uint16_t (*div)[64],
                                   const int16_t* blocks, int32_t n);
#if defined(JPG_HAVE_AVX2_KERNELS)
int32_t jpgWriteCodeBlocks_AVX2(jpgBitWriter* writer, jpgCoderComponent* comp, const uint16_t (*div)[64],
                                const int16_t* blocks, int32_t n);
// Whole grey block pairs along a band, transformed, quantised and coded (jpgGreyPairsFunc).
int32_t jpgWriteCodeGreyPairs_AVX2(const uint8_t* samples, int64_t rowBytes, int32_t pairs, jpgMCUCoderState* state,
                                   const uint16_t (*div)[64]);
// The MCU in the block buffer through the pair transform, quantiser and coder (jpgMCUFunc).
int32_t jpgWriteCodeMCU_AVX2(jpgWContext* ctx);
#endif
// For row r of a block and the non-zero mask of its eight values in natural order, the same
// bits at their zig-zag positions.
struct jpgZigZagBitTable {
  uint64_t bits[8][256];
};
extern const jpgZigZagBitTable jpgZigZagBits;

// Codes the MCU in the block buffer with the context's vector transform: every block
// transformed first, then each quantised and coded.
int32_t writeBaseLineMCU_Altivec(void* context);
// The vector writer's two halves. n consecutive blocks transformed, two at a time where the
// kernels can:
void jpgWriteTransformBlocks(jpgWContext* ctx, int16_t* blocks, int32_t n);
// The MCU at the coder's block pointer, already transformed, quantised and coded.
int32_t jpgWriteCodeMCU(jpgWContext* ctx);
// count MCUs of one block each (a single component) from blocks, already transformed; coding
// stops after the first that fails.
int32_t jpgWriteCodeOneBlockMCUs(jpgWContext* ctx, const int16_t* blocks, int32_t count);

int32_t putByteToJPEGFile(jpgWContext* ctx, uint8_t byte);
int32_t jpgWritePutBytes(jpgWContext* ctx, const uint8_t* data, int64_t n);
// Pads pending bits to a byte boundary, then the marker.
int32_t jpgWritePutMarkerCode(jpgWContext* ctx, uint16_t marker);
// A marker segment: marker, length + 2 as 16 bits, the data.
int32_t jpgWritePutSegment(jpgWContext* ctx, uint16_t marker, const uint8_t* data, int32_t length);
// Writes the buffered bytes to the output.
int32_t jpgWriteFlushBits(jpgWContext* ctx);
int32_t writeDNL(jpgWContext* ctx);

// At the first strip (or the first partial output): scale and write the quantisation tables,
// build and write the Huffman tables.
int32_t jpgWriteCreateTables(jpgWContext* ctx);
// Points the coder's components at their quantisation and Huffman tables.
void jpgWriteAttachTables(jpgWContext* ctx);
int32_t jpgWriteWriteSOF(jpgWContext* ctx);
int32_t jpgWriteWriteDRI(jpgWContext* ctx);
int32_t jpgWriteWriteSOS(jpgWContext* ctx);

// Size (bit count of |value|) and extra bits (value, or value + 2^size - 1 when negative) of a
// value -2047..2047.
struct jpgValueClass {
  uint32_t size;
  uint32_t bits;
};
jpgValueClass jpgWriteClassOf(int32_t value);
// A code list (ended by a length-0 entry) as 256 entries indexed by symbol; absent symbols
// have length 0.
void jpgWriteSortHuffmanTable(const jpgHuffEntry* list, jpgHuffEntry* bySymbol);

// Single-symbol puts through a bit writer. The prepared DC entry of a difference:
int32_t jpgWriteBaseLine8BitDCHuffman(jpgBitWriter* writer, const jpgCoderComponent* component, int32_t difference);
// A DC value or an AC value after run zeros, through a table indexed by symbol: the code then
// the extra bits. 0xC0000057 for values out of range or symbols the table lacks.
int32_t jpgWritePut8BitDCHuffman(jpgBitWriter* writer, const jpgHuffEntry* table, int32_t value);
int32_t jpgWritePut8BitACHuffman(jpgBitWriter* writer, const jpgHuffEntry* table, int32_t value, int32_t run);
