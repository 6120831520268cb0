#include "jpeg/complib.h"

#include <cstring>

#include "jpeg/complibMac.h"
#include "jpeg/jpgStatus.h"
#include "toolbox/FileReplacement.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"

void* complibMemAlloc(int64_t size) {
  if (size < 0) return nullptr;
  Handle h = NewHandle(static_cast<Size>(size + 32));
  if (!h) {
    OSErr err = noErr;
    h = TempNewHandle(static_cast<Size>(size + 32), &err);
    if (!h) return nullptr;
  }
  HLockHi(h);
  auto start = reinterpret_cast<uintptr_t>(*h);
  uintptr_t aligned = (start + 16) & ~uintptr_t(15);
  auto* p = reinterpret_cast<uint8_t*>(aligned);
  p[-1] = static_cast<uint8_t>(aligned - start);
  return p;
}

static Handle handleOf(void* address) {
  auto* p = static_cast<uint8_t*>(address);
  return RecoverHandle(reinterpret_cast<Ptr>(p - p[-1]));
}

void complibMemFree(void* address) {
  if (!address) return;
  if (Handle h = handleOf(address)) DisposeHandle(h);
}

void* complibMemReAlloc(void* address, int64_t size) {
  if (!address) return complibMemAlloc(size);
  Handle h = handleOf(address);
  if (!h) return nullptr;
  int64_t oldSize = static_cast<int64_t>(GetHandleSize(h)) - 32;
  void* fresh = complibMemAlloc(size);
  if (!fresh) return nullptr;
  std::memcpy(fresh, address, static_cast<size_t>(oldSize < size ? oldSize : size));
  complibMemFree(address);
  return fresh;
}

uint16_t complibSwapInt16(uint16_t v) { return static_cast<uint16_t>((v >> 8) | (v << 8)); }

uint32_t complibSwapInt32(uint32_t v) {
  return (v >> 24) | ((v >> 8) & 0xFF00) | ((v << 8) & 0xFF0000) | (v << 24);
}

uint32_t complibMemToVal(const void* address, int n) {
  const auto* b = static_cast<const uint8_t*>(address);
  uint32_t v = 0;
  for (int i = 0; i < n; ++i) v = (v << 8) | b[i];
  return v;
}

void complibValToMem(void* address, int n, uint32_t value) {
  auto* b = static_cast<uint8_t*>(address);
  for (int i = n - 1; i >= 0; --i, value >>= 8) b[i] = static_cast<uint8_t>(value);
}

int32_t complibCreateBitstreamFile(complibBitstream* stream) {
  stream->mode = (stream->mode & kBitstreamMemory) | kBitstreamWrite;
  stream->used = 0;
  stream->error = 0;
  stream->fork = -1;
  if (stream->mode & kBitstreamMemory) {
    stream->block = nullptr;
    stream->capacity = 0;
    stream->growth = 65536;
    return kJpgOK;
  }
  stream->replacement = new FSReplacement;
  stream->fork = complibCreateFile(&stream->name, stream->replacement);
  if (stream->fork < 0) {
    delete stream->replacement;
    stream->replacement = nullptr;
    stream->error = kBitstreamOpenFailed;
    return kJpgCannotOpenOutput;
  }
  return kJpgOK;
}

int64_t complibWriteBitstreamFile(complibBitstream* stream, const void* data, int64_t n) {
  if (n <= 0) return 0;
  if (!(stream->mode & kBitstreamMemory)) return complibWriteFile(stream->fork, data, n);
  if (stream->used + n > stream->capacity) {
    int64_t step = stream->growth < 65536 ? 65536 : stream->growth;
    int64_t capacity = stream->capacity;
    while (capacity < stream->used + n) capacity += step;
    void* grown = complibMemReAlloc(stream->block, capacity);
    if (!grown) {
      complibMemFree(stream->block);
      stream->block = nullptr;
      stream->used = 0;
      stream->capacity = 0;
      stream->error = kBitstreamWriteFailed;
      return -1;
    }
    stream->block = static_cast<uint8_t*>(grown);
    stream->capacity = capacity;
  }
  std::memcpy(stream->block + stream->used, data, static_cast<size_t>(n));
  stream->used += n;
  return n;
}

int32_t complibCommitBitstreamFile(complibBitstream* stream) {
  if ((stream->mode & kBitstreamMemory) || stream->fork < 0 || !stream->replacement) return kJpgWriteFailed;
  int32_t status = complibCommitFile(stream->fork, stream->replacement);
  stream->fork = -1;
  delete stream->replacement;
  stream->replacement = nullptr;
  return status;
}

int32_t complibCloseBitstreamFile(complibBitstream* stream) {
  if (stream->mode & kBitstreamMemory) return kJpgOK;
  int32_t status = kJpgOK;
  if (stream->error != kBitstreamOpenFailed && stream->fork >= 0) status = complibCloseFile(stream->fork);
  stream->fork = -1;
  if (stream->replacement) FSAbandonReplacement(stream->replacement);
  delete stream->replacement;
  stream->replacement = nullptr;
  return status;
}
