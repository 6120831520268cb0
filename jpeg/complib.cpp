#include "jpeg/complib.h"

#include <cstring>

#include <sys/mman.h>
#include <unistd.h>

#include "jpeg/complibMac.h"
#include "jpeg/jpgStatus.h"
#include "toolbox/FileReplacement.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"

namespace {

// The whole pages of a large fresh block put in place in one call: a virtual machine takes each
// first touch of a page as a costly fault, and the tables are written all through at once.
void populate(uint8_t* p, int64_t size) {
#if defined(MADV_POPULATE_WRITE)
  constexpr int64_t kLarge = 8192;
  if (size < kLarge) return;
  const auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
  const uintptr_t first = (reinterpret_cast<uintptr_t>(p) + page - 1) & ~(page - 1);
  const uintptr_t end = (reinterpret_cast<uintptr_t>(p) + static_cast<uintptr_t>(size)) & ~(page - 1);
  // Only a hint: where the system lacks it the pages come on first touch as before.
  if (end > first) madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE);
#else
  (void)p;
  (void)size;
#endif
}

}  // namespace

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
  populate(p, size);
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

namespace {

// A file being written gathers its bytes in the block and goes out this much at a time: each
// write to the system costs far more than copying the bytes.
constexpr int64_t kWriteBehind = 65536;

bool writeOnly(const complibBitstream* s) { return s->mode == kBitstreamWrite; }

// Writes out what the block has gathered; on failure the stream is in error state 2.
int32_t flushWriteBehind(complibBitstream* s) {
  const int64_t n = s->used;
  s->used = 0;
  if (n == 0) return kJpgOK;
  if (complibWriteFile(s->fork, s->block, n) == n) return kJpgOK;
  s->error = kBitstreamWriteFailed;
  return kJpgWriteFailed;
}

int64_t writeBehind(complibBitstream* s, const void* data, int64_t n) {
  if (s->error) return -1;
  if (!s->block) {
    s->block = static_cast<uint8_t*>(complibMemAlloc(kWriteBehind));
    s->capacity = s->block ? kWriteBehind : 0;
  }
  if (s->used + n > s->capacity && flushWriteBehind(s) != kJpgOK) return -1;
  if (n > s->capacity) {
    if (complibWriteFile(s->fork, data, n) == n) return n;
    s->error = kBitstreamWriteFailed;
    return -1;
  }
  std::memcpy(s->block + s->used, data, static_cast<size_t>(n));
  s->used += n;
  return n;
}

}  // namespace

int64_t complibWriteBitstreamFile(complibBitstream* stream, const void* data, int64_t n) {
  if (n <= 0) return 0;
  if (!(stream->mode & kBitstreamMemory))
    return writeOnly(stream) ? writeBehind(stream, data, n) : complibWriteFile(stream->fork, data, n);
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
  // A file whose last bytes cannot go out is not put in the named file's place.
  if (writeOnly(stream) && flushWriteBehind(stream) != kJpgOK) return kJpgWriteFailed;
  int32_t status = complibCommitFile(stream->fork, stream->replacement);
  stream->fork = -1;
  delete stream->replacement;
  stream->replacement = nullptr;
  return status;
}

int32_t complibCloseBitstreamFile(complibBitstream* stream) {
  if (stream->mode & kBitstreamMemory) return kJpgOK;
  // Bytes gathered for a file that is not committed go with it.
  if (writeOnly(stream)) stream->used = 0;
  int32_t status = kJpgOK;
  if (stream->error != kBitstreamOpenFailed && stream->fork >= 0) status = complibCloseFile(stream->fork);
  stream->fork = -1;
  if (stream->replacement) FSAbandonReplacement(stream->replacement);
  delete stream->replacement;
  stream->replacement = nullptr;
  return status;
}

// ---- Reading --------------------------------------------------------------------------------

namespace {

bool memoryMode(const complibBitstream* s) { return (s->mode & kBitstreamMemory) != 0; }

void resetReader(complibBitstream* s) {
  s->readAcc = 0;
  s->readBits = 0;
  s->readPos = 0;
}

// What of block the reader and the plain writer may fill: at most its capacity.
int64_t bufferSize(const complibBitstream* s) {
  return s->capacity < kBitstreamBufferSize ? s->capacity : kBitstreamBufferSize;
}

int32_t ensureBuffer(complibBitstream* s) {
  if (s->block) return kJpgOK;
  s->block = static_cast<uint8_t*>(complibMemAlloc(kBitstreamBufferSize));
  s->capacity = s->block ? kBitstreamBufferSize : 0;
  return s->block ? kJpgOK : kJpgNoMemory;
}

// Opens the fork with the given permission (0 read, 2 read and write).
int32_t openFork(complibBitstream* s, int permission) {
  s->fork = complibOpenFile(&s->name, permission);
  if (s->fork < 0) {
    s->error = kBitstreamOpenFailed;
    return kJpgCannotOpenOutput;
  }
  return kJpgOK;
}

// File set-up shared by reading and appending: size, fork, buffer and counters.
int32_t openForReading(complibBitstream* s, int32_t mode, int32_t (*openExt)(complibBitstream*)) {
  s->mode = mode;
  s->error = 0;
  s->fork = -1;
  s->used = 0;
  s->blockStart = 0;
  s->putAcc = 0;
  s->putBits = 0;
  resetReader(s);
  s->fileSize = complibGetFileSize(&s->name);
  if (s->fileSize < 0) {
    s->error = kBitstreamOpenFailed;
    return kJpgCannotOpenOutput;
  }
  if (s->base < 0 || s->base > s->fileSize) return kJpgSeekFailed;
  if (int32_t status = openExt(s)) return status;
  if (ensureBuffer(s) != kJpgOK) {
    complibCloseBitstreamFileExt(s);
    return kJpgNoMemory;
  }
  return kJpgOK;
}

// Bytes of data the reader can still have, counted from the start of block.
int64_t dataEnd(const complibBitstream* s) { return memoryMode(s) ? s->used : s->fileSize - s->base; }

// Tops the accumulator up to more than 32 bits while data lasts, four bytes at a time where
// the buffer has them.
void refill(complibBitstream* s) {
  while (s->readBits <= 32) {
    if (s->readPos + 4 <= s->used) {
      s->readAcc |= uint64_t(complibMemToVal(s->block + s->readPos, 4)) << (32 - s->readBits);
      s->readPos += 4;
      s->readBits += 32;
    } else if (s->readPos < s->used) {
      s->readAcc |= uint64_t(s->block[s->readPos++]) << (56 - s->readBits);
      s->readBits += 8;
    } else if (readBitstreamData(s) != kJpgOK) {
      return;
    }
  }
}

}  // namespace

int32_t complibOpenBitstreamFileExt(complibBitstream* stream) {
  if (int32_t status = openFork(stream, 0)) return status;
  if (stream->base > 0 && complibSeekFile(stream->fork, stream->base, 0) != stream->base) {
    complibCloseBitstreamFileExt(stream);
    return kJpgSeekFailed;
  }
  return kJpgOK;
}

int32_t complibAppendBitstreamFileExt(complibBitstream* stream) {
  if (int32_t status = openFork(stream, 2)) return status;
  if (complibSeekFile(stream->fork, 0, 2) < 0) {
    complibCloseBitstreamFileExt(stream);
    return kJpgSeekFailed;
  }
  return kJpgOK;
}

int32_t complibCloseBitstreamFileExt(complibBitstream* stream) {
  if (stream->fork < 0) return kJpgOK;
  int32_t status = complibCloseFile(stream->fork);
  stream->fork = -1;
  return status;
}

int32_t complibOpenBitstreamFile(complibBitstream* stream) {
  return openForReading(stream, kBitstreamRead, complibOpenBitstreamFileExt);
}

int32_t complibAppendBitstreamFile(complibBitstream* stream) {
  return openForReading(stream, kBitstreamRead | kBitstreamWrite, complibAppendBitstreamFileExt);
}

int32_t complibInitBitstreamMemory(complibBitstream* stream, uint8_t* data, int64_t size, int32_t mode) {
  if (!stream || (mode == kBitstreamRead && (!data || size < 0))) return kJpgBadContext;
  if (mode != kBitstreamRead && mode != kBitstreamWrite) return kJpgBadParameter;
  stream->mode = kBitstreamMemory | mode;
  stream->error = 0;
  stream->fork = -1;
  stream->block = mode == kBitstreamRead ? data : nullptr;
  stream->used = mode == kBitstreamRead ? size : 0;
  stream->capacity = stream->used;
  stream->growth = 65536;
  stream->blockStart = 0;
  stream->putAcc = 0;
  stream->putBits = 0;
  resetReader(stream);
  return kJpgOK;
}

int32_t readBitstreamData(complibBitstream* stream) {
  if (stream->readPos < stream->used) return kJpgOK;
  if (memoryMode(stream) || stream->fork < 0 || !stream->block) return kJpgFailed;
  int64_t start = stream->blockStart + stream->used;
  int64_t want = dataEnd(stream) - start;
  if (want <= 0) return kJpgFailed;
  if (want > bufferSize(stream)) want = bufferSize(stream);
  int64_t got = complibReadFile(stream->fork, stream->block, want);
  if (got <= 0) return kJpgFailed;
  stream->blockStart = start;
  stream->used = got;
  stream->readPos = 0;
  return kJpgOK;
}

uint32_t complibShowBits(complibBitstream* stream, int n) {
  if (n <= 0 || n > 32) return 0;
  if (stream->readBits < n) refill(stream);
  return static_cast<uint32_t>(stream->readAcc >> (64 - n));
}

void complibFlushGetBits(complibBitstream* stream, int n) {
  if (n <= 0 || n > 32) return;
  if (stream->readBits < n) refill(stream);
  if (n >= stream->readBits) {
    stream->readAcc = 0;
    stream->readBits = 0;
    return;
  }
  stream->readAcc <<= n;
  stream->readBits -= n;
}

uint32_t complibGetBits(complibBitstream* stream, int n) {
  uint32_t bits = complibShowBits(stream, n);
  complibFlushGetBits(stream, n);
  return bits;
}

void complibGetByteAligned(complibBitstream* stream) { complibFlushGetBits(stream, stream->readBits % 8); }

int64_t complibGetBitAddress(const complibBitstream* stream) {
  return (stream->blockStart + stream->readPos) * 8 - stream->readBits;
}

int32_t complibBSGetBlock(complibBitstream* stream, void* buffer, int64_t n, int64_t* got) {
  if (got) *got = 0;
  if (!buffer) return kJpgBadContext;
  if (n <= 0) return kJpgBadParameter;
  if (stream->readBits % 8 != 0) return kJpgBadState;
  auto* out = static_cast<uint8_t*>(buffer);
  int64_t done = 0;
  for (; done < n && stream->readBits > 0; ++done) out[done] = static_cast<uint8_t>(complibGetBits(stream, 8));
  while (done < n) {
    if (readBitstreamData(stream) != kJpgOK) break;
    int64_t take = stream->used - stream->readPos;
    if (take > n - done) take = n - done;
    std::memcpy(out + done, stream->block + stream->readPos, static_cast<size_t>(take));
    stream->readPos += take;
    done += take;
  }
  if (got) *got = done;
  return done == n ? kJpgOK : kJpgFailed;
}

int32_t complibSeekBitstreamFile(complibBitstream* stream, int64_t offset, int whence) {
  if (whence < 0 || whence > 2) return kJpgSeekFailed;
  const int64_t origin = whence == 0 ? 0 : whence == 1 ? complibGetBitAddress(stream) / 8 : dataEnd(stream);
  const int64_t target = origin + offset;
  if (target < 0 || target > dataEnd(stream)) return kJpgSeekFailed;
  resetReader(stream);
  if (memoryMode(stream)) {
    stream->readPos = target;
    return kJpgOK;
  }
  if (complibSeekFile(stream->fork, stream->base + target, 0) != stream->base + target) return kJpgSeekFailed;
  stream->blockStart = target;
  stream->used = 0;
  return kJpgOK;
}

int32_t complibDupBitstreamFile(complibBitstream* target, complibBitstream* source, int64_t offset, int64_t length) {
  if (!target || !source || length < 0) return kJpgFailed;
  if (complibSeekBitstreamFile(source, offset, 0) != kJpgOK) return kJpgFailed;
  uint8_t chunk[kBitstreamBufferSize];
  for (int64_t left = length; left > 0;) {
    int64_t n = left < kBitstreamBufferSize ? left : kBitstreamBufferSize;
    int64_t got = 0;
    if (complibBSGetBlock(source, chunk, n, &got) != kJpgOK || complibWriteBitstreamFile(target, chunk, n) != n)
      return kJpgFailed;
    left -= n;
  }
  return kJpgOK;
}

// ---- The plain bit writer -------------------------------------------------------------------

namespace {

// One whole byte or word into the buffer (memory mode: the growing block itself).
int32_t putBytes(complibBitstream* s, uint32_t value, int n) {
  uint8_t bytes[4];
  complibValToMem(bytes, n, value);
  if (memoryMode(s)) return complibWriteBitstreamFile(s, bytes, n) == n ? kJpgOK : kJpgWriteFailed;
  if (ensureBuffer(s) != kJpgOK) return kJpgNoMemory;
  for (int i = 0; i < n; ++i) {
    s->block[s->used++] = bytes[i];
    if (s->used >= bufferSize(s)) {
      int64_t put = complibWriteFile(s->fork, s->block, s->used);
      bool whole = put == s->used;
      s->used = 0;
      if (!whole) {
        s->error = kBitstreamWriteFailed;
        return kJpgWriteFailed;
      }
    }
  }
  return kJpgOK;
}

}  // namespace

int32_t complibPutBits(complibBitstream* stream, uint32_t bits, int n) {
  if (n <= 0 || n > 32) return kJpgBadParameter;
  if (stream->error) return kJpgWriteFailed;
  if (n < 32) bits &= (1u << n) - 1;
  const int free = 32 - stream->putBits;
  if (n < free) {
    stream->putAcc = (stream->putAcc << n) | bits;
    stream->putBits += n;
    return kJpgOK;
  }
  // The word fills: its last bits are the top of these, the rest start the next one.
  const int rest = n - free;
  const uint32_t word = free == 32 ? bits : (stream->putAcc << free) | (bits >> rest);
  stream->putAcc = rest ? bits & ((1u << rest) - 1) : 0;
  stream->putBits = rest;
  return putBytes(stream, word, 4);
}

int32_t complibPutByteAligned(complibBitstream* stream) {
  const int pad = (8 - stream->putBits % 8) % 8;
  return pad ? complibPutBits(stream, 0, pad) : kJpgOK;
}

int32_t complibFlushPutBits(complibBitstream* stream) {
  int32_t status = complibPutByteAligned(stream);
  const int bytes = stream->putBits / 8;
  if (!status && bytes) status = putBytes(stream, stream->putAcc, bytes);
  stream->putAcc = 0;
  stream->putBits = 0;
  if (status || memoryMode(stream) || stream->used == 0) return status;
  int64_t put = complibWriteFile(stream->fork, stream->block, stream->used);
  bool whole = put == stream->used;
  stream->used = 0;
  if (whole) return kJpgOK;
  stream->error = kBitstreamWriteFailed;
  return kJpgWriteFailed;
}
