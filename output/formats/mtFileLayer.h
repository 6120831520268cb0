// The TIFF writer's small file layer, with the names of the system it was first written for,
// built on the File Manager: one data fork per handle.
#pragma once

#include <cstdint>

#include "toolbox/FileReplacement.h"
#include "toolbox/MacTypes.h"

// A heap cell holding the open file's reference number; a new file is written under a
// temporary name until it closes, and a failed read, write or seek keeps it from its name.
struct MTFileCell {
  SInt16 refNum;
  FSReplacement replacement;
  bool failed = false;
};
typedef MTFileCell* MTFileHandle;

// How CreateFile treats an existing file.
enum : uint32_t { kMTCreateAlways = 2, kMTOpenExisting = 3 };
// SetFilePointer's starting points.
enum : uint32_t { kMTFromStart = 1, kMTFromEnd = 2 };
// What a buffer holds, so that it is written big-endian: one 16-bit value, one 32-bit
// value, one directory entry, or plain bytes.
enum : int { kMTLayoutBytes = 0, kMTLayoutU16 = 2, kMTLayoutEntry = 3, kMTLayoutU32 = 4, kMTLayoutU16Alt = 7, kMTLayoutU32Alt = 8 };

// One 12-byte directory entry; a SHORT value stands in the high half of `value`, so that it
// lands in the first two bytes of the field.
struct MTDirEntry {
  uint16_t tag;
  uint16_t type;
  uint32_t count;
  uint32_t value;
};

// `name` is a full POSIX path, or a name in the user's Preferences folder. kMTCreateAlways
// makes a new file (creator 'DR65', type 'Calb') that replaces an existing one when it
// closes; a folder or a locked file of that name is refused. kMTOpenExisting opens it.
// Either way the data fork is open for reading and writing. Null on failure.
MTFileHandle CreateFile(const char* name, uint32_t access, uint32_t share, void* security, uint32_t creation,
                        uint32_t flags, MTFileHandle templateFile);
// Non-zero when all `count` bytes were moved; `countDone` receives the count, or 0.
int ReadFile(MTFileHandle file, void* buffer, uint32_t count, uint32_t* countDone, void* overlapped, int layout);
int WriteFile(MTFileHandle file, const void* buffer, uint32_t count, uint32_t* countDone, void* overlapped, int layout);
// The new position, or -1. A position beyond the end of file first extends the file,
// zero-filled, to exactly that position.
long SetFilePointer(MTFileHandle file, long offset, long* high, uint32_t method);
// Closes the file and frees the handle; non-zero on success. A new file takes its name only
// then, and only when no read, write or seek failed; otherwise it is removed and an older
// file of that name stays as it was.
int CloseHandle(MTFileHandle file);
