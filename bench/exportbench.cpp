// One raw colour page to a JPEG with its Exif segment, the way the export writes each page:
// the file exporter in 16-row strips, then the Exif rewrite.
//
//   exportbench -make-raw input.ppm output.dat     (the raw scan rows of a PPM's pixels)
//   exportbench input.dat width height dpi output.jpg
// Give WENDRIX_ROOT a scratch folder: the Exif thumbnail is made in the temporary folder.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "output/export/CFileExporter.h"
#include "output/hub/WXExif.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"

namespace {

int usage() {
  std::fprintf(stderr,
               "usage: exportbench -make-raw input.ppm output.dat\n"
               "       exportbench input.dat width height dpi output.jpg\n");
  return 2;
}

// A binary P6 with maxval 255 into even-padded R, G, B rows.
int MakeRaw(const char* in, const char* out) {
  std::ifstream file(in, std::ios::binary);
  std::string magic;
  long width = 0, height = 0, maxval = 0;
  file >> magic >> width >> height >> maxval;
  file.get();
  if (magic != "P6" || maxval != 255 || width <= 0 || height <= 0) return usage();
  const long row = 3 * width, padded = row + (row & 1);
  std::vector<char> bytes(size_t(padded), 0);
  std::ofstream raw(out, std::ios::binary);
  for (long y = 0; y < height; ++y) {
    file.read(bytes.data(), row);
    raw.write(bytes.data(), padded);
  }
  return file && raw ? 0 : 1;
}

FSSpec SpecOf(const char* path) {
  FSSpec spec{};
  FSpMakeFromPOSIXPath(path, &spec);
  return spec;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "-make-raw") return MakeRaw(argv[2], argv[3]);
  if (argc != 6) return usage();
  const long width = std::atol(argv[2]), height = std::atol(argv[3]), dpi = std::atol(argv[4]);
  FSSpec jpeg = SpecOf(argv[5]);
  CFileExporter exporter;
  exporter.SetParam('JPEG', SpecOf(argv[1]), jpeg, 32, width, height, IntToFixed(int(dpi)), 2, 'QlWX', 0);
  if (exporter.DoExport() != 1) return 1;
  return CWXUtility::AddExifInfoMainOnly(jpeg, width, height, dpi, 0, 0, 0, exporter.Thumbnail()) == 0 ? 0 : 1;
}
