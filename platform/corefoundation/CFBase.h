// CoreFoundation's common ground: every object is reference counted (created or copied
// objects come with one hold, Get-calls lend without one) and carries a type ID.
#pragma once

#include <cstdint>

#include "toolbox/MacTypes.h"

typedef long CFIndex;
typedef unsigned long CFTypeID;
typedef unsigned long CFOptionFlags;
typedef unsigned long CFHashCode;
typedef const void* CFTypeRef;
typedef const struct __CFAllocator* CFAllocatorRef;

struct CFRange {
  CFIndex location;
  CFIndex length;
};
inline CFRange CFRangeMake(CFIndex location, CFIndex length) { return CFRange{location, length}; }

enum CFComparisonResult : CFIndex { kCFCompareLessThan = -1, kCFCompareEqualTo = 0, kCFCompareGreaterThan = 1 };

// Allocators are accepted and ignored: every object lives on the heap.
inline constexpr CFAllocatorRef kCFAllocatorDefault = nullptr;

enum : CFIndex { kCFNotFound = -1 };

CFTypeRef CFRetain(CFTypeRef object);
// Releasing the last hold frees the object; a null object is ignored.
void CFRelease(CFTypeRef object);
CFIndex CFGetRetainCount(CFTypeRef object);
CFTypeID CFGetTypeID(CFTypeRef object);
// Value equality within one type (strings, data, numbers, dictionaries, arrays, URLs).
Boolean CFEqual(CFTypeRef a, CFTypeRef b);
CFHashCode CFHash(CFTypeRef object);
// How many objects are alive (leak checks in tests).
CFIndex CFLiveObjectCount();
