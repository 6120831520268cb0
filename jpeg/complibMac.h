// The base layer's platform side: files named by an FSRef plus a Unicode name, data-fork I/O,
// and rows between QuickDraw PixMaps and image strips.
#pragma once

#include <cstdint>

#include "pelmora/Pelmora.h"
#include "quickdraw/QuickDraw.h"
#include "toolbox/FileReplacement.h"
#include "toolbox/Files.h"

int32_t complibMacCreateFileNameFromFsRef(_complibFileName* record, const FSRef* parentRef, const HFSUniStr255* name,
                                          OSType creator, OSType type);
int32_t complibMacCreateFileNameFromFsSpec(_complibFileName* record, const FSSpec* spec, OSType creator, OSType type);
// The file's own reference; -50 when it cannot be resolved.
OSErr complibMacGetFsRef(FSRef* out, const _complibFileName* record);
void complibMacReleaseFileName(_complibFileName* record);
// The record's last path component, and its folder when parentOut is not null; 0xC0000009
// for a null record or name, 0xC0000000 when the file cannot be found.
int32_t complibMacCopyLastPath(FSRef* parentOut, const _complibFileName* record, HFSUniStr255* name);

// Creates a new file beside the one the record names, which that file replaces when
// complibCommitFile succeeds; a folder or a locked file of that name is refused. The fork
// reference or -1.
SInt16 complibCreateFile(_complibFileName* record, FSReplacement* replacement);
// Closes the new file's fork and puts the file in its place; 0 or 0xC000001D (the new file
// is then removed and the old one stays as it was).
int32_t complibCommitFile(SInt16 fork, FSReplacement* replacement);
// mode 0 read, 1 write, 2 read and write; the fork reference or -1.
SInt16 complibOpenFile(_complibFileName* record, int mode);
int32_t complibCloseFile(SInt16 fork);
int64_t complibReadFile(SInt16 fork, void* buffer, int64_t n);
int64_t complibWriteFile(SInt16 fork, const void* buffer, int64_t n);
// whence 0 start, 1 current, 2 end; the new position or -1.
int64_t complibSeekFile(SInt16 fork, int64_t offset, int whence);
int64_t complibGetFileSize(_complibFileName* record);
int32_t complibDeleteFile(_complibFileName* record);
int32_t complibCreateTmpFileName(_complibFileName* record, const _complibFileName* templ);
// Renames the target's file to the source's last path component and makes the target name
// the renamed file by reference; 0xC0000009 for a null record, 0xC0000000 on failure (the
// target unchanged).
int32_t complibRenameFile(const _complibFileName* source, _complibFileName* target);

// ---- PixMaps ------------------------------------------------------------------------------

// Rows firstRow .. firstRow + rows - 1 of a PixMap (or a BitMap: rowBytes without the PixMap
// flag) into the rect's first rows: 32-bit pixels to blue, green, red (or green alone for an
// 8-bit rect), 8-bit pixels through the colour table, 1-bit rows as they are into a 1-bit
// rect. Rows outside either side, or other combinations: 0xC0000057.
int32_t complibMacSetBitMapBitsToRect(_complibImageRect* rect, int32_t firstRow, int32_t rows, PixMapHandle pixMap);
// With rows 0, describes the rect in the PixMap (24-bit rect: 32-bit direct pixels; 8-bit rect:
// 8-bit grey indexed pixels); otherwise copies the rect's first rows into the PixMap's rows
// from firstRow: 32-bit and 16-bit (5-5-5) direct pixels, 8-bit and 1-bit rows.
int32_t complibMacGetBitMapBitsFromRect(const _complibImageRect* rect, int32_t firstRow, int32_t rows,
                                        PixMapHandle pixMap);
// 2^depth entries with a fresh seed: depth 1 white then black; depth 8 greys i x 257.
CTabHandle complibMacCreateColorTable(int depth);
