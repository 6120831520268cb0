// File URLs. A URL holds an absolute POSIX path; "file://" strings are percent-encoded.
//
// The platform's original absolute paths are understood: "/Tmp/..." names the
// scanner-button event folder and "/Library/Application Support/..." the local domain's
// Application Support folder, as FSPathMakeRef understands them.
#pragma once

#include "corefoundation/CFString.h"
#include "toolbox/Files.h"

typedef const struct __CFURL* CFURLRef;

CFTypeID CFURLGetTypeID();
CFURLRef CFURLCreateFromFileSystemRepresentation(CFAllocatorRef alloc, const UInt8* buffer, CFIndex bufLen,
                                                 Boolean isDirectory);
CFURLRef CFURLCreateWithFileSystemPath(CFAllocatorRef alloc, CFStringRef filePath, CFURLPathStyle pathStyle,
                                       Boolean isDirectory);
// A "file://" URL string; null for any other scheme.
CFURLRef CFURLCreateWithString(CFAllocatorRef alloc, CFStringRef urlString, CFURLRef baseURL);
// Null when the reference does not name an existing item.
CFURLRef CFURLCreateFromFSRef(CFAllocatorRef alloc, const FSRef* ref);
CFURLRef CFURLCreateCopyAppendingPathComponent(CFAllocatorRef alloc, CFURLRef url, CFStringRef component,
                                               Boolean isDirectory);
CFURLRef CFURLCreateCopyDeletingLastPathComponent(CFAllocatorRef alloc, CFURLRef url);

// The POSIX path; false when it does not fit `maxBufLen` with its NUL.
Boolean CFURLGetFileSystemRepresentation(CFURLRef url, Boolean resolveAgainstBase, UInt8* buffer, CFIndex maxBufLen);
// False when the item does not exist.
Boolean CFURLGetFSRef(CFURLRef url, FSRef* ref);
CFStringRef CFURLCopyFileSystemPath(CFURLRef url, CFURLPathStyle pathStyle);
CFStringRef CFURLCopyLastPathComponent(CFURLRef url);
// The "file://" form, percent-encoded.
CFStringRef CFURLGetString(CFURLRef url);
Boolean CFURLHasDirectoryPath(CFURLRef url);
