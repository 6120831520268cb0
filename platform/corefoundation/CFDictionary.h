// Immutable dictionaries; keys are compared with CFEqual. The dictionary holds its keys and
// values.
#pragma once

#include "corefoundation/CFBase.h"

typedef const struct __CFDictionary* CFDictionaryRef;

// Only the retaining call-backs exist; the pointers are accepted for the usual spelling.
struct CFDictionaryKeyCallBacks {
  CFIndex version;
};
struct CFDictionaryValueCallBacks {
  CFIndex version;
};
extern const CFDictionaryKeyCallBacks kCFTypeDictionaryKeyCallBacks;
extern const CFDictionaryKeyCallBacks kCFCopyStringDictionaryKeyCallBacks;
extern const CFDictionaryValueCallBacks kCFTypeDictionaryValueCallBacks;

CFTypeID CFDictionaryGetTypeID();
// A later duplicate key replaces the earlier one.
CFDictionaryRef CFDictionaryCreate(CFAllocatorRef alloc, const void** keys, const void** values, CFIndex numValues,
                                   const CFDictionaryKeyCallBacks* keyCallBacks,
                                   const CFDictionaryValueCallBacks* valueCallBacks);
CFIndex CFDictionaryGetCount(CFDictionaryRef dict);
// Lent, not held; null when the key is absent.
const void* CFDictionaryGetValue(CFDictionaryRef dict, const void* key);
Boolean CFDictionaryGetValueIfPresent(CFDictionaryRef dict, const void* key, const void** value);
Boolean CFDictionaryContainsKey(CFDictionaryRef dict, const void* key);
// Keys and values in the order they were given (each array holds CFDictionaryGetCount entries).
void CFDictionaryGetKeysAndValues(CFDictionaryRef dict, const void** keys, const void** values);
