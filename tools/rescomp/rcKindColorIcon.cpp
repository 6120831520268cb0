// 'cicn' colour icons from PNG artwork: 8-bit pixels with the artwork's own colours (the
// system table when it has more than 256), the mask from its opaque pixels and a 1-bit
// image from their darkness.
//
//   cicn 128 { png "${RESOURCES}/copy-icon.png" }
#include <algorithm>
#include <map>

#include "quickdraw/qdPort.h"
#include "tools/rescomp/rcArtwork.h"
#include "tools/rescomp/rcKinds.h"
#include "toolbox/MacMemory.h"

namespace {

void put16(std::vector<uint8_t>* out, uint32_t v) {
  out->push_back(uint8_t(v >> 8));
  out->push_back(uint8_t(v));
}
void put32(std::vector<uint8_t>* out, uint32_t v) {
  put16(out, v >> 16);
  put16(out, v & 0xFFFF);
}
void putBitMap(std::vector<uint8_t>* out, int rowBytes, int w, int h) {
  put32(out, 0);
  put16(out, static_cast<uint32_t>(rowBytes));
  put16(out, 0);
  put16(out, 0);
  put16(out, static_cast<uint32_t>(h));
  put16(out, static_cast<uint32_t>(w));
}

void compileColorIcon(RcLexer& lex, std::vector<uint8_t>* out) {
  const int line = lex.peek().line;
  const qdImage image = rcReadArtwork(lex);
  const int w = image.width, h = image.height;
  if (w > 256 || h > 256) throw RcError(line, "a colour icon is at most 256 pixels a side");
  const int bitRowBytes = ((w + 15) / 16) * 2, pixRowBytes = ((w + 1) / 2) * 2;

  // The palette: the artwork's colours in order of first use, white first.
  std::map<uint32_t, int> index{{0xFFFFFF, 0}};
  std::vector<uint32_t> palette{0xFFFFFF};
  for (uint32_t p : image.argb) {
    uint32_t c = rcOverWhite(p);
    if (rcOpaque(p) && !index.count(c) && palette.size() <= 256) {
      index[c] = static_cast<int>(palette.size());
      palette.push_back(c);
    }
  }
  CTabHandle system = nullptr;
  if (palette.size() > 256) {
    system = qdStandardTable(8);
    palette.clear();
    for (int i = 0; i < 256; ++i) palette.push_back(qdRGB24((*system)->ctTable[i].rgb));
  }
  qdPixels systemPixels;
  systemPixels.depth = 8;
  systemPixels.table = system;

  out->clear();
  put32(out, 0);  // PixMap
  put16(out, 0x8000u | static_cast<uint32_t>(pixRowBytes));
  put16(out, 0);
  put16(out, 0);
  put16(out, static_cast<uint32_t>(h));
  put16(out, static_cast<uint32_t>(w));
  put16(out, 0);
  put16(out, 0);
  put32(out, 0);
  put32(out, 72u << 16);
  put32(out, 72u << 16);
  put16(out, 0);
  put16(out, 8);
  put16(out, 1);
  put16(out, 8);
  put32(out, 0);
  put32(out, 0);
  put32(out, 0);
  putBitMap(out, bitRowBytes, w, h);  // mask
  putBitMap(out, bitRowBytes, w, h);  // 1-bit image
  put32(out, 0);                      // icon data handle
  for (int pass = 0; pass < 2; ++pass)
    for (int y = 0; y < h; ++y)
      for (int b = 0; b < bitRowBytes; ++b) {
        uint8_t byte = 0;
        for (int bit = 0; bit < 8; ++bit) {
          int x = b * 8 + bit;
          if (x >= w) continue;
          uint32_t p = image.At(x, y), c = rcOverWhite(p);
          bool set = pass == 0 ? rcOpaque(p) : rcOpaque(p) && ((c >> 16 & 0xFF) * 30 + (c >> 8 & 0xFF) * 59 + (c & 0xFF) * 11) < 12800;
          if (set) byte |= uint8_t(0x80 >> bit);
        }
        out->push_back(byte);
      }
  put32(out, 0);  // colour table
  put16(out, 0);
  put16(out, static_cast<uint32_t>(palette.size() - 1));
  for (size_t i = 0; i < palette.size(); ++i) {
    put16(out, static_cast<uint32_t>(i));
    put16(out, ((palette[i] >> 16) & 0xFF) * 257);
    put16(out, ((palette[i] >> 8) & 0xFF) * 257);
    put16(out, (palette[i] & 0xFF) * 257);
  }
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < pixRowBytes; ++x) {
      if (x >= w) {
        out->push_back(0);
        continue;
      }
      uint32_t c = rcOverWhite(image.At(x, y));
      out->push_back(static_cast<uint8_t>(system ? qdRGB24ToPixel(systemPixels, c) : index.count(c) ? index[c] : 0));
    }
  if (system) DisposeCTable(system);
}

}  // namespace

RcKind rcKindColorIcon() { return RcKind{"cicn", 'cicn', compileColorIcon}; }
