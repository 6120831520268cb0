// Immutable arrays of objects; the array holds each value it contains.
#pragma once

#include "corefoundation/CFBase.h"

typedef const struct __CFArray* CFArrayRef;

// Only the retaining call-backs exist; the pointer is accepted for the usual spelling.
struct CFArrayCallBacks {
  CFIndex version;
};
extern const CFArrayCallBacks kCFTypeArrayCallBacks;

CFTypeID CFArrayGetTypeID();
CFArrayRef CFArrayCreate(CFAllocatorRef alloc, const void** values, CFIndex numValues, const CFArrayCallBacks* callBacks);
CFIndex CFArrayGetCount(CFArrayRef array);
// Lent, not held; null when the index is out of range.
const void* CFArrayGetValueAtIndex(CFArrayRef array, CFIndex index);
