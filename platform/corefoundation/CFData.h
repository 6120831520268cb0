// Immutable byte buffers.
#pragma once

#include "corefoundation/CFBase.h"

typedef const struct __CFData* CFDataRef;

CFTypeID CFDataGetTypeID();
CFDataRef CFDataCreate(CFAllocatorRef alloc, const UInt8* bytes, CFIndex length);
CFIndex CFDataGetLength(CFDataRef data);
const UInt8* CFDataGetBytePtr(CFDataRef data);
// Copies the bytes of `range`, which must lie inside the data.
void CFDataGetBytes(CFDataRef data, CFRange range, UInt8* buffer);
