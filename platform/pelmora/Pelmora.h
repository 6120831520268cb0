// Pelmora: the in-house codec framework. The JPEG encoder takes from it the image-strip and
// file-name records, strip buffers, temporary names, the plain baseline MCU coder, the decoder's
// architecture switch and the EXTEND table of the Huffman lookup builders.
//
// The plain MCU coder reads the encoder context through the coder record below, which the
// encoder keeps at byte offset kJpgCoderStateOffset of every context it hands to the coder.
#pragma once

#include <cstddef>
#include <cstdint>

#include "toolbox/Files.h"
#include "toolbox/MacTypes.h"

// An image strip: rows top-down; 24-bit pixels hold blue, green, red in that byte order.
struct _complibImageRect {
  int32_t width;
  int32_t height;
  int32_t rowBytes;
  int32_t bitsPerPixel;
  int32_t channels;
  int32_t bitsPerSample;
  uint8_t* data;
};

// A file named by a folder (or the file itself) plus a Unicode name.
struct _complibFileName {
  FSRef ref;           // the file when it exists and hasName is 0, else its parent folder
  Boolean hasName;
  HFSUniStr255 name;
  OSType type;
  OSType creator;
  uint32_t catalog[2];  // volume and parent folder of the file, filled when it is opened
};

// A non-zero result: the rect owns a buffer of at least height x row bytes.
int32_t complibRectAlloc(_complibImageRect* rect);
void complibRectFree(_complibImageRect* rect);
// Places a name that no item of the record's folder has; 0 or 0xC0000000.
int32_t complibTmpnam(_complibFileName* record, const _complibFileName* templ);

// ---- The plain MCU coder ---------------------------------------------------------------

// One prepared Huffman code: code bits (with room for the extra bits) and total length.
struct jpgHuffCode {
  uint32_t bits;
  uint32_t length;
};

// Bit writer: pending bits right-aligned in a 32-bit accumulator, a 4096-byte buffer that
// `writeOut` empties into the output.
struct jpgBitWriter {
  uint32_t acc;
  int32_t freeBits;  // 32 when empty
  int32_t count;     // bytes in buffer
  int32_t error;     // 2 once a write failed
  int32_t (*writeOut)(void* output, const uint8_t* data, int32_t n);  // 0 or a status
  void* output;
  uint8_t buffer[4096];
};

struct jpgCoderComponent {
  const int32_t* quant;         // 64 entries in zig-zag order, each 8 x the table entry
  const uint32_t* recip;        // their reciprocals (pelmora_bits::Reciprocal)
  const jpgHuffCode* dcCodes;   // 4095 entries for the differences -2047..2047
  const jpgHuffCode* acCodes;   // 256 entries by symbol, code pre-shifted by its extra bits
  int32_t blocks;               // h x v
  int32_t prevDC;
};

struct jpgMCUCoderState {
  int16_t* blocks;  // the MCU's blocks, per component in order, 64 samples each
  int32_t components;
  int32_t dctMethod;  // 0 fixed point, 1 floating point
  int32_t restartInterval;
  int32_t restartCounter;
  int32_t nextRestart;  // 0..7
  int32_t mcusLeft;     // MCUs still to code in the image: no restart marker after the last
  jpgCoderComponent comp[4];
  jpgBitWriter bits;
};

constexpr size_t kJpgCoderStateOffset = 16;
inline jpgMCUCoderState* jpgCoderStateOf(void* context) {
  return reinterpret_cast<jpgMCUCoderState*>(static_cast<char*>(context) + kJpgCoderStateOffset);
}

typedef int32_t (*jpgWriteMCUFunc)(void* context);

// The plain coder for selector 769 (or 771): forward DCT, quantisation and Huffman coding of
// the MCU in the block buffer, then the restart bookkeeping. Null for other selectors.
jpgWriteMCUFunc jpgGetWriteMCUGenericFunc(int32_t selector, uint32_t architecture);

// The decoder's architecture switch: 0, or 0xC0000009 for a null context.
int32_t jpgReadSetProcessorArchitectureFlag(void* context, uint32_t mask);

// EXTEND pairs for s extra bits: a value below the first word gets the second added.
extern const int32_t tableTestShift[16][2];
