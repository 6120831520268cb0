// Immutable strings, held as UTF-8. Conversions to and from the system script go through
// the toolbox's text conversion.
#pragma once

#include "corefoundation/CFBase.h"

typedef const struct __CFString* CFStringRef;
typedef UInt32 CFStringEncoding;
typedef CFOptionFlags CFStringCompareFlags;

enum : CFStringEncoding {
  kCFStringEncodingMacRoman = 0,
  kCFStringEncodingMacJapanese = 1,
  kCFStringEncodingASCII = 0x0600,
  kCFStringEncodingUTF8 = 0x08000100,
  kCFStringEncodingInvalidId = 0xFFFFFFFFu,
};

enum : CFStringCompareFlags { kCFCompareCaseInsensitive = 1, kCFCompareNonliteral = 16 };

enum CFURLPathStyle : CFIndex { kCFURLPOSIXPathStyle = 0 };

CFTypeID CFStringGetTypeID();

// Null when the bytes are not valid in `encoding`.
CFStringRef CFStringCreateWithCString(CFAllocatorRef alloc, const char* cStr, CFStringEncoding encoding);
CFStringRef CFStringCreateWithBytes(CFAllocatorRef alloc, const UInt8* bytes, CFIndex numBytes,
                                    CFStringEncoding encoding, Boolean isExternalRepresentation);
CFStringRef CFStringCreateWithPascalString(CFAllocatorRef alloc, ConstStr255Param pStr, CFStringEncoding encoding);
CFStringRef CFStringCreateCopy(CFAllocatorRef alloc, CFStringRef string);

// Length in UTF-16 units.
CFIndex CFStringGetLength(CFStringRef string);
// False when the string does not fit `bufferSize` (with its NUL) or cannot be represented.
Boolean CFStringGetCString(CFStringRef string, char* buffer, CFIndex bufferSize, CFStringEncoding encoding);
Boolean CFStringGetPascalString(CFStringRef string, StringPtr buffer, CFIndex bufferSize, CFStringEncoding encoding);
// The UTF-8 bytes when `encoding` is UTF-8 (valid while the string lives), else null.
const char* CFStringGetCStringPtr(CFStringRef string, CFStringEncoding encoding);

// Compares by Unicode code points; kCFCompareCaseInsensitive folds ASCII case.
CFComparisonResult CFStringCompare(CFStringRef a, CFStringRef b, CFStringCompareFlags options);
Boolean CFStringHasSuffix(CFStringRef string, CFStringRef suffix);

// The encoding of the system script (Mac Roman, or Mac Japanese for Japanese).
CFStringEncoding CFStringGetSystemEncoding();

// A constant string, made once per literal and never freed.
CFStringRef __CFStringMakeConstantString(const char* cStr);
#define CFSTR(literal) __CFStringMakeConstantString("" literal "")
