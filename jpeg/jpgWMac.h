// The encoder's file entry points: output into a file named by a folder and a Unicode name,
// or by an FSSpec.
#pragma once

#include <cstdint>

#include "jpeg/jpgStatus.h"
#include "quickdraw/QuickDraw.h"
#include "toolbox/Files.h"

// Creates a new file beside the named one (a folder or a locked file of that name is
// refused), makes a context and writes SOI.
int32_t jpgWritePrologToMacOSFile(const FSRef* parentRef, const HFSUniStr255* name, OSType creator, OSType type,
                                  uint32_t reserved, void** context);
int32_t jpgWritePrologToFile(const FSSpec* spec, OSType creator, OSType type, uint32_t reserved, void** context);
// Finishes the file and frees the context in every case. A finished file takes the name,
// replacing the file that had it; one that could not be finished (failed write, no frame,
// fewer lines than announced) is deleted, the failure returned and an older file of that
// name left as it was.
int32_t jpgWriteEpilogToFile(void* context);

// Codes a whole 8-bit or 32-bit PixMap in strips of 16 lines (one component for 8-bit pixels
// unless a count was set, else three). The first failing strip's status is returned.
int32_t jpgWriteFromMacPixMap(void* context, PixMapHandle pixMap);
