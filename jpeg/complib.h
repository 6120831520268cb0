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

struct complibBitstream {
  _complibFileName name;
  int32_t mode;
  SInt16 fork;
  uint8_t* block;  // memory mode: from complibMemAlloc
  int64_t used;
  int64_t capacity;
  int64_t growth;
  int32_t error;
  FSReplacement* replacement;  // file mode: the new file until it takes the name
};

// Writing; memory mode starts with no block and a growth step of 65536, file mode creates a
// new file beside the named one (0xC0000301 and error state 3 when it cannot).
int32_t complibCreateBitstreamFile(complibBitstream* stream);
// n or -1. Memory mode grows until the bytes fit; a failed growth frees the block and leaves
// the stream without one, in error state 2.
int64_t complibWriteBitstreamFile(complibBitstream* stream, const void* data, int64_t n);
// File mode: closes the new file and puts it in the named file's place; 0 or 0xC000001D.
int32_t complibCommitBitstreamFile(complibBitstream* stream);
// Closes the fork unless the open failed; 0 or 0xC0000000. A new file not committed is
// removed, and the named file stays as it was.
int32_t complibCloseBitstreamFile(complibBitstream* stream);
