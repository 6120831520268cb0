// Recording pictures: OpenCPicture writes the version 2 header and the clip, drawing calls
// append their opcodes, ClosePicture ends the picture. Bytes after the 10-byte size-and-frame
// header go to the port's putPicProc when it has one, else into the picture handle.
#include "quickdraw/qdPicture.h"

#include <algorithm>
#include <cstring>

#include "quickdraw/qdPackBits.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"
#include "toolbox/RecordAccess.h"

namespace {

constexpr size_t kHeaderSize = 10;  // size word and frame

class Writer {
 public:
  void U8(uint8_t v) { mBytes.push_back(v); }
  void U16(uint16_t v) {
    U8(uint8_t(v >> 8));
    U8(uint8_t(v));
  }
  void U32(uint32_t v) {
    U16(uint16_t(v >> 16));
    U16(uint16_t(v));
  }
  void R(const Rect& r) {
    U16(uint16_t(r.top));
    U16(uint16_t(r.left));
    U16(uint16_t(r.bottom));
    U16(uint16_t(r.right));
  }
  void P(Point p) {
    U16(uint16_t(p.v));
    U16(uint16_t(p.h));
  }
  void Color(const RGBColor& c) {
    U16(c.red);
    U16(c.green);
    U16(c.blue);
  }
  void Bytes(const void* p, size_t n) { mBytes.insert(mBytes.end(), static_cast<const uint8_t*>(p), static_cast<const uint8_t*>(p) + n); }
  // A region too big or too far out for the stored form goes as its bounding rectangle,
  // which always fits, so the picture stays readable past it.
  void Region(const qdRegion& r) {
    std::vector<uint8_t> stored;
    if (!qdRegionToStored(r, &stored)) qdRegionToStored(qdRegion::FromRect(r.Bounds()), &stored);
    Bytes(stored.data(), stored.size());
  }
  // Opcodes start on even offsets of the picture.
  void Align() {
    if ((mFlushed + mBytes.size()) & 1) U8(0);
  }
  std::vector<uint8_t>& bytes() { return mBytes; }
  void Flushed() {
    mFlushed += mBytes.size();
    mBytes.clear();
  }

 private:
  std::vector<uint8_t> mBytes;
  size_t mFlushed = 0;
};

void Emit(GrafPtr port, Writer& w) {
  qdPicRecorder* rec = port->picture;
  std::vector<uint8_t>& bytes = w.bytes();
  if (bytes.empty() || rec->failed) return;
  if (port->procs && port->procs->putPicProc) {
    for (size_t at = 0; at < bytes.size(); at += 0x4000) {
      size_t n = std::min<size_t>(0x4000, bytes.size() - at);
      port->procs->putPicProc(bytes.data() + at, static_cast<SInt16>(n));
    }
  } else {
    Handle h = reinterpret_cast<Handle>(rec->pic);
    Size old = GetHandleSize(h);
    SetHandleSize(h, old + static_cast<Size>(bytes.size()));
    if (MemError() != noErr) {
      rec->failed = true;
      qdSetLastError(memFullErr);
      return;
    }
    std::memcpy(*h + old, bytes.data(), bytes.size());
  }
  rec->written += static_cast<Size>(bytes.size());
  w.Flushed();
}

// State opcodes for what changed since the picture last said it.
void SyncState(GrafPtr port, Writer& w, bool pen, bool text) {
  qdPicRecorder* rec = port->picture;
  // Only the frame can show; a wide-open clip is recorded as the frame, which readers expect.
  qdRegion clip = qdRegionOf(port->clipRgn).IntersectedRect(rec->frame);
  if (!rec->clipSent || !(clip == rec->clip)) {
    w.U16(0x0001);
    w.Region(clip);
    w.Align();
    rec->clip = clip;
    rec->clipSent = true;
  }
  auto same = [](const RGBColor& a, const RGBColor& b) { return a.red == b.red && a.green == b.green && a.blue == b.blue; };
  if (!same(port->fg, rec->fg)) {
    w.U16(0x001A);
    w.Color(port->fg);
    rec->fg = port->fg;
  }
  if (!same(port->bk, rec->bk)) {
    w.U16(0x001B);
    w.Color(port->bk);
    rec->bk = port->bk;
  }
  if (pen) {
    if (!EqualPt(port->pen.pnSize, rec->penSize)) {
      w.U16(0x0007);
      w.P(port->pen.pnSize);
      rec->penSize = port->pen.pnSize;
    }
    if (port->pen.pnMode != rec->penMode) {
      w.U16(0x0008);
      w.U16(uint16_t(port->pen.pnMode));
      rec->penMode = port->pen.pnMode;
    }
    if (std::memcmp(&port->pen.pnPat, &rec->penPat, sizeof(Pattern)) != 0) {
      w.U16(0x0009);
      w.Bytes(port->pen.pnPat.pat, 8);
      rec->penPat = port->pen.pnPat;
    }
  }
  if (text) {
    if (port->txFont != rec->txFont) {
      w.U16(0x0003);
      w.U16(uint16_t(port->txFont));
      rec->txFont = port->txFont;
    }
    if (port->txFace != rec->txFace) {
      w.U16(0x0004);
      w.U8(port->txFace);
      w.Align();
      rec->txFace = port->txFace;
    }
    if (port->txMode != rec->txMode) {
      w.U16(0x0005);
      w.U16(uint16_t(port->txMode));
      rec->txMode = port->txMode;
    }
    if (port->txSize != rec->txSize) {
      w.U16(0x000D);
      w.U16(uint16_t(port->txSize));
      rec->txSize = port->txSize;
    }
  }
}

}  // namespace

PicHandle OpenCPicture(const OpenCPicParams* params) {
  GrafPtr port = qdCurrentPort();
  if (!params || port->picture) {
    qdSetLastError(paramErr);
    return nullptr;
  }
  auto pic = reinterpret_cast<PicHandle>(NewHandleClear(kHeaderSize));
  if (!pic) {
    qdSetLastError(memFullErr);
    return nullptr;
  }
  RecordBytes head(*pic, kHeaderSize);
  head.setU16(0, kHeaderSize);
  head.setI16(2, params->srcRect.top);
  head.setI16(4, params->srcRect.left);
  head.setI16(6, params->srcRect.bottom);
  head.setI16(8, params->srcRect.right);
  auto rec = new qdPicRecorder;
  rec->pic = pic;
  rec->frame = params->srcRect;
  rec->written = kHeaderSize;
  port->picture = rec;
  HidePen();
  Writer w;
  w.U16(0x0011);  // version
  w.U16(0x02FF);
  w.U16(0x0C00);  // header
  w.U16(0xFFFE);
  w.U16(0);
  w.U32(static_cast<uint32_t>(params->hRes));
  w.U32(static_cast<uint32_t>(params->vRes));
  w.R(params->srcRect);
  w.U32(0);
  w.U16(0x001E);  // default highlight
  Emit(port, w);
  qdSetLastError(noErr);
  return pic;
}

PicHandle OpenPicture(const Rect* frame) {
  OpenCPicParams params{*frame, IntToFixed(72), IntToFixed(72), -2, 0, 0};
  return OpenCPicture(&params);
}

void ClosePicture() {
  GrafPtr port = qdCurrentPort();
  qdPicRecorder* rec = port->picture;
  if (!rec) return;
  Writer w;
  w.U16(0x00FF);
  Emit(port, w);
  if (!(port->procs && port->procs->putPicProc)) BEPutU16(*rec->pic, static_cast<uint16_t>(rec->written & 0xFFFF));
  port->picture = nullptr;
  ShowPen();
  delete rec;
}

void KillPicture(PicHandle pic) {
  if (pic) DisposeHandle(reinterpret_cast<Handle>(pic));
}

Rect* QDGetPictureBounds(PicHandle pic, Rect* bounds) {
  *bounds = Rect{0, 0, 0, 0};
  if (pic && *pic && GetHandleSize(reinterpret_cast<Handle>(pic)) >= static_cast<Size>(kHeaderSize)) {
    RecordBytes head(*pic, kHeaderSize);
    *bounds = Rect{head.i16(2), head.i16(4), head.i16(6), head.i16(8)};
  }
  return bounds;
}

void PicComment(SInt16 kind, SInt16 dataSize, Handle data) {
  GrafPtr port = qdCurrentPort();
  if (!port->picture) return;
  Writer w;
  if (dataSize <= 0 || !data) {
    w.U16(0x00A0);
    w.U16(uint16_t(kind));
  } else {
    w.U16(0x00A1);
    w.U16(uint16_t(kind));
    w.U16(uint16_t(dataSize));
    w.Bytes(*data, static_cast<size_t>(dataSize));
    w.Align();
  }
  Emit(port, w);
}

void qdPicRecordShape(GrafPtr port, qdShape shape, qdVerb verb, const Rect& r, const Pattern* fillPat, const qdRegion* region) {
  qdPicRecorder* rec = port->picture;
  Writer w;
  SyncState(port, w, verb == qdVerb::Frame || verb == qdVerb::Paint, false);
  if (verb == qdVerb::Fill && fillPat && std::memcmp(fillPat, &rec->fillPat, sizeof(Pattern)) != 0) {
    w.U16(0x000A);
    w.Bytes(fillPat->pat, 8);
    rec->fillPat = *fillPat;
  }
  if (verb == qdVerb::Erase) {
    w.U16(0x0002);  // the background pattern erase uses
    w.Bytes(port->bkPat.pat, 8);
  }
  if (shape == qdShape::RoundRect && !EqualPt(port->ovalSize, rec->ovalSize)) {
    w.U16(0x000B);
    w.P(port->ovalSize);
    rec->ovalSize = port->ovalSize;
  }
  w.U16(static_cast<uint16_t>(static_cast<int>(shape) + static_cast<int>(verb)));
  if (shape == qdShape::Region) w.Region(region ? *region : qdRegion());
  else w.R(r);
  w.Align();
  Emit(port, w);
}

void qdPicRecordLine(GrafPtr port, Point from, Point to) {
  Writer w;
  SyncState(port, w, true, false);
  w.U16(0x0020);
  w.P(from);
  w.P(to);
  Emit(port, w);
}

void qdPicRecordText(GrafPtr port, Point at, const uint8_t* text, int length) {
  Writer w;
  SyncState(port, w, false, true);
  // The opcode's count byte holds at most 255 bytes; DrawText runs are Pascal-sized.
  int n = std::min(255, length);
  w.U16(0x0028);
  w.P(at);
  w.U8(static_cast<uint8_t>(n));
  w.Bytes(text, static_cast<size_t>(n));
  w.Align();
  Emit(port, w);
}

// Pixels: 32-bit sources as DirectBitsRect (packed component planes, PackBits per row),
// 1- and 8-bit sources as PackBitsRect with their colour table. A mask makes them the
// region variants.
void qdPicRecordBits(GrafPtr port, const qdPixels& src, const Rect& srcRect, const Rect& dstRect, SInt16 mode,
                     const qdRegion* mask) {
  qdPicRecorder* rec = port->picture;
  Rect area;
  SectRect(&srcRect, &src.bounds, &area);
  int width = area.right - area.left, height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return;
  bool direct = src.depth == 32;
  long rowBytes = direct ? width * 4L : ((static_cast<long>(width) * src.depth + 15) / 16) * 2;
  if (rowBytes > kRowBytesMask - 1) {
    rec->failed = true;
    qdSetLastError(paramErr);
    return;
  }
  // The destination rectangle follows the part of the source that exists.
  int sw = srcRect.right - srcRect.left, sh = srcRect.bottom - srcRect.top;
  int dw = dstRect.right - dstRect.left, dh = dstRect.bottom - dstRect.top;
  Rect dst{static_cast<SInt16>(dstRect.top + (area.top - srcRect.top) * dh / sh),
           static_cast<SInt16>(dstRect.left + (area.left - srcRect.left) * dw / sw),
           static_cast<SInt16>(dstRect.top + (area.bottom - srcRect.top) * dh / sh),
           static_cast<SInt16>(dstRect.left + (area.right - srcRect.left) * dw / sw)};
  Writer w;
  SyncState(port, w, false, false);
  w.U16(static_cast<uint16_t>((direct ? 0x009A : 0x0098) + (mask ? 1 : 0)));
  if (direct) w.U32(0x000000FF);
  w.U16(static_cast<uint16_t>(rowBytes | 0x8000));
  w.R(area);
  w.U16(0);                        // pmVersion
  w.U16(direct ? 4 : 0);           // packType: component planes / default
  w.U32(0);                        // packSize
  w.U32(static_cast<uint32_t>(IntToFixed(72)));
  w.U32(static_cast<uint32_t>(IntToFixed(72)));
  w.U16(direct ? RGBDirect : 0);   // pixelType
  w.U16(static_cast<uint16_t>(src.depth));
  w.U16(direct ? 3 : 1);           // cmpCount
  w.U16(static_cast<uint16_t>(direct ? 8 : src.depth));
  w.U32(0);                        // planeBytes
  w.U32(0);                        // pmTable
  w.U32(0);                        // pmReserved
  if (!direct) {
    int entries = 1 << src.depth;
    w.U32(0);       // ctSeed
    w.U16(0x8000);  // ctFlags: entries in index order
    w.U16(static_cast<uint16_t>(entries - 1));
    for (int i = 0; i < entries; ++i) {
      w.U16(static_cast<uint16_t>(i));
      w.Color(qdRGBColor(qdPixelToRGB24(src, static_cast<uint32_t>(i))));
    }
  }
  w.R(area);
  w.R(dst);
  w.U16(static_cast<uint16_t>(mode));
  if (mask) w.Region(*mask);
  std::vector<uint8_t> row(static_cast<size_t>(direct ? width * 3 : rowBytes)), packed;
  for (int y = area.top; y < area.bottom; ++y) {
    std::fill(row.begin(), row.end(), 0);
    for (int x = area.left; x < area.right; ++x) {
      uint32_t v = qdGetPixel(src, x, y);
      int i = x - area.left;
      if (direct) {
        row[i] = uint8_t(v >> 16);
        row[width + i] = uint8_t(v >> 8);
        row[2 * width + i] = uint8_t(v);
      } else if (src.depth == 8) {
        row[i] = uint8_t(v);
      } else if (v & 1) {
        row[i >> 3] |= uint8_t(0x80 >> (i & 7));
      }
    }
    if (rowBytes < 8) {  // unpacked: a direct row is its three planes, not rowBytes
      w.Bytes(row.data(), row.size());
      continue;
    }
    packed.clear();
    qdPackBits(row.data(), row.size(), &packed);
    if (rowBytes > 250) w.U16(static_cast<uint16_t>(packed.size()));
    else w.U8(static_cast<uint8_t>(packed.size()));
    w.Bytes(packed.data(), packed.size());
    if (w.bytes().size() > 0x10000) Emit(port, w);
  }
  w.Align();
  Emit(port, w);
}
