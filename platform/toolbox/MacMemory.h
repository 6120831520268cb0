// Memory Manager: fixed blocks (Ptr) and relocatable blocks (Handle) with lock state.
//
// A Handle points at a master pointer that follows its block when the block moves, as
// callers expect: they lock a handle before keeping its block's address. Every call sets
// the value MemError() reports.
#pragma once

#include "toolbox/MacTypes.h"

Ptr NewPtr(Size size);
Ptr NewPtrClear(Size size);
void DisposePtr(Ptr p);
Size GetPtrSize(Ptr p);

Handle NewHandle(Size size);
Handle NewHandleClear(Size size);
void DisposeHandle(Handle h);
void SetHandleSize(Handle h, Size newSize);
Size GetHandleSize(Handle h);
Handle RecoverHandle(Ptr p);
void HLock(Handle h);
void HLockHi(Handle h);
void HUnlock(Handle h);
SInt8 HGetState(Handle h);
void HSetState(Handle h, SInt8 state);
OSErr PtrToHand(const void* src, Handle* dst, Size size);
OSErr HandToHand(Handle* h);

// Temporary memory: a separate budget that may run out while the heap still has room,
// so callers fall back to NewHandle.
Handle TempNewHandle(Size size, OSErr* err);
void TempHLock(Handle h, OSErr* err);
void TempHUnlock(Handle h, OSErr* err);
void TempDisposeHandle(Handle h, OSErr* err);

OSErr MemError();
Size MaxBlock();

// Lock-state bits that HGetState returns.
constexpr SInt8 kHandleLockedBit = -0x80;
constexpr SInt8 kHandlePurgeableBit = 0x40;
constexpr SInt8 kHandleResourceBit = 0x20;

// Test hooks: cap what temporary memory and the heap will hand out (0 = no cap).
void MemSetTempLimit(Size bytes);
void MemSetHeapLimit(Size bytes);

// A 4-byte field that held an address on the original 32-bit layout holds a token from
// this process-wide table instead, so stored records keep their size. 0 is never a token.
uint32_t MemTokenFor(void* p);
void* MemTokenTarget(uint32_t token);
void MemTokenRelease(uint32_t token);
