// Files handed to the graphics importer (JPEG, TIFF, PICT) come from anywhere: whatever the
// bytes, opening the file and drawing it into a thumbnail's box ends cleanly.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/fuzz/FuzzRoot.h"
#include "quickdraw/QDOffscreen.h"
#include "quicktime/QuickTime.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"

namespace {

const std::string& FilePath() {
  static const std::string path = FuzzRoot("import") + "/image";
  return path;
}

// The 160 x 120 box of a thumbnail, on black.
GWorldPtr Thumbnail() {
  static GWorldPtr world = [] {
    Rect r{0, 0, 120, 160};
    GWorldPtr w = nullptr;
    NewGWorld(&w, 32, &r, nullptr, nullptr, 0);
    return w;
  }();
  return world;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::FILE* f = std::fopen(FilePath().c_str(), "wb");
  if (!f) std::abort();
  if (size) std::fwrite(data, 1, size, f);
  std::fclose(f);
  FSSpec spec{};
  if (FSpMakeFromPOSIXPath(FilePath(), &spec) != noErr || !Thumbnail()) std::abort();
  GraphicsImportComponent importer = nullptr;
  if (GetGraphicsImporterForFile(&spec, &importer) != noErr) return 0;
  Rect natural{};
  GraphicsImportGetNaturalBounds(importer, &natural);
  // The image fitted into the box, as the Exif thumbnail draws it.
  const long w = std::max(1, natural.right - natural.left), h = std::max(1, natural.bottom - natural.top);
  long bw = 160, bh = 120;
  if (160 * h <= 120 * w)
    bh = std::max(1L, h * 160 / w);
  else
    bw = std::max(1L, w * 120 / h);
  const Rect box{0, 0, static_cast<SInt16>(bh), static_cast<SInt16>(bw)};
  GraphicsImportSetGWorld(importer, Thumbnail(), nullptr);
  GraphicsImportSetBoundsRect(importer, &box);
  GraphicsImportDraw(importer);
  CloseComponent(importer);
  return 0;
}
