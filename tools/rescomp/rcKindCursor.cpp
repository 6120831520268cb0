// 'CURS' cursors from 16 x 16 PNG artwork: dark opaque pixels are black, light ones white,
// transparent ones show what is below; the hot spot is given in pixels.
//
//   cursor 130 { png "${RESOURCES}/hand.png" hotspot 7 1 }   # h v
#include "tools/rescomp/rcArtwork.h"
#include "tools/rescomp/rcKinds.h"

namespace {

void compileCursor(RcLexer& lex, std::vector<uint8_t>* out) {
  const int line = lex.peek().line;
  const qdImage image = rcReadArtwork(lex);
  if (image.width != 16 || image.height != 16) throw RcError(line, "a cursor is 16 x 16 pixels");
  long long h = 0, v = 0;
  if (lex.atWord("hotspot")) {
    lex.next();
    h = lex.expectInt(0, 15, "hot spot h");
    v = lex.expectInt(0, 15, "hot spot v");
  }
  out->assign(68, 0);
  for (int y = 0; y < 16; ++y) {
    uint16_t data = 0, mask = 0;
    for (int x = 0; x < 16; ++x) {
      uint32_t p = image.At(x, y), c = rcOverWhite(p);
      if (!rcOpaque(p)) continue;
      mask |= uint16_t(0x8000 >> x);
      if (((c >> 16 & 0xFF) * 30 + (c >> 8 & 0xFF) * 59 + (c & 0xFF) * 11) < 12800) data |= uint16_t(0x8000 >> x);
    }
    (*out)[y * 2] = uint8_t(data >> 8);
    (*out)[y * 2 + 1] = uint8_t(data);
    (*out)[32 + y * 2] = uint8_t(mask >> 8);
    (*out)[32 + y * 2 + 1] = uint8_t(mask);
  }
  (*out)[65] = static_cast<uint8_t>(v);
  (*out)[67] = static_cast<uint8_t>(h);
}

}  // namespace

RcKind rcKindCursor() { return RcKind{"cursor", 'CURS', compileCursor}; }
