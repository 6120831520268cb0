#include "tests/preview/PageFiles.h"

#include <vector>

#include "output/formats/mtTIFF.h"

namespace wxtest {

bool WritePage(const std::filesystem::path& path, int w, int h, int bits, int photometric,
               const std::vector<std::vector<uint8_t>>& rows) {
  MTHandle file = MTOpen(path.c_str(), "w");
  if (!file) return false;
  const unsigned long samples = bits == 24 ? 3 : 1;
  const unsigned long fields[][2] = {{kMTImageWidth, unsigned(w)},        {kMTImageLength, unsigned(h)},
                                     {kMTBitsPerSample, unsigned(bits / samples)}, {kMTCompression, 1},
                                     {kMTPhotometric, unsigned(photometric)}, {kMTOrientation, 1},
                                     {kMTSamplesPerPixel, samples},      {kMTRowsPerStrip, unsigned(h)}};
  bool ok = true;
  for (const auto& f : fields) ok = ok && MTSetField(file, f[0], f[1]) == 1;
  ok = ok && MTSetField(file, kMTXResolution, 300, 1) == 1 && MTSetField(file, kMTYResolution, 300, 1) == 1 &&
       MTSetField(file, kMTPlanarConfig, 1) == 1 && MTSetField(file, kMTResolutionUnit, 2) == 1;
  for (int y = 0; ok && y < h; ++y) ok = MTWriteScanline(file, rows[size_t(y)].data(), unsigned(y)) == 1;
  return MTClose(file) != 0 && ok;
}

bool WriteQuarterPage(const std::filesystem::path& path, int w, int h, const std::array<RGB, 4>& quarters) {
  std::vector<std::vector<uint8_t>> rows(size_t(h), std::vector<uint8_t>(3 * size_t(w)));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const bool right = x >= w / 2, bottom = y >= h / 2;
      const RGB& c = quarters[bottom ? (right ? 2 : 3) : (right ? 1 : 0)];
      std::copy(c.begin(), c.end(), rows[size_t(y)].begin() + 3 * x);
    }
  return WritePage(path, w, h, 24, 2, rows);
}

FSSpec SpecOf(const std::filesystem::path& path) {
  FSSpec spec{};
  FSpMakeFromPOSIXPath(path.string(), &spec);
  return spec;
}

}  // namespace wxtest
