// CopyBits: scaled pixel copies between any two bitmaps or pixel maps through a transfer
// mode, the destination port's clip and a mask region.
#include <cstring>
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
  GrafPtr port = qdCurrentPort();
  // Before the destination's pixels are looked at: a port that makes its pixels at their
  // first use need not make them for a copy its own procedure takes.
  const Ptr portBase = (*port->pixMap)->baseAddr;
  bool toPort = dstBits == GetPortBitMapForCopyBits(port) || (portBase && dstBits->baseAddr == portBase);
  if (toPort && !port->picture && port->procs && port->procs->bitsProc) {
    port->procs->bitsProc(srcBits, srcRect, dstRect, mode, maskRgn);
    return;
  }
  qdPixels s = qdPixelsOf(srcBits), d = qdPixelsOf(dstBits);
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

  Transfer t;
  t.mode = static_cast<SInt16>(mode & ~ditherCopy);
  t.fg = qdRGB24(port->fg);
  t.bk = qdRGB24(port->bk);
  t.colorize = t.mode < patCopy && (t.fg != 0 || t.bk != 0xFFFFFF);
  t.op = port->op;
  t.key = qdPixelToRGB24(s, qdRGBToPixel(s, port->bk));

  // A copy within one buffer reads a snapshot of the source; otherwise pixels are read as
  // they are needed, so a large source scaled down costs only what is drawn.
  std::vector<uint8_t> snapshot;
  qdPixels from = s;
  if (s.base == d.base) {
    from.rowBytes = s.depth == 32 ? hw * 4L : (static_cast<long>(hw) * s.depth + 7) / 8 + 1;
    from.bounds = have;
    snapshot.resize(static_cast<size_t>(from.rowBytes) * hh);
    from.base = snapshot.data();
    for (int y = have.top; y < have.bottom; ++y)
      for (int x = have.left; x < have.right; ++x) qdSetPixel(from, x, y, qdGetPixel(s, x, y));
  }

  // Source column and row of each destination pixel (-1: outside the source's pixels).
  auto sourceOf = [](int dv, int dStart, int dLen, int sStart, int sLen, int haveStart, int haveLen) {
    int v = sStart + static_cast<int>(static_cast<long>(dv - dStart) * sLen / dLen);
    return v >= haveStart && v < haveStart + haveLen ? v : -1;
  };
  std::vector<int> columns(static_cast<size_t>(dw));
  for (int x = 0; x < dw; ++x) columns[x] = sourceOf(dstRect->left + x, dstRect->left, dw, srcRect->left, sw, have.left, hw);
  bool plain = s.depth == 32 && d.depth == 32 && t.mode == srcCopy && !t.colorize;
  for (const qdBand& b : area.Bands())
    for (int32_t y = b.top; y < b.bottom; ++y) {
      int row = sourceOf(y, dstRect->top, dh, srcRect->top, sh, have.top, hh);
      if (row < 0) continue;
      const auto* srcRow = from.base + static_cast<long>(row - from.bounds.top) * from.rowBytes;
      auto* dstRow = d.base + static_cast<long>(y - d.bounds.top) * d.rowBytes;
      for (size_t k = 0; k + 1 < b.xs.size(); k += 2)
        for (int32_t x = b.xs[k]; x < b.xs[k + 1]; ++x) {
          int col = columns[static_cast<size_t>(x - dstRect->left)];
          if (col < 0) continue;
          if (plain) {
            std::memcpy(dstRow + (x - d.bounds.left) * 4, srcRow + (col - from.bounds.left) * 4, 4);
            continue;
          }
          uint32_t src = qdPixelToRGB24(from, qdGetPixel(from, col, row));
          uint32_t dst = t.mode == srcCopy || t.mode == notSrcCopy || t.mode == transparent ? 0 : qdPixelToRGB24(d, qdGetPixel(d, x, y));
          uint32_t out;
          if (t.Apply(src, dst, &out)) qdSetPixel(d, x, y, qdRGB24ToPixel(d, out));
        }
    }
}
