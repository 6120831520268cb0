// DrawPicture: plays PICT version 1 and 2 opcodes into the current port, scaling the
// picture's frame onto the destination rectangle. Damaged or unknown data ends playback
// where it starts; what was drawn before stays.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "quickdraw/QuickDrawText.h"
#include "quickdraw/qdArcPoly.h"
#include "quickdraw/qdDraw.h"
#include "quickdraw/qdPackBits.h"
#include "quickdraw/qdPicture.h"
#include "toolbox/ByteReader.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"

namespace {

constexpr size_t kMaxPixelBytes = size_t(256) << 20;  // a picture's single image

// The picture's own records on top of the checked reader.
class Reader : public ByteReader {
 public:
  using ByteReader::ByteReader;
  Rect R() {
    Rect r;
    r.top = S16();
    r.left = S16();
    r.bottom = S16();
    r.right = S16();
    return r;
  }
  Point P() {
    Point p;
    p.v = S16();
    p.h = S16();
    return p;
  }
  RGBColor Color() {
    RGBColor c;
    c.red = U16();
    c.green = U16();
    c.blue = U16();
    return c;
  }
  bool Region(qdRegion* out) {
    const size_t size = U16At(at());
    const uint8_t* p = Bytes(size);
    return p && qdRegionFromStored(p, size, out);
  }
  void AlignFrom(size_t start) {
    if ((at() - start) & 1) Skip(1);
  }
};

// Maps picture-frame coordinates onto the destination rectangle. Products of a picture's
// coordinate and the destination's size pass 32 bits, so they are taken in 64 and kept
// far enough inside 32 to add an origin.
int32_t ScaleSpan(int64_t v, int64_t fromSize, int64_t toSize) {
  constexpr int64_t kLimit = int64_t(1) << 30;
  return static_cast<int32_t>(std::clamp<int64_t>(v * toSize / fromSize, -kLimit, kLimit));
}

struct Mapping {
  Rect from, to;
  int32_t X(int32_t x) const {
    int fw = from.right - from.left;
    return fw ? to.left + ScaleSpan(int64_t(x) - from.left, fw, to.right - to.left) : to.left;
  }
  int32_t Y(int32_t y) const {
    int fh = from.bottom - from.top;
    return fh ? to.top + ScaleSpan(int64_t(y) - from.top, fh, to.bottom - to.top) : to.top;
  }
  SInt16 Sx(int32_t x) const { return static_cast<SInt16>(std::clamp<int32_t>(X(x), -32767, 32767)); }
  SInt16 Sy(int32_t y) const { return static_cast<SInt16>(std::clamp<int32_t>(Y(y), -32767, 32767)); }
  Rect MapRect(const Rect& r) const { return Rect{Sy(r.top), Sx(r.left), Sy(r.bottom), Sx(r.right)}; }
  Point MapPt(Point p) const { return Point{Sy(p.v), Sx(p.h)}; }
  qdRegion MapRegion(const qdRegion& r) const {
    std::vector<qdBand> bands;
    for (const qdBand& b : r.Bands()) {
      qdBand m{Y(b.top), Y(b.bottom), {}};
      for (int32_t x : b.xs) m.xs.push_back(X(x));
      bands.push_back(std::move(m));
    }
    return qdRegion::FromBands(std::move(bands));
  }
  // Lengths (pen sizes, text sizes) scale by the vertical ratio, never below 1.
  SInt16 ScaleV(int32_t v) const {
    int fh = from.bottom - from.top;
    return static_cast<SInt16>(fh ? std::clamp<int32_t>(ScaleSpan(v, fh, to.bottom - to.top), 1, 32767) : v);
  }
  SInt16 ScaleH(int32_t v) const {
    int fw = from.right - from.left;
    return static_cast<SInt16>(fw ? std::clamp<int32_t>(ScaleSpan(v, fw, to.right - to.left), 1, 32767) : v);
  }
};

struct PortState {
  PenState pen;
  RGBColor fg, bk;
  Pattern bkPat;
  SInt16 txFont, txSize;
  Style txFace;
  SInt16 txMode;
  RgnHandle clip;
};

// How much drawing a picture may ask for: far more than any real picture does (many times
// its destination covered, and a share for every byte), so that a damaged or hostile one
// ends with an error instead of hanging whoever plays it.
constexpr uint64_t kWorkFloor = uint64_t(1) << 22;
constexpr uint64_t kWorkPerByte = 16;
constexpr uint64_t kWorkPerDestinationPixel = 16;

uint64_t AreaOf(const Rect& r) {
  return r.right > r.left && r.bottom > r.top ? uint64_t(r.right - r.left) * uint64_t(r.bottom - r.top) : 0;
}

class Player {
 public:
  Player(GrafPtr port, const Mapping& map, uint64_t work) : mPort(port), mMap(map), mWorkLeft(work), mWorkStart(qdDrawWork()) {
    mBaseClip = qdRegionOf(port->clipRgn);
  }
  void Run(Reader& r, bool version2);
  bool OverLimit() const { return qdDrawWork() - mWorkStart + mWorkExtra > mWorkLeft; }

 private:
  bool Pixels(Reader& r, uint16_t op);
  void Shape(qdShape shape, int verbCode, const Rect& r);
  void Arc(int verbCode, const Rect& r, int startAngle, int arcAngle);
  void Polygon(int verbCode, const std::vector<Point>& points);
  void Fill(qdVerb verb, const qdRegion& area);
  Rect Visible() const;
  void Text(Point at, Reader& r, size_t count);
  void Line(Point from, Point to);
  // Takes `units` of work beyond what the fill engine counts itself; false past the limit.
  bool Spend(uint64_t units);
  uint64_t AreaVisible(const Rect& r) const;

  GrafPtr mPort;
  Mapping mMap;
  uint64_t mWorkLeft;
  uint64_t mWorkStart;
  uint64_t mWorkExtra = 0;
  qdRegion mBaseClip;
  Rect mLastRect[3] = {};  // for the "same" opcodes: rect, round rect, oval
  Rect mLastArc = {0, 0, 0, 0};
  std::vector<Point> mLastPolygon;
  Pattern mFillPat = kQDBlackPattern;
  Point mPenFrame = {0, 0};  // pen position in picture coordinates
  Point mTextAt = {0, 0};
};

void Player::Shape(qdShape shape, int verbCode, const Rect& r) {
  Rect m = mMap.MapRect(r);
  if (verbCode > 4) return;  // reserved verbs draw nothing
  auto verb = static_cast<qdVerb>(verbCode);
  switch (shape) {
    case qdShape::Rect:
      if (verb == qdVerb::Frame) FrameRect(&m);
      else if (verb == qdVerb::Paint) PaintRect(&m);
      else if (verb == qdVerb::Erase) EraseRect(&m);
      else if (verb == qdVerb::Invert) InvertRect(&m);
      else FillRect(&m, &mFillPat);
      break;
    case qdShape::Oval:
      if (verb == qdVerb::Frame) FrameOval(&m);
      else if (verb == qdVerb::Paint) PaintOval(&m);
      else if (verb == qdVerb::Erase) EraseOval(&m);
      else if (verb == qdVerb::Invert) InvertOval(&m);
      else FillOval(&m, &mFillPat);
      break;
    case qdShape::RoundRect: {
      Point o = mPort->ovalSize;
      if (verb == qdVerb::Frame) FrameRoundRect(&m, o.h, o.v);
      else if (verb == qdVerb::Paint) PaintRoundRect(&m, o.h, o.v);
      else if (verb == qdVerb::Erase) EraseRoundRect(&m, o.h, o.v);
      else if (verb == qdVerb::Invert) InvertRoundRect(&m, o.h, o.v);
      else FillRoundRect(&m, o.h, o.v, &mFillPat);
      break;
    }
    case qdShape::Region: break;
  }
}

// The destination pixels that can change: arcs and polygons are built only there.
Rect Player::Visible() const { return qdPortClip(mPort).IntersectedRect(qdPixelsOfPort(mPort).bounds).Bounds(); }

uint64_t Player::AreaVisible(const Rect& r) const {
  Rect visible = Visible(), both;
  return SectRect(&r, &visible, &both) ? AreaOf(both) : 0;
}

bool Player::Spend(uint64_t units) {
  mWorkExtra += units;
  return !OverLimit();
}

// Frame and paint use the pen, erase the background pattern, fill the picture's pattern.
void Player::Fill(qdVerb verb, const qdRegion& area) {
  RgnHandle h = NewRgn();
  qdStoreRegion(h, area);
  switch (verb) {
    case qdVerb::Frame:
    case qdVerb::Paint: PaintRgn(h); break;
    case qdVerb::Erase: EraseRgn(h); break;
    case qdVerb::Invert: InvertRgn(h); break;
    case qdVerb::Fill: FillRgn(h, &mFillPat); break;
  }
  DisposeRgn(h);
}

// The part of the oval (or of its outline, framed) inside the wedge.
void Player::Arc(int verbCode, const Rect& r, int startAngle, int arcAngle) {
  if (verbCode > 4) return;  // reserved verbs draw nothing
  auto verb = static_cast<qdVerb>(verbCode);
  Rect m = mMap.MapRect(r), within = Visible();
  if (!Spend(AreaVisible(m))) return;  // the wedge is tested pixel by pixel
  qdRegion oval = verb == qdVerb::Frame ? qdFrameRegion(qdShape::Oval, m, Point{0, 0}, mPort->pen.pnSize, within)
                                        : qdShapeRegion(qdShape::Oval, m, Point{0, 0}, within);
  Fill(verb, oval.Intersected(qdWedgeRegion(m, startAngle, arcAngle, within)));
}

// Framing draws the lines from point to point; the other verbs fill the closed inside.
void Player::Polygon(int verbCode, const std::vector<Point>& points) {
  if (verbCode > 4 || points.empty()) return;
  auto verb = static_cast<qdVerb>(verbCode);
  std::vector<Point> mapped;
  for (Point p : points) mapped.push_back(mMap.MapPt(p));
  const Rect visible = Visible();
  if (verb == qdVerb::Frame) {
    // The pen walks every edge whole: its length is known before any of it is done.
    uint64_t walk = 0;
    for (size_t i = 0; i + 1 < mapped.size(); ++i)
      walk += uint64_t(std::max(std::abs(mapped[i + 1].h - mapped[i].h), std::abs(mapped[i + 1].v - mapped[i].v))) + 1;
    if (points.size() < 2 || !Spend(walk)) return;
    mWorkExtra -= walk;  // counted again by the engine as it walks
    MoveTo(mapped.back().h, mapped.back().v);
    mPenFrame = points.back();
    // Filled as a line is, straight from the region: a long outline need not fit a RgnHandle.
    if (mPort->pnVis >= 0 && !mPort->picture)
      qdFillArea(mPort, qdPolylineRegion(mapped, mPort->pen.pnSize, visible), mPort->pen.pnPat,
                 static_cast<SInt16>(mPort->pen.pnMode | patCopy));
    return;
  }
  if (!Spend(uint64_t(mapped.size()) * uint64_t(std::max(0, visible.bottom - visible.top)))) return;
  Fill(verb, qdPolygonRegion(mapped, visible));
}

// A line in picture coordinates; the pen ends at `to`.
void Player::Line(Point from, Point to) {
  Point ma = mMap.MapPt(from), mb = mMap.MapPt(to);
  MoveTo(ma.h, ma.v);
  LineTo(mb.h, mb.v);
  mPenFrame = to;
}

void Player::Text(Point at, Reader& r, size_t count) {
  const uint8_t* text = r.Bytes(count);
  if (!text) return;
  mTextAt = at;
  Point m = mMap.MapPt(at);
  MoveTo(m.h, m.v);
  DrawText(text, 0, static_cast<SInt16>(count));
}

// BitsRect, PackBitsRect, DirectBitsRect and their region forms.
bool Player::Pixels(Reader& r, uint16_t op) {
  bool direct = op == 0x9A || op == 0x9B;
  bool withRgn = op & 1;
  if (direct) r.U32();  // baseAddr
  uint16_t rowBytesField = r.U16();
  bool isPixMap = direct || (rowBytesField & 0x8000);
  long rowBytes = rowBytesField & kRowBytesMask;
  Rect bounds = r.R();
  int depth = 1, packType = 0, cmpCount = 1;
  CTabHandle table = nullptr;
  std::unique_ptr<void, void (*)(void*)> tableOwner(nullptr, [](void* h) { DisposeHandle(static_cast<Handle>(h)); });
  if (isPixMap) {
    r.U16();  // pmVersion
    packType = r.U16();
    r.U32();  // packSize
    r.U32();  // hRes
    r.U32();  // vRes
    r.U16();  // pixelType
    depth = r.U16();
    cmpCount = r.U16();
    r.U16();  // cmpSize
    r.Skip(12);  // planeBytes, pmTable, pmReserved
    if (!direct) {
      r.U32();  // ctSeed
      uint16_t flags = r.U16();
      int size = r.S16();
      if (!r.ok() || size < 0 || size > 255) return false;
      table = qdNewColorTable(size + 1);
      if (!table) return false;
      tableOwner.reset(table);
      for (int i = 0; i <= size; ++i) {
        int value = r.S16();
        RGBColor c = r.Color();
        int index = (flags & 0x8000) ? i : value;
        if (index >= 0 && index <= size) (*table)->ctTable[index].rgb = c;
      }
    }
  }
  Rect srcRect = r.R();
  Rect dstRect = r.R();
  SInt16 mode = r.S16();
  qdRegion mask;
  if (withRgn && !r.Region(&mask)) return false;
  if (!r.ok()) return false;
  int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
  if (width <= 0 || height <= 0) return true;
  if (depth != 1 && depth != 2 && depth != 4 && depth != 8 && depth != 16 && depth != 32) return false;
  // Direct 32-bit rows may come as component planes or RGB triples instead of rowBytes wide;
  // every other row must hold its width.
  const bool planes32 = direct && depth == 32 && (packType == 0 || packType == 4);
  const bool triples32 = direct && depth == 32 && packType == 2;
  if (planes32 && cmpCount != 3 && cmpCount != 4) return false;
  if (!planes32 && !triples32 && static_cast<long>(width) * depth > rowBytes * 8L) return false;
  if (static_cast<size_t>(width) * height * 4 > kMaxPixelBytes) return false;

  // Every row takes at least its count and one byte per 128 packed bytes: a picture that
  // stops short is refused before its image is allocated.
  size_t unpackedMin = direct ? static_cast<size_t>(width) * 3 : static_cast<size_t>(rowBytes);
  size_t rowMin = rowBytes < 8 ? unpackedMin : (rowBytes > 250 ? 2 : 1) + (unpackedMin + 127) / 128 * 2;
  if (r.left() / rowMin < static_cast<size_t>(height)) return false;
  // Decoded into a 32-bit image for depths the drawing code does not hold; 1 and 8 keep their form.
  bool keep = depth == 1 || depth == 8;
  long outRowBytes = keep ? rowBytes : width * 4L;
  std::vector<uint8_t> pixels(static_cast<size_t>(outRowBytes) * height);
  std::vector<uint8_t> row;
  for (int y = 0; y < height; ++y) {
    size_t unpacked;
    if (planes32) unpacked = static_cast<size_t>(width) * cmpCount;
    else if (direct && packType == 2) unpacked = static_cast<size_t>(width) * 3;
    else unpacked = static_cast<size_t>(rowBytes);
    row.assign(unpacked, 0);
    bool packed = rowBytes >= 8 && !(direct && (packType == 1 || packType == 2));
    if (packed) {
      size_t count = rowBytes > 250 ? r.U16() : r.U8();
      const uint8_t* data = r.Bytes(count);
      if (!data) return false;
      if (!qdUnpackBits(data, count, row.data(), row.size())) return false;
    } else {
      const uint8_t* data = r.Bytes(unpacked);
      if (!data) return false;
      std::memcpy(row.data(), data, unpacked);
    }
    uint8_t* out = pixels.data() + static_cast<size_t>(y) * outRowBytes;
    if (keep) {
      std::memcpy(out, row.data(), std::min<size_t>(row.size(), static_cast<size_t>(outRowBytes)));
      continue;
    }
    for (int x = 0; x < width; ++x) {
      uint8_t rr = 0, gg = 0, bb = 0;
      if (planes32) {
        int base = cmpCount == 4 ? width : 0;  // alpha plane first when present
        rr = row[base + x];
        gg = row[base + width + x];
        bb = row[base + 2 * width + x];
      } else if (depth == 32 && packType == 2) {
        rr = row[x * 3];
        gg = row[x * 3 + 1];
        bb = row[x * 3 + 2];
      } else if (depth == 32) {
        rr = row[x * 4 + 1];
        gg = row[x * 4 + 2];
        bb = row[x * 4 + 3];
      } else if (depth == 16) {
        uint16_t v = static_cast<uint16_t>((row[x * 2] << 8) | row[x * 2 + 1]);
        rr = uint8_t(((v >> 10) & 31) * 255 / 31);
        gg = uint8_t(((v >> 5) & 31) * 255 / 31);
        bb = uint8_t((v & 31) * 255 / 31);
      } else {
        int bit = x * depth;
        int v = (row[bit >> 3] >> (8 - depth - (bit & 7))) & ((1 << depth) - 1);
        uint32_t rgb = 0xFFFFFF;
        if (table && v <= (*table)->ctSize) rgb = qdRGB24((*table)->ctTable[v].rgb);
        rr = uint8_t(rgb >> 16);
        gg = uint8_t(rgb >> 8);
        bb = uint8_t(rgb);
      }
      out[x * 4] = 0;
      out[x * 4 + 1] = rr;
      out[x * 4 + 2] = gg;
      out[x * 4 + 3] = bb;
    }
  }
  PixMap pm{};
  pm.baseAddr = reinterpret_cast<Ptr>(pixels.data());
  pm.rowBytes = static_cast<SInt16>(outRowBytes | kPixMapFlag);
  pm.bounds = bounds;
  pm.pixelSize = static_cast<SInt16>(keep ? depth : 32);
  pm.pmTable = keep && isPixMap ? table : nullptr;  // a plain bitmap has none: 1 is black
  Rect to = mMap.MapRect(dstRect);
  if (!Spend(AreaVisible(to))) return false;
  RgnHandle maskRgn = nullptr;
  if (withRgn) {
    maskRgn = NewRgn();
    qdStoreRegion(maskRgn, mMap.MapRegion(mask));
  }
  CopyBits(reinterpret_cast<const BitMap*>(&pm), GetPortBitMapForCopyBits(mPort), &srcRect, &to, mode, maskRgn);
  DisposeRgn(maskRgn);
  return true;
}

void Player::Run(Reader& r, bool v2) {
  for (;;) {
    if (!Spend(1)) return;
    if (v2) r.AlignFrom(0);
    uint16_t op = v2 ? r.U16() : r.U8();
    if (!r.ok()) return;
    switch (op) {
      case 0x0000: break;
      case 0x0001: {
        qdRegion clip;
        if (!r.Region(&clip)) return;
        qdStoreRegion(mPort->clipRgn, mMap.MapRegion(clip).Intersected(mBaseClip));
        break;
      }
      case 0x0002: {
        const uint8_t* p = r.Bytes(8);
        if (!p) return;
        std::memcpy(mPort->bkPat.pat, p, 8);
        break;
      }
      case 0x0003: mPort->txFont = r.S16(); break;
      case 0x0004: mPort->txFace = r.U8(); break;
      case 0x0005: mPort->txMode = r.S16(); break;
      case 0x0006: r.Skip(4); break;
      case 0x0007: {
        Point p = r.P();
        mPort->pen.pnSize = Point{mMap.ScaleV(p.v), mMap.ScaleH(p.h)};
        break;
      }
      case 0x0008: mPort->pen.pnMode = r.S16(); break;
      case 0x0009:
      case 0x000A: {
        const uint8_t* p = r.Bytes(8);
        if (!p) return;
        std::memcpy(op == 0x0009 ? mPort->pen.pnPat.pat : mFillPat.pat, p, 8);
        break;
      }
      case 0x000B: {
        Point p = r.P();
        mPort->ovalSize = Point{mMap.ScaleV(p.v), mMap.ScaleH(p.h)};
        break;
      }
      case 0x000C: r.Skip(4); break;
      case 0x000D: mPort->txSize = mMap.ScaleV(r.S16()); break;
      case 0x000E: ForeColor(static_cast<SInt32>(r.U32())); break;
      case 0x000F: BackColor(static_cast<SInt32>(r.U32())); break;
      case 0x0010: r.Skip(8); break;
      case 0x0011: {
        uint16_t version = v2 ? r.U16() : r.U8();
        if (!v2 && version == 0x02) {
          r.U8();  // 0xFF
          v2 = true;
        }
        break;
      }
      case 0x0015:
      case 0x0016: r.Skip(2); break;
      case 0x0017:
      case 0x0018:
      case 0x0019:
      case 0x001C:
      case 0x001E: break;
      case 0x001A: mPort->fg = r.Color(); break;
      case 0x001B: mPort->bk = r.Color(); break;
      case 0x001D: mPort->hilite = r.Color(); break;
      case 0x001F: mPort->op = r.Color(); break;
      case 0x0020: {
        Point a = r.P(), b = r.P();
        if (!r.ok()) return;
        Line(a, b);
        break;
      }
      case 0x0021: {
        Point b = r.P();
        if (!r.ok()) return;
        Line(mPenFrame, b);
        break;
      }
      case 0x0022: {
        Point a = r.P();
        int8_t dh = static_cast<int8_t>(r.U8()), dv = static_cast<int8_t>(r.U8());
        if (!r.ok()) return;
        Point b{static_cast<SInt16>(a.v + dv), static_cast<SInt16>(a.h + dh)};
        Line(a, b);
        break;
      }
      case 0x0023: {
        int8_t dh = static_cast<int8_t>(r.U8()), dv = static_cast<int8_t>(r.U8());
        if (!r.ok()) return;
        Point b{static_cast<SInt16>(mPenFrame.v + dv), static_cast<SInt16>(mPenFrame.h + dh)};
        Line(mPenFrame, b);
        break;
      }
      case 0x0028: {
        Point at = r.P();
        size_t n = r.U8();
        Text(at, r, n);
        break;
      }
      case 0x0029:
      case 0x002A: {
        int d = r.U8();
        size_t n = r.U8();
        Point at = mTextAt;
        if (op == 0x0029) at.h = static_cast<SInt16>(at.h + d);
        else at.v = static_cast<SInt16>(at.v + d);
        Text(at, r, n);
        break;
      }
      case 0x002B: {
        int dh = r.U8(), dv = r.U8();
        size_t n = r.U8();
        Text(Point{static_cast<SInt16>(mTextAt.v + dv), static_cast<SInt16>(mTextAt.h + dh)}, r, n);
        break;
      }
      case 0x002C:
      case 0x002D:
      case 0x002E:
      case 0x002F:
      case 0x0024:
      case 0x0025:
      case 0x0026:
      case 0x0027: r.Skip(r.U16()); break;
      case 0x0090:
      case 0x0091:
      case 0x0098:
      case 0x0099:
      case 0x009A:
      case 0x009B:
        if (!Pixels(r, op)) return;
        break;
      case 0x00A0: r.Skip(2); break;
      case 0x00A1: {
        r.Skip(2);
        r.Skip(r.U16());
        break;
      }
      case 0x00FF: return;
      case 0x0C00: r.Skip(24); break;
      default: {
        if (op >= 0x30 && op <= 0x5F) {
          int family = (op - 0x30) / 0x10;  // rect, round rect, oval
          qdShape shape = family == 0 ? qdShape::Rect : family == 1 ? qdShape::RoundRect : qdShape::Oval;
          int verb = op & 7;
          Rect rr = mLastRect[family];
          if ((op & 0x08) == 0) {
            rr = r.R();
            if (!r.ok()) return;
            mLastRect[family] = rr;
          }
          Shape(shape, verb, rr);
        } else if (op >= 0x80 && op <= 0x84) {
          qdRegion rgn;
          if (!r.Region(&rgn)) return;
          RgnHandle h = NewRgn();
          qdStoreRegion(h, mMap.MapRegion(rgn));
          switch (op) {
            case 0x80: FrameRgn(h); break;
            case 0x81: PaintRgn(h); break;
            case 0x82: EraseRgn(h); break;
            case 0x83: InvertRgn(h); break;
            default: FillRgn(h, &mFillPat); break;
          }
          DisposeRgn(h);
        } else if (op >= 0x60 && op <= 0x6F) {
          if ((op & 0x08) == 0) mLastArc = r.R();
          SInt16 startAngle = r.S16(), arcAngle = r.S16();
          if (!r.ok()) return;
          Arc(op & 7, mLastArc, startAngle, arcAngle);
        } else if (op >= 0x70 && op <= 0x7F) {
          if ((op & 0x08) == 0) {
            // Size word, bounding box, then the points.
            uint16_t size = r.U16();
            if (!r.ok() || size < 10 || !r.Skip(8)) return;
            mLastPolygon.clear();
            for (size_t n = (size - 10u) / 4; n > 0; --n) mLastPolygon.push_back(r.P());
            if (!r.Skip((size - 10u) % 4)) return;
          }
          Polygon(op & 7, mLastPolygon);
        } else if (op >= 0x85 && op <= 0x87) {
          r.Skip(r.U16() - 2u);  // reserved region verbs
        } else if ((op >= 0x88 && op <= 0x8F) || (op >= 0xB0 && op <= 0xCF) ||
                   (op >= 0x8000 && op <= 0x80FF)) {
          // no data
        } else if ((op >= 0x92 && op <= 0x97) || (op >= 0x9C && op <= 0x9F) || (op >= 0xA2 && op <= 0xAF)) {
          r.Skip(r.U16());
        } else if ((op >= 0xD0 && op <= 0xFE) || op >= 0x8100) {
          r.Skip(r.U32());
        } else if (op >= 0x0100 && op <= 0x7FFF) {
          r.Skip(static_cast<size_t>(op >> 8) * 2);
        } else {
          return;  // unknown: stop here
        }
      }
    }
  }
}

}  // namespace

void DrawPicture(PicHandle pic, const Rect* dstRect) {
  if (!pic || !*pic || !dstRect) return;
  Size size = GetHandleSize(reinterpret_cast<Handle>(pic));
  if (size < 12) return;
  GrafPtr port = qdCurrentPort();
  PortState saved{port->pen, port->fg, port->bk, port->bkPat, port->txFont, port->txSize, port->txFace, port->txMode, NewRgn()};
  CopyRgn(port->clipRgn, saved.clip);
  Handle h = reinterpret_cast<Handle>(pic);
  SInt8 state = HGetState(h);
  HLock(h);
  Rect frame;
  QDGetPictureBounds(pic, &frame);
  Reader r(reinterpret_cast<const uint8_t*>(*pic) + 10, static_cast<size_t>(size) - 10);
  const uint8_t* start = reinterpret_cast<const uint8_t*>(*pic) + 10;
  bool v2 = start[0] == 0x00 && start[1] == 0x11;
  Rect visible = qdPortClip(port).IntersectedRect(qdPixelsOfPort(port).bounds).Bounds(), shown;
  const uint64_t work = kWorkFloor + kWorkPerByte * uint64_t(size) +
                        kWorkPerDestinationPixel * (SectRect(dstRect, &visible, &shown) ? AreaOf(shown) : 0);
  Player player(port, Mapping{frame, *dstRect}, work);
  PenNormal();
  port->txMode = srcOr;  // what a picture's text starts in
  qdSetLastError(noErr);
  player.Run(r, v2);
  if (player.OverLimit()) qdSetLastError(noMemForPictPlaybackErr);
  HSetState(h, state);
  port->pen = saved.pen;
  port->fg = saved.fg;
  port->bk = saved.bk;
  port->bkPat = saved.bkPat;
  port->txFont = saved.txFont;
  port->txSize = saved.txSize;
  port->txFace = saved.txFace;
  port->txMode = saved.txMode;
  CopyRgn(saved.clip, port->clipRgn);
  DisposeRgn(saved.clip);
}
