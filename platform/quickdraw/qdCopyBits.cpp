// CopyBits: scaled pixel copies between any two bitmaps or pixel maps through a transfer
// mode, the destination port's clip and a mask region.
#include <vector>

#include "quickdraw/qdPicture.h"
#include "quickdraw/qdPort.h"

namespace {

uint32_t Mix(uint32_t s, uint32_t d, const RGBColor& w) {
  auto ch = [](uint32_t sv, uint32_t dv, uint32_t weight) {
    return (sv * weight + dv * (65536 - weight) + 32768) >> 16;
  };
  return (ch((s >> 16) & 0xFF, (d >> 16) & 0xFF, w.red) << 16) | (ch((s >> 8) & 0xFF, (d >> 8) & 0xFF, w.green) << 8) |
         ch(s & 0xFF, d & 0xFF, w.blue);
}

struct Transfer {
  SInt16 mode;
  uint32_t fg, bk;  // 0x00RRGGBB
  bool colorize;    // logical modes tint the source with the foreground and background
  RGBColor op;
  uint32_t key;     // transparent: the background colour as the source shows it

  // The new destination colour, or false to leave the pixel.
  bool Apply(uint32_t src, uint32_t dst, uint32_t* out) const {
    uint32_t c = colorize ? (((~src) & fg) | (src & bk)) & 0xFFFFFF : src;
    switch (mode) {
      case srcOr: *out = dst & c; return true;
      case srcXor: *out = dst ^ (~c & 0xFFFFFF); return true;
      case srcBic: *out = (dst | ~c) & 0xFFFFFF; return true;
      case notSrcCopy: *out = ~c & 0xFFFFFF; return true;
      case blend: *out = Mix(src, dst, op); return true;
      case transparent:
        if (src == key) return false;
        *out = src;
        return true;
      default: *out = c; return true;
    }
  }
};

}  // namespace

void CopyBits(const BitMap* srcBits, const BitMap* dstBits, const Rect* srcRect, const Rect* dstRect, SInt16 mode,
              RgnHandle maskRgn) {
  if (!srcBits || !dstBits || !srcRect || !dstRect) return;
  qdPixels s = qdPixelsOf(srcBits), d = qdPixelsOf(dstBits);
  GrafPtr port = qdCurrentPort();
  bool toPort = dstBits->baseAddr == (*port->pixMap)->baseAddr;
  qdRegion mask;
  if (maskRgn) mask = qdRegionOf(maskRgn);
  if (toPort && port->picture) {
    qdPicRecordBits(port, s, *srcRect, *dstRect, mode, maskRgn ? &mask : nullptr);
    return;
  }
  int sw = srcRect->right - srcRect->left, sh = srcRect->bottom - srcRect->top;
  int dw = dstRect->right - dstRect->left, dh = dstRect->bottom - dstRect->top;
  if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0 || !s.base || !d.base) return;
  qdRegion area = qdRegion::FromRect(*dstRect).IntersectedRect(d.bounds);
  if (toPort) area = area.Intersected(qdPortClip(port));
  if (maskRgn) area = area.Intersected(mask);
  if (area.IsEmpty()) return;

  // The source as colours, read once (it may be the destination itself), where it exists.
  Rect have;
  if (!SectRect(srcRect, &s.bounds, &have)) return;
  int hw = have.right - have.left, hh = have.bottom - have.top;
  std::vector<uint32_t> colors(static_cast<size_t>(hw) * hh);
  for (int y = 0; y < hh; ++y)
    for (int x = 0; x < hw; ++x)
      colors[static_cast<size_t>(y) * hw + x] = qdPixelToRGB24(s, qdGetPixel(s, have.left + x, have.top + y));

  Transfer t;
  t.mode = static_cast<SInt16>(mode & ~ditherCopy);
  t.fg = qdRGB24(port->fg);
  t.bk = qdRGB24(port->bk);
  t.colorize = t.mode < patCopy && (t.fg != 0 || t.bk != 0xFFFFFF);
  t.op = port->op;
  t.key = qdPixelToRGB24(s, qdRGBToPixel(s, port->bk));

  // Source column and row of each destination pixel, in `have` coordinates (-1: none).
  auto sourceOf = [](int d, int dStart, int dLen, int sStart, int sLen, int haveStart, int haveLen) {
    int v = sStart + static_cast<int>(static_cast<long>(d - dStart) * sLen / dLen) - haveStart;
    return v >= 0 && v < haveLen ? v : -1;
  };
  for (const qdBand& b : area.Bands())
    for (int32_t y = b.top; y < b.bottom; ++y) {
      int row = sourceOf(y, dstRect->top, dh, srcRect->top, sh, have.top, hh);
      if (row < 0) continue;
      for (size_t k = 0; k + 1 < b.xs.size(); k += 2)
        for (int32_t x = b.xs[k]; x < b.xs[k + 1]; ++x) {
          int col = sourceOf(x, dstRect->left, dw, srcRect->left, sw, have.left, hw);
          if (col < 0) continue;
          size_t i = static_cast<size_t>(row) * hw + col;
          uint32_t dst = t.mode == srcCopy || t.mode == notSrcCopy || t.mode == transparent ? 0 : qdPixelToRGB24(d, qdGetPixel(d, x, y));
          uint32_t out;
          if (t.Apply(colors[i], dst, &out)) qdSetPixel(d, x, y, qdRGB24ToPixel(d, out));
        }
    }
}
