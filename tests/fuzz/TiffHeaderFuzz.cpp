// TIFF headers from outside: the system's reader and the importer's reader must refuse a
// damaged file without reading outside it, and a header they accept must hold its strip.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "output/formats/tiffRecognition.h"
#include "quicktime/qtImageReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> file(data, data + size);
  tagIMAGEINFO info{};
  if (Recognition_TIFF(file.data(), file.size(), &info) == 1) {
    if (uint64_t(info.StripOffsets) + info.StripByteCounts > size) std::abort();
    if (info.StripByteCounts != TIFFRowBytes(info) * info.ImageLength) std::abort();
  }
  int32_t w = 0, h = 0;
  if (QTTIFFSize(file, &w, &h) && uint64_t(w) * h <= (1u << 20)) {
    auto reader = QTOpenTIFF(file);
    std::vector<uint8_t> row(size_t(w) * 3);
    while (reader && reader->NextRow(row.data())) {
    }
  }
  return 0;
}
