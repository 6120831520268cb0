// Decoders behind the graphics importer: each hands out its image row by row, top to
// bottom, as R, G, B bytes.
#pragma once

#include <cstdint>
#include <memory>

#include "quicktime/qtMappedFile.h"

class QTImageReader {
 public:
  virtual ~QTImageReader() = default;
  // The next row (width x 3 bytes); false when the file turns out damaged.
  virtual bool NextRow(uint8_t* rgb) = 0;
  // Passes over the next row; false as NextRow.
  virtual bool SkipRow() = 0;
  int32_t width = 0;
  int32_t height = 0;
};

enum class QTImageKind { None, JPEG, TIFF, PICT };

// The most an image's full-size pixels (32 bits each) may take: NewGWorld's limit. An image
// claiming more is refused before anything is decoded, and the JPEG decoder's own memory is
// held to it.
constexpr int64_t kQTMaxImageBytes = int64_t(1) << 30;

// The image's own size; false for a damaged or unsupported file, or one whose data could not
// hold the pixels it claims.
bool QTJPEGSize(const QTMappedFile& file, int32_t* width, int32_t* height);
bool QTTIFFSize(const QTMappedFile& file, int32_t* width, int32_t* height);

// A JPEG reader decoding at the smallest of the decoder's scales (1, 1/2, 1/4, 1/8) that
// still gives at least minWidth x minHeight. Null for a damaged file. `file` must outlive it.
std::unique_ptr<QTImageReader> QTOpenJPEG(const QTMappedFile& file, int32_t minWidth, int32_t minHeight);
// A reader of an uncompressed one-strip TIFF: 1 bit, 8-bit grey or 8-bit RGB, either byte
// order. Null for anything else. `file` must outlive it.
std::unique_ptr<QTImageReader> QTOpenTIFF(const QTMappedFile& file);
