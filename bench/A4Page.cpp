#include "A4Page.h"

#include <vector>

#include "output/formats/mtTIFF.h"

bool WritePage(const std::string& path, int width, int height, int seed) {
  MTHandle file = MTOpen(path.c_str(), "w");
  if (!file) return false;
  const unsigned long fields[][2] = {{kMTImageWidth, unsigned(width)}, {kMTImageLength, unsigned(height)}, {kMTBitsPerSample, 8},
                                     {kMTCompression, 1},       {kMTPhotometric, 2},         {kMTOrientation, 1},
                                     {kMTSamplesPerPixel, 3},   {kMTRowsPerStrip, unsigned(height)}};
  bool ok = true;
  for (const auto& f : fields) ok = ok && MTSetField(file, f[0], f[1]) == 1;
  ok = ok && MTSetField(file, kMTXResolution, 300, 1) == 1 && MTSetField(file, kMTYResolution, 300, 1) == 1 &&
       MTSetField(file, kMTPlanarConfig, 1) == 1 && MTSetField(file, kMTResolutionUnit, 2) == 1;
  std::vector<unsigned char> row(size_t(width) * 3);
  for (int y = 0; ok && y < height; ++y) {
    for (size_t i = 0; i < row.size(); ++i) row[i] = static_cast<unsigned char>(i * 7 + y * 3 + seed);
    ok = MTWriteScanline(file, row.data(), unsigned(y)) == 1;
  }
  return MTClose(file) != 0 && ok;
}

bool WriteA4Page(const std::string& path, int seed) { return WritePage(path, kA4Width, kA4Height, seed); }
