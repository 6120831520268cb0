// The encoder's file entry points: output into a file named by a folder and a Unicode name,
// or by an FSSpec.
#pragma once

#include <cstdint>

#include "jpeg/jpgStatus.h"
#include "quickdraw/QuickDraw.h"
#include "toolbox/Files.h"

// Creates the file (replacing one of that name), makes a context and writes SOI.
int32_t jpgWritePrologToMacOSFile(const FSRef* parentRef, const HFSUniStr255* name, OSType creator, OSType type,
                                  uint32_t reserved, void** context);
int32_t jpgWritePrologToFile(const FSSpec* spec, OSType creator, OSType type, uint32_t reserved, void** context);
// Finishes the file and frees the context in every case. A file that could not be finished
// (failed write, no frame, fewer lines than announced) is deleted and the failure returned.
int32_t jpgWriteEpilogToFile(void* context);

// Codes a whole 8-bit or 32-bit PixMap in strips of 16 lines (one component for 8-bit pixels
// unless a count was set, else three). The first failing strip's status is returned.
int32_t jpgWriteFromMacPixMap(void* context, PixMapHandle pixMap);
