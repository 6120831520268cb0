// Reading a URL's resource: the whole data of a file.
#pragma once

#include "corefoundation/CFArray.h"
#include "corefoundation/CFData.h"
#include "corefoundation/CFDictionary.h"
#include "corefoundation/CFURL.h"

enum : SInt32 {
  kCFURLUnknownError = -10,
  kCFURLUnknownSchemeError = -11,
  kCFURLResourceNotFoundError = -12,
  kCFURLResourceAccessViolationError = -13,
  kCFURLTimeoutError = -20,
};

// The largest file this reads; a larger one fails with kCFURLResourceAccessViolationError.
inline constexpr CFIndex kCFURLResourceDataLimit = 1024 * 1024;

// Reads the file `url` names into a new CFData. Properties are not read (`properties` is
// set to null when given). False with *errorCode set on failure; *resourceData is then null.
Boolean CFURLCreateDataAndPropertiesFromResource(CFAllocatorRef alloc, CFURLRef url, CFDataRef* resourceData,
                                                 CFDictionaryRef* properties, CFArrayRef desiredProperties,
                                                 SInt32* errorCode);
