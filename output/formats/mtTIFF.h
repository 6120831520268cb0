// The TIFF writer: uncompressed, big-endian, one strip, one directory of fourteen entries
// in a fixed order with the values at fixed offsets and the pixel rows from byte 204.
//
// Order of calls: MTOpen(path, "w"); MTSetField for 256, 257, 258, 259, 262, 274, 277,
// 278, 282, 283, 284 and 296, in that order (the writer adds StripOffsets and
// StripByteCounts); MTWriteScanline for rows 0 to height - 1; MTClose.
#pragma once

#include "output/formats/mtFileLayer.h"

typedef MTFileHandle MTHandle;

enum : unsigned long {
  kMTImageWidth = 256,
  kMTImageLength = 257,
  kMTBitsPerSample = 258,
  kMTCompression = 259,
  kMTPhotometric = 262,
  kMTStripOffsets = 273,
  kMTOrientation = 274,
  kMTSamplesPerPixel = 277,
  kMTRowsPerStrip = 278,
  kMTStripByteCounts = 279,
  kMTXResolution = 282,
  kMTYResolution = 283,
  kMTPlanarConfig = 284,
  kMTResolutionUnit = 296,
};

constexpr long kMTStripOffset = 204;

// "w" creates the file and writes the header and the entry count; the file takes its name
// (replacing one that exists) only when it closes. Any other mode opens an existing file.
// Null on failure, and then nothing is left on disk.
MTHandle MTOpen(const char* path, const char* mode);
// Writes the entry of `tag` at the current position. A RATIONAL tag takes numerator and
// denominator; given one value, the denominator is 1. 1 on success, 0 on a file error or
// (RowsPerStrip) an unsupported bits/samples combination; an unknown tag writes nothing
// and answers 1.
long MTSetField(MTHandle file, unsigned long tag, unsigned long value);
long MTSetField(MTHandle file, unsigned long tag, unsigned long numerator, unsigned long denominator);
// Bytes in one row: (width + 7) / 8 for 1 bit, width for 8 bits, 3 x width for three
// samples; 0 when unsupported or on a file error.
long MTScanlineSize(MTHandle file);
// Writes row `row` (MTScanlineSize bytes from `data`) at 204 + row x row length.
// 1 on success, 0 on failure: a file that saw a 0 is incomplete and MTClose removes it.
long MTWriteScanline(MTHandle file, const void* data, unsigned long row);
// Closes the file; non-zero on success, when a new file has taken its name.
long MTClose(MTHandle file);

// Bytes a row buffer needs when each row is read at `rawRowBytes` (the scan's even-padded
// row length) and written at MTScanlineSize: the larger of the two. 0 on a file error.
long MTRowBufferSize(MTHandle file, long rawRowBytes);
