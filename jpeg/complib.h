// The encoder's portable base: aligned memory, big-endian values, and the output bitstream
// (a file or a growing memory block). Statuses are the encoder's (jpgStatus.h).
#pragma once

#include <cstdint>

#include "pelmora/Pelmora.h"

struct FSReplacement;

// ---- Memory and values ------------------------------------------------------------------

// 16-byte aligned; the byte before the address holds its distance (1..16) to the block start.
void* complibMemAlloc(int64_t size);
void complibMemFree(void* address);
// Null behaves like complibMemAlloc; on failure 0 and the old block is kept.
void* complibMemReAlloc(void* address, int64_t size);

uint16_t complibSwapInt16(uint16_t v);
uint32_t complibSwapInt32(uint32_t v);
uint32_t complibMemToVal(const void* address, int n);
void complibValToMem(void* address, int n, uint32_t value);

// ---- Bitstream --------------------------------------------------------------------------

enum : int32_t { kBitstreamRead = 2, kBitstreamWrite = 4, kBitstreamMemory = 16 };
enum : int32_t { kBitstreamWriteFailed = 2, kBitstreamOpenFailed = 3 };
constexpr int32_t kBitstreamBufferSize = 4096;

// A file (named by `name`) or a memory block, written or read. `block` is the written memory
// in memory mode and the 4096-byte buffer of a file being read or bit-written; whoever owns
// the stream frees it after closing (a record opened afresh starts without one). A memory
// stream being read views the caller's bytes.
struct complibBitstream {
  _complibFileName name;
  int32_t mode;
  SInt16 fork;
  uint8_t* block;
  int64_t used;      // bytes in block (written, or buffered for reading)
  int64_t capacity;
  int64_t growth;
  int32_t error;
  FSReplacement* replacement;  // file mode: the new file until it takes the name
  // Reading: bits left-aligned in a 64-bit accumulator, the next byte of block to take, and
  // where block starts in the data; a file's data starts at base.
  uint64_t readAcc;
  int32_t readBits;
  int64_t readPos;
  int64_t blockStart;
  int64_t base;
  int64_t fileSize;
  // The plain bit writer: putBits pending bits right-aligned (0 when empty: 32 free).
  uint32_t putAcc;
  int32_t putBits;
};

// Writing; memory mode starts with no block and a growth step of 65536, file mode creates a
// new file beside the named one (0xC0000301 and error state 3 when it cannot).
int32_t complibCreateBitstreamFile(complibBitstream* stream);
// n or -1. Memory mode grows until the bytes fit; a failed growth frees the block and leaves
// the stream without one, in error state 2. A file being written gathers the bytes in its
// block (64 KiB) and writes them out when it fills and at the commit; a failed write puts the
// stream in error state 2 and fails this call or the commit.
int64_t complibWriteBitstreamFile(complibBitstream* stream, const void* data, int64_t n);
// File mode: writes out the gathered bytes, closes the new file and puts it in the named
// file's place; 0 or 0xC000001D.
int32_t complibCommitBitstreamFile(complibBitstream* stream);
// Closes the fork unless the open failed; 0 or 0xC0000000. A new file not committed is
// removed, and the named file stays as it was.
int32_t complibCloseBitstreamFile(complibBitstream* stream);

// Reading the named file from `base`: its size, the fork read-only, a fresh buffer and
// reader. 0xC0000301 and error state 3 when it cannot be opened, 0xC0000019 when the seek to
// base fails, 0xC0000008 without memory.
int32_t complibOpenBitstreamFile(complibBitstream* stream);
// Reading and writing (mode 6): the plain bit writer appends at the file's end.
int32_t complibAppendBitstreamFile(complibBitstream* stream);
// The fork alone, for the calls above and their close.
int32_t complibOpenBitstreamFileExt(complibBitstream* stream);
int32_t complibAppendBitstreamFileExt(complibBitstream* stream);
int32_t complibCloseBitstreamFileExt(complibBitstream* stream);
// A memory stream: reading views size bytes at data (which stay the caller's) from an empty
// accumulator; writing starts an empty growing block with 32 free bits. 0xC0000057 for
// another mode, 0xC0000009 for a null stream or reading without data.
int32_t complibInitBitstreamMemory(complibBitstream* stream, uint8_t* data, int64_t size, int32_t mode);
// Moves the reader to offset bytes from the data's start (whence 0), the reader's byte
// (1) or the end (2), dropping the accumulator; 0xC0000019 outside the data.
int32_t complibSeekBitstreamFile(complibBitstream* stream, int64_t offset, int whence);
// Appends length bytes of the source from offset to the target, 4096 at a time; 0 or
// 0xC0000000.
int32_t complibDupBitstreamFile(complibBitstream* target, complibBitstream* source, int64_t offset, int64_t length);

// Refills the buffer when the reader has taken it all; 0xC0000000 past the end.
int32_t readBitstreamData(complibBitstream* stream);
// The next n bits (0..32), most significant first; past the end they are 0.
uint32_t complibGetBits(complibBitstream* stream, int n);
uint32_t complibShowBits(complibBitstream* stream, int n);
void complibFlushGetBits(complibBitstream* stream, int n);
// Drops the bits up to the next byte boundary.
void complibGetByteAligned(complibBitstream* stream);
// Bits taken so far from the data's start.
int64_t complibGetBitAddress(const complibBitstream* stream);
// Copies n bytes; got says how many came. 0xC0000001 when the reader is not byte-aligned,
// 0xC0000057 for n 0 or less, 0xC0000000 when the data ends first.
int32_t complibBSGetBlock(complibBitstream* stream, void* buffer, int64_t n, int64_t* got);

// The plain bit writer (no byte stuffing): n bits (1..32), full 32-bit words into the buffer,
// written 4096 bytes at a time. 0 or 0xC000001D.
int32_t complibPutBits(complibBitstream* stream, uint32_t bits, int n);
// Pads the pending bits with 0 bits to a byte boundary.
int32_t complibPutByteAligned(complibBitstream* stream);
// Pads, then writes out the pending bytes and the buffer.
int32_t complibFlushPutBits(complibBitstream* stream);
