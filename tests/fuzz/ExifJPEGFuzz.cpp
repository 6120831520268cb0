// JPEG files from outside: the Exif writer walks their markers and must refuse a damaged
// file without reading outside it.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "output/formats/ExifSettings.h"
#include "output/formats/ExifWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> jpeg(data, data + size);
  static const std::vector<uint8_t> thumbnail = {0xFF, 0xD8, 0xFF, 0xD9};
  static const ExifTagValues values =
      ExifTagValuesMainOnly(100, 100, 300, 0, 0, 0, {"Make", "Software", "Model", "2026:01:01 00:00:00"}, 4);
  std::vector<uint8_t> out;
  if (ExifBuildJPEG(jpeg, thumbnail, values, &out) == kExifNoErr && out.size() < 4) std::abort();
  return 0;
}
