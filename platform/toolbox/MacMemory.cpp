#include "toolbox/MacMemory.h"

#include <cstdlib>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "toolbox/MacErrors.h"

namespace {

// The master pointer must be the first member: a Handle is the address of `master`.
struct HandleBlock {
  char* master;
  size_t size;
  SInt8 state;
  bool temp;
};

struct PtrHeader {
  size_t size;
  size_t pad;  // keeps the block 16-byte aligned
};

thread_local OSErr gMemErr = noErr;
Size gTempLimit = 0;
Size gHeapLimit = 0;
Size gTempInUse = 0;
std::unordered_map<char*, HandleBlock*> gBlockOwner;  // block address -> handle, for RecoverHandle

std::vector<void*> gTokens{nullptr};  // index 0 is never handed out
std::vector<uint32_t> gFreeTokens;
std::unordered_map<void*, uint32_t> gTokenOf;

bool tooLarge(Size size) { return size < 0 || (gHeapLimit > 0 && size > gHeapLimit); }

HandleBlock* blockOf(Handle h) { return reinterpret_cast<HandleBlock*>(h); }

Handle newHandle(Size size, bool clear, bool temp) {
  if (tooLarge(size) || (temp && gTempLimit > 0 && gTempInUse + size > gTempLimit)) {
    gMemErr = memFullErr;
    return nullptr;
  }
  auto* b = static_cast<HandleBlock*>(std::malloc(sizeof(HandleBlock)));
  char* data = static_cast<char*>(clear ? std::calloc(1, size ? size : 1) : std::malloc(size ? size : 1));
  if (!b || !data) {
    std::free(b);
    std::free(data);
    gMemErr = memFullErr;
    return nullptr;
  }
  *b = HandleBlock{data, static_cast<size_t>(size), 0, temp};
  gBlockOwner[data] = b;
  if (temp) gTempInUse += size;
  gMemErr = noErr;
  return reinterpret_cast<Handle>(b);
}

}  // namespace

Ptr NewPtr(Size size) {
  if (tooLarge(size)) {
    gMemErr = memFullErr;
    return nullptr;
  }
  auto* hdr = static_cast<PtrHeader*>(std::malloc(sizeof(PtrHeader) + static_cast<size_t>(size)));
  if (!hdr) {
    gMemErr = memFullErr;
    return nullptr;
  }
  hdr->size = static_cast<size_t>(size);
  gMemErr = noErr;
  return reinterpret_cast<Ptr>(hdr + 1);
}

Ptr NewPtrClear(Size size) {
  Ptr p = NewPtr(size);
  if (p) std::memset(p, 0, static_cast<size_t>(size));
  return p;
}

void DisposePtr(Ptr p) {
  if (p) std::free(reinterpret_cast<PtrHeader*>(p) - 1);
  gMemErr = noErr;
}

Size GetPtrSize(Ptr p) {
  if (!p) {
    gMemErr = nilHandleErr;
    return 0;
  }
  gMemErr = noErr;
  return static_cast<Size>((reinterpret_cast<PtrHeader*>(p) - 1)->size);
}

Handle NewHandle(Size size) { return newHandle(size, false, false); }
Handle NewHandleClear(Size size) { return newHandle(size, true, false); }
Handle TempNewHandle(Size size, OSErr* err) {
  Handle h = newHandle(size, false, true);
  if (err) *err = gMemErr;
  return h;
}

void DisposeHandle(Handle h) {
  if (!h) {
    gMemErr = nilHandleErr;
    return;
  }
  HandleBlock* b = blockOf(h);
  gBlockOwner.erase(b->master);
  if (b->temp) gTempInUse -= static_cast<Size>(b->size);
  std::free(b->master);
  std::free(b);
  gMemErr = noErr;
}

void SetHandleSize(Handle h, Size newSize) {
  if (!h) {
    gMemErr = nilHandleErr;
    return;
  }
  HandleBlock* b = blockOf(h);
  if (tooLarge(newSize)) {
    gMemErr = memFullErr;
    return;
  }
  // A locked block must stay where it is; it can only shrink.
  if ((b->state & kHandleLockedBit) && static_cast<size_t>(newSize) > b->size) {
    gMemErr = memLockedErr;
    return;
  }
  char* moved = static_cast<char*>(std::realloc(b->master, newSize ? static_cast<size_t>(newSize) : 1));
  if (!moved) {
    gMemErr = memFullErr;
    return;
  }
  if (moved != b->master) {
    gBlockOwner.erase(b->master);
    gBlockOwner[moved] = b;
    b->master = moved;
  }
  if (b->temp) gTempInUse += newSize - static_cast<Size>(b->size);
  b->size = static_cast<size_t>(newSize);
  gMemErr = noErr;
}

Size GetHandleSize(Handle h) {
  if (!h) {
    gMemErr = nilHandleErr;
    return 0;
  }
  gMemErr = noErr;
  return static_cast<Size>(blockOf(h)->size);
}

Handle RecoverHandle(Ptr p) {
  auto it = gBlockOwner.find(p);
  if (it == gBlockOwner.end()) {
    gMemErr = nilHandleErr;
    return nullptr;
  }
  gMemErr = noErr;
  return reinterpret_cast<Handle>(it->second);
}

static void setState(Handle h, SInt8 set, SInt8 clear) {
  if (!h) {
    gMemErr = nilHandleErr;
    return;
  }
  HandleBlock* b = blockOf(h);
  b->state = static_cast<SInt8>((b->state | set) & ~clear);
  gMemErr = noErr;
}

void HLock(Handle h) { setState(h, kHandleLockedBit, 0); }
void HLockHi(Handle h) { setState(h, kHandleLockedBit, 0); }
void HUnlock(Handle h) { setState(h, 0, kHandleLockedBit); }
SInt8 HGetState(Handle h) {
  if (!h) {
    gMemErr = nilHandleErr;
    return 0;
  }
  gMemErr = noErr;
  return blockOf(h)->state;
}

void HSetState(Handle h, SInt8 state) {
  if (!h) {
    gMemErr = nilHandleErr;
    return;
  }
  blockOf(h)->state = state;
  gMemErr = noErr;
}

void TempHLock(Handle h, OSErr* err) {
  HLock(h);
  if (err) *err = gMemErr;
}
void TempHUnlock(Handle h, OSErr* err) {
  HUnlock(h);
  if (err) *err = gMemErr;
}
void TempDisposeHandle(Handle h, OSErr* err) {
  DisposeHandle(h);
  if (err) *err = gMemErr;
}

OSErr PtrToHand(const void* src, Handle* dst, Size size) {
  Handle h = NewHandle(size);
  if (!h) {
    *dst = nullptr;
    return memFullErr;
  }
  if (size) std::memcpy(*h, src, static_cast<size_t>(size));
  *dst = h;
  return noErr;
}

OSErr HandToHand(Handle* h) {
  if (!h || !*h) return nilHandleErr;
  Handle copy = nullptr;
  OSErr err = PtrToHand(**h, &copy, GetHandleSize(*h));
  if (err == noErr) *h = copy;
  return err;
}

OSErr MemError() { return gMemErr; }

// There is no fixed heap zone here: report a generous, fixed figure (or the test cap) so
// that callers which size their buffers from it behave the same on every machine.
Size MaxBlock() {
  constexpr Size kLargestBlock = 256L * 1024 * 1024;
  return gHeapLimit > 0 && gHeapLimit < kLargestBlock ? gHeapLimit : kLargestBlock;
}
void MemSetTempLimit(Size bytes) { gTempLimit = bytes; }
void MemSetHeapLimit(Size bytes) { gHeapLimit = bytes; }

uint32_t MemTokenFor(void* p) {
  if (!p) return 0;
  if (auto it = gTokenOf.find(p); it != gTokenOf.end()) return it->second;
  uint32_t t;
  if (!gFreeTokens.empty()) {
    t = gFreeTokens.back();
    gFreeTokens.pop_back();
    gTokens[t] = p;
  } else {
    gTokens.push_back(p);
    t = static_cast<uint32_t>(gTokens.size() - 1);
  }
  gTokenOf[p] = t;
  return t;
}

void* MemTokenTarget(uint32_t token) { return token < gTokens.size() ? gTokens[token] : nullptr; }

void MemTokenRelease(uint32_t token) {
  if (token == 0 || token >= gTokens.size() || !gTokens[token]) return;
  gTokenOf.erase(gTokens[token]);
  gTokens[token] = nullptr;
  gFreeTokens.push_back(token);
}
