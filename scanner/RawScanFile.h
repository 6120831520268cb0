// The raw scan file: one temporary file per scanned page holding bare image rows, top row
// first, each row followed by a zero byte when its length is odd. Its geometry travels
// beside it in the scanner object's page records.
#pragma once

#include "toolbox/MacTypes.h"

constexpr OSType kRawScanCreator = 'QlWX';
constexpr OSType kRawScanType = 0x3F3F3F3F;  // '????'

// Creates a file of a free "tmp%05d.dat" name (numbered from the tick count) in `folder`
// (the temporary folder's own specification) and opens its data fork read-write.
OSErr RawScanFile_Create(const FSSpec& folder, FSSpec* file, SInt16* refNum);

// Bytes a row of `width` pixels of `bitsPerPixel` holds, and the same rounded up to even.
// 64-bit, so no page size overflows.
inline int64_t RawScanFile_RowBytes(int64_t width, int64_t bitsPerPixel) { return (width * bitsPerPixel + 7) / 8; }
inline int64_t RawScanFile_PaddedRowBytes(int64_t rowBytes) { return rowBytes + (rowBytes & 1); }

// Writes `length` bytes of a row and, when `length` is odd, the zero pad byte.
OSErr RawScanFile_WriteRow(SInt16 refNum, const void* row, long length);
