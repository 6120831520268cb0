// Property lists from XML or binary data, parsed by libplist into immutable objects:
// dictionaries, arrays, strings, data, numbers, Booleans and dates. Anything else, and any
// malformed input, gives null.
#pragma once

#include <string>

#include "corefoundation/CFData.h"
#include "corefoundation/CFDictionary.h"
#include "corefoundation/CFString.h"

typedef CFTypeRef CFPropertyListRef;

enum : CFOptionFlags {
  kCFPropertyListImmutable = 0,
  kCFPropertyListMutableContainers = 1,
  kCFPropertyListMutableContainersAndLeaves = 2,
};

// Every object is immutable whatever `mutabilityOption` asks. On failure *errorString (when
// given) receives a new string saying why; the caller releases it.
CFPropertyListRef CFPropertyListCreateFromXMLData(CFAllocatorRef alloc, CFDataRef xmlData,
                                                  CFOptionFlags mutabilityOption, CFStringRef* errorString);

// Platform side: the dictionary in the property-list file `path` (read as
// CFURLCreateDataAndPropertiesFromResource reads it), or null.
CFDictionaryRef CFPropertyListCreateDictionaryFromFile(const std::string& path);
