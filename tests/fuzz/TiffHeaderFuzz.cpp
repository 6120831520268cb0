// TIFF headers from outside: the system's reader and the importer's reader must refuse a
// damaged file without reading outside it, and a header they accept must hold its strip.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "output/formats/tiffRecognition.h"
#include "quicktime/qtImageReader.h"
#include "tests/fuzz/FuzzRoot.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"

namespace {

const std::string& FilePath() {
  static const std::string path = FuzzRoot("tiff") + "/page.tif";
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> bytes(data, data + size);
  tagIMAGEINFO info{};
  if (Recognition_TIFF(bytes.data(), bytes.size(), &info) == 1) {
    if (uint64_t(info.StripOffsets) + info.StripByteCounts > size) std::abort();
    if (info.StripByteCounts != TIFFRowBytes(info) * info.ImageLength) std::abort();
  }
  // The importer reads the file mapped, as it is on disk.
  std::FILE* f = std::fopen(FilePath().c_str(), "wb");
  if (!f) std::abort();
  if (size) std::fwrite(data, 1, size, f);
  std::fclose(f);
  FSSpec spec{};
  if (FSpMakeFromPOSIXPath(FilePath(), &spec) != noErr) std::abort();
  QTMappedFile file;
  if (file.Open(&spec) != noErr) return 0;
  int32_t w = 0, h = 0;
  if (QTTIFFSize(file, &w, &h) && uint64_t(w) * h <= (1u << 20)) {
    auto reader = QTOpenTIFF(file);
    std::vector<uint8_t> row(size_t(w) * 3);
    while (reader && reader->NextRow(row.data())) {
    }
  }
  return 0;
}
