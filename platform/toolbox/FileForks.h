// The File Manager's open forks: reference numbers, marks, permissions, and the one place
// where bytes reach the disk (so the test hooks for short reads and full disks see them all).
// For the File Manager itself; the system's code uses the calls in Files.h.
#pragma once

#include <sys/types.h>

#include <string>

#include "toolbox/Files.h"

// Opens the data fork of the file at `path` with the platform's permission.
OSErr ForkOpen(const std::string& path, SInt8 permission, SInt16* refNum);
// True while this process holds the file at `path` open.
bool ForkIsOpen(const std::string& path);
// Reads up to `count` bytes at `offset`; fewer only at the end of the file (noErr) or when
// the read hook cuts it short (ioErr).
OSErr ForkReadAt(int fd, void* buffer, size_t count, off_t offset, size_t* got);
// Writes `count` bytes at `offset`; dskFulErr / ioErr with `written` set when it stops short.
OSErr ForkWriteAt(int fd, const void* buffer, size_t count, off_t offset, size_t* written);
