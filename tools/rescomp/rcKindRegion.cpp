// 'XRGN' regions from PNG artwork: the opaque pixels, in the stored region format.
//
//   region 10000 { png "${RESOURCES}/main-window-shape.png" }
#include "quickdraw/qdRegion.h"
#include "tools/rescomp/rcArtwork.h"
#include "tools/rescomp/rcKinds.h"

namespace {

void compileRegion(RcLexer& lex, std::vector<uint8_t>* out) {
  const int line = lex.peek().line;
  const qdImage image = rcReadArtwork(lex);
  if (image.width > 4096 || image.height > 4096) throw RcError(line, "a region is at most 4096 pixels a side");
  std::vector<qdBand> bands;
  for (int y = 0; y < image.height; ++y) {
    qdBand b{y, y + 1, {}};
    bool in = false;
    for (int x = 0; x <= image.width; ++x) {
      bool opaque = x < image.width && rcOpaque(image.At(x, y));
      if (opaque != in) {
        b.xs.push_back(x);
        in = opaque;
      }
    }
    bands.push_back(std::move(b));
  }
  if (!qdRegionToStored(qdRegion::FromBands(std::move(bands)), out))
    throw RcError(line, "the region needs more than 32767 bytes");
}

}  // namespace

RcKind rcKindRegion() { return RcKind{"region", 'XRGN', compileRegion}; }
