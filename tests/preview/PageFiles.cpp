#include "tests/preview/PageFiles.h"

#include <vector>

#include "output/formats/mtTIFF.h"

namespace wxtest {

bool WriteQuarterPage(const std::filesystem::path& path, int w, int h, const std::array<RGB, 4>& quarters) {
  MTHandle file = MTOpen(path.c_str(), "w");
  if (!file) return false;
  const unsigned long fields[][2] = {{kMTImageWidth, unsigned(w)}, {kMTImageLength, unsigned(h)},
                                     {kMTBitsPerSample, 8},        {kMTCompression, 1},
                                     {kMTPhotometric, 2},          {kMTOrientation, 1},
                                     {kMTSamplesPerPixel, 3},      {kMTRowsPerStrip, unsigned(h)}};
  bool ok = true;
  for (const auto& f : fields) ok = ok && MTSetField(file, f[0], f[1]) == 1;
  ok = ok && MTSetField(file, kMTXResolution, 300, 1) == 1 && MTSetField(file, kMTYResolution, 300, 1) == 1 &&
       MTSetField(file, kMTPlanarConfig, 1) == 1 && MTSetField(file, kMTResolutionUnit, 2) == 1;
  std::vector<uint8_t> row(3 * size_t(w));
  for (int y = 0; ok && y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const bool right = x >= w / 2, bottom = y >= h / 2;
      const RGB& c = quarters[bottom ? (right ? 2 : 3) : (right ? 1 : 0)];
      std::copy(c.begin(), c.end(), row.begin() + 3 * x);
    }
    ok = MTWriteScanline(file, row.data(), unsigned(y)) == 1;
  }
  return MTClose(file) != 0 && ok;
}

FSSpec SpecOf(const std::filesystem::path& path) {
  FSSpec spec{};
  FSpMakeFromPOSIXPath(path.string(), &spec);
  return spec;
}

}  // namespace wxtest
