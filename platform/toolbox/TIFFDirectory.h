// The first image directory of a TIFF file held whole in memory, in either byte order:
// the one walk every reader of TIFF files shares.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "toolbox/ByteReader.h"

enum : uint16_t { kTIFFTypeShort = 3, kTIFFTypeLong = 4 };

struct TIFFEntry {
  uint16_t tag;
  uint16_t type;
  uint32_t count;
  // The value field read by its type: one or two SHORTs from its first two bytes,
  // anything else as the 32-bit field.
  uint32_t value;
  // The value field as 32 bits: where values too long for it lie.
  uint32_t offset;
};

struct TIFFDirectory {
  ByteReader file{nullptr, 0};  // the whole file, reading in its byte order
  std::vector<TIFFEntry> entries;
};

// False unless the header is a TIFF header ("II" or "MM", then 42) and the first directory
// lies whole inside the `size` bytes.
bool TIFFReadFirstDirectory(const uint8_t* data, size_t size, TIFFDirectory* out);
