// Decoding the first image directory of a one-strip, uncompressed TIFF file held whole in
// memory (either byte order) into a flat record: the files this system writes, and the
// corrected and stitched copies.
#pragma once

#include <cstdint>

struct tagIMAGEINFO {
  uint32_t ImageWidth;                 // 256
  uint32_t ImageLength;                // 257
  uint32_t BitsPerSample;              // 258
  uint32_t Compression;                // 259
  uint32_t PhotometricInterpretation;  // 262
  uint32_t StripOffsets;               // 273
  uint32_t SamplesPerPixel;            // 277
  uint32_t RowsPerStrip;               // 278
  uint32_t StripByteCounts;            // 279
  uint32_t XResolutionNumerator;       // 282
  uint32_t XResolutionDenominator;
  uint32_t YResolutionNumerator;       // 283
  uint32_t YResolutionDenominator;
  uint32_t PlanarConfiguration;        // 284
  uint32_t ResolutionUnit;             // 296
  uint32_t Predictor;                  // 317
  uint32_t ColorMap;                   // 320: the value field as read (an offset)
  uint32_t Kind;                       // kTIFFKind...
};

enum : uint32_t { kTIFFKindBilevel = 0, kTIFFKindGray = 2, kTIFFKindColor = 5 };

// Fills `info` from the file's first directory. Fields of absent tags keep what the caller
// put there (callers clear the record first). Returns 1 when the header is sound: every
// offset and count lies inside the `length` bytes of `file`, resolution denominators are
// not zero, and the one strip holds exactly ImageLength rows of TIFFRowBytes(info) bytes
// inside the file. Returns 0 otherwise; the record is then not to be used.
long Recognition_TIFF(const unsigned char* file, unsigned long length, tagIMAGEINFO* info);
// The same, except that bilevel rows may be longer than the packed width: the strip then
// holds ImageLength rows of TIFFStripRowBytes(info) bytes.
long Recognition_TIFF_PaddedRows(const unsigned char* file, unsigned long length, tagIMAGEINFO* info);

// Bytes in one row of the strip: (width + 7) / 8 for one bit, width x bits / 8 rounded up
// for other grey depths, 3 x width for colour (8-bit samples).
uint64_t TIFFRowBytes(const tagIMAGEINFO& info);
// Bytes from one row of the strip to the next: the strip byte count over the rows for
// bilevel pages, else TIFFRowBytes.
uint64_t TIFFStripRowBytes(const tagIMAGEINFO& info);
