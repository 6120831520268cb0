// Shapes, lines and fills. Every shape becomes a region in local coordinates, which is
// clipped to the port and filled span by span with a pattern and a transfer mode.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "quickdraw/qdDraw.h"
#include "quickdraw/qdPicture.h"

namespace {

// Row extents of an ellipse inscribed in r: [left, right) for each row from `top` to
// `bottom` (the rows that can show).
qdRegion OvalRegion(const Rect& r, int top, int bottom) {
  std::vector<qdBand> bands;
  double cx = (r.left + r.right) / 2.0, cy = (r.top + r.bottom) / 2.0;
  double a = (r.right - r.left) / 2.0, b = (r.bottom - r.top) / 2.0;
  if (a <= 0 || b <= 0) return {};
  for (int y = std::max<int>(r.top, top); y < std::min<int>(r.bottom, bottom); ++y) {
    double dy = (y + 0.5 - cy) / b;
    double half = a * std::sqrt(std::max(0.0, 1.0 - dy * dy));
    int32_t left = static_cast<int32_t>(std::lround(cx - half)), right = static_cast<int32_t>(std::lround(cx + half));
    if (right > left) bands.push_back(qdBand{y, y + 1, {left, right}});
  }
  return qdRegion::FromBands(std::move(bands));
}

// A rectangle whose corners are quarter ovals of ovalWidth x ovalHeight.
qdRegion RoundRectRegion(const Rect& r, int ovalWidth, int ovalHeight, int top, int bottom) {
  int w = r.right - r.left, h = r.bottom - r.top;
  ovalWidth = std::min(ovalWidth, w);
  ovalHeight = std::min(ovalHeight, h);
  if (ovalWidth <= 1 || ovalHeight <= 1) return qdRegion::FromRect(r);
  // The corners are the four quarters of one oval; the rows between them are full.
  qdRegion corners = OvalRegion(Rect{0, 0, static_cast<SInt16>(ovalHeight), static_cast<SInt16>(ovalWidth)}, 0, ovalHeight);
  int halfH = ovalHeight / 2, halfW = ovalWidth / 2;
  std::vector<qdBand> bands;
  for (int y = std::max<int>(r.top, top); y < std::min<int>(r.bottom, bottom); ++y) {
    int oy = -1;
    if (y - r.top < halfH) oy = y - r.top;
    else if (r.bottom - 1 - y < halfH) oy = ovalHeight - (r.bottom - y);
    int32_t left = r.left, right = r.right;
    if (oy >= 0) {
      int inset = halfW;
      for (int x = 0; x < halfW; ++x)
        if (corners.Contains(x, oy)) {
          inset = x;
          break;
        }
      left += inset;
      right -= inset;
    }
    if (right > left) bands.push_back(qdBand{y, y + 1, {left, right}});
  }
  return qdRegion::FromBands(std::move(bands));
}

bool PatternBit(const Pattern& pat, const qdPixels& p, int x, int y) {
  int px = x - p.bounds.left, py = y - p.bounds.top;
  return (pat.pat[py & 7] >> (7 - (px & 7))) & 1;
}

}  // namespace

qdRegion qdShapeRegion(qdShape shape, const Rect& r, Point ovalSize, const Rect& rows) {
  switch (shape) {
    case qdShape::Rect: return qdRegion::FromRect(r);
    case qdShape::Oval: return OvalRegion(r, rows.top, rows.bottom);
    case qdShape::RoundRect: return RoundRectRegion(r, ovalSize.h, ovalSize.v, rows.top, rows.bottom);
    case qdShape::Region: break;
  }
  return {};
}

// The outline of a shape: the shape minus the same shape inset by the pen.
qdRegion qdFrameRegion(qdShape shape, const Rect& r, Point ovalSize, Point pen, const Rect& rows) {
  qdRegion outer = qdShapeRegion(shape, r, ovalSize, rows);
  Rect inner = r;
  InsetRect(&inner, pen.h, pen.v);
  if (EmptyRect(&inner)) return outer;
  Point innerOval{static_cast<SInt16>(std::max(0, ovalSize.v - 2 * pen.v)), static_cast<SInt16>(std::max(0, ovalSize.h - 2 * pen.h))};
  return outer.Subtracted(qdShapeRegion(shape, inner, innerOval, rows));
}

namespace {

uint64_t sWork = 0;

using RowSpans = std::vector<std::vector<std::pair<int32_t, int32_t>>>;

// Adds to spans[y - firstRowKept] what the pen dragged from `from` to `to` covers on each row
// y from firstRowKept that `spans` holds. A line wholly left or right of `columns` adds nothing.
void AddLineSpans(Point from, Point to, Point pen, const Rect& columns, int32_t firstRowKept, RowSpans* spans) {
  const int32_t pw = pen.h, ph = pen.v;
  const int32_t keptBottom = firstRowKept + static_cast<int32_t>(spans->size());
  if (std::max(from.v, to.v) + ph <= firstRowKept || std::min(from.v, to.v) >= keptBottom ||
      std::max(from.h, to.h) + pw <= columns.left || std::min(from.h, to.h) >= columns.right)
    return;
  // The leftmost and rightmost pen position on each pen row the path passes.
  int32_t x0 = from.h, y0 = from.v;
  const int32_t x1 = to.h, y1 = to.v;
  const int32_t dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0), sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  const int32_t firstRow = std::min(y0, y1), levels = 1 - dy;
  std::vector<int32_t> lo(static_cast<size_t>(levels), INT32_MAX), hi(static_cast<size_t>(levels), INT32_MIN);
  for (int32_t err = dx + dy;; ++sWork) {
    const auto k = static_cast<size_t>(y0 - firstRow);
    lo[k] = std::min(lo[k], x0);
    hi[k] = std::max(hi[k], x0);
    if (x0 == x1 && y0 == y1) break;
    const int32_t e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
  // Row y is covered by the pen positions on pen rows y - ph + 1 .. y. Along the path x moves
  // one way only, so those positions reach from one end of that window to the other, and
  // the pen's width closes every gap between them: one span per row.
  const int32_t top = std::max<int32_t>(firstRow, firstRowKept);
  const int32_t bottom = std::min<int32_t>(firstRow + levels - 1 + ph, keptBottom);
  for (int32_t y = top; y < bottom; ++y, ++sWork) {
    const auto a = static_cast<size_t>(std::max(0, y - ph + 1 - firstRow));
    const auto b = static_cast<size_t>(std::min(levels - 1, y - firstRow));
    (*spans)[static_cast<size_t>(y - firstRowKept)].emplace_back(std::min(lo[a], lo[b]), std::max(hi[a], hi[b]) + pw);
  }
}

// Rows of spans, overlapping and touching ones joined, as a region.
qdRegion RegionOfSpans(RowSpans* spans, int32_t firstRow) {
  std::vector<qdBand> bands;
  for (size_t i = 0; i < spans->size(); ++i, ++sWork) {
    auto& row = (*spans)[i];
    if (row.empty()) continue;
    std::sort(row.begin(), row.end());
    qdBand band{firstRow + static_cast<int32_t>(i), firstRow + static_cast<int32_t>(i) + 1, {}};
    for (const auto& [left, right] : row) {
      if (!band.xs.empty() && left <= band.xs.back()) {
        band.xs.back() = std::max(band.xs.back(), right);
      } else {
        band.xs.push_back(left);
        band.xs.push_back(right);
      }
    }
    bands.push_back(std::move(band));
  }
  return qdRegion::FromBands(std::move(bands));
}

}  // namespace

uint64_t qdDrawWork() { return sWork; }

qdRegion qdPolylineRegion(const std::vector<Point>& points, Point pen, const Rect& rows) {
  if (pen.h <= 0 || pen.v <= 0 || points.empty()) return {};
  int32_t top = INT32_MAX, bottom = INT32_MIN;
  for (Point p : points) {
    top = std::min<int32_t>(top, p.v);
    bottom = std::max<int32_t>(bottom, p.v + pen.v);
  }
  top = std::max<int32_t>(top, rows.top);
  bottom = std::min<int32_t>(bottom, rows.bottom);
  if (bottom <= top) return {};
  RowSpans spans(static_cast<size_t>(bottom - top));
  if (points.size() == 1) AddLineSpans(points[0], points[0], pen, rows, top, &spans);
  for (size_t i = 0; i + 1 < points.size(); ++i) AddLineSpans(points[i], points[i + 1], pen, rows, top, &spans);
  return RegionOfSpans(&spans, top);
}

qdRegion qdLineRegion(Point from, Point to, Point pen, const Rect& rows) { return qdPolylineRegion({from, to}, pen, rows); }

void qdFillArea(GrafPtr port, const qdRegion& area, const Pattern& pat, SInt16 mode) {
  qdPixels p = qdPixelsOfPort(port);
  qdRegion clipped = area.Intersected(qdPortClip(port)).IntersectedRect(p.bounds);
  uint32_t fg = qdRGBToPixel(p, port->fg), bk = qdRGBToPixel(p, port->bk);
  bool invertPattern = (mode & 4) != 0;
  int op = mode & 3;  // copy, or, xor, bic
  for (const qdBand& b : clipped.Bands())
    for (int32_t y = b.top; y < b.bottom; ++y)
      for (size_t i = 0; i + 1 < b.xs.size(); i += 2)
        for (int32_t x = b.xs[i]; x < b.xs[i + 1]; ++x, ++sWork) {
          bool bit = PatternBit(pat, p, x, y) != invertPattern;
          switch (op) {
            case 0: qdSetPixel(p, x, y, bit ? fg : bk); break;
            case 1: if (bit) qdSetPixel(p, x, y, fg); break;
            case 2:
              if (bit) qdSetPixel(p, x, y, qdRGB24ToPixel(p, ~qdPixelToRGB24(p, qdGetPixel(p, x, y)) & 0xFFFFFF));
              break;
            case 3: if (bit) qdSetPixel(p, x, y, bk); break;
          }
        }
}

namespace {

bool PenDraws(GrafPtr port) { return port->pnVis >= 0 && !port->picture; }
bool Draws(GrafPtr port) { return !port->picture; }

// Frame and paint use the pen, erase the background pattern, fill the given pattern.
void ApplyVerb(GrafPtr port, const qdRegion& area, qdVerb verb, const Pattern* fillPat) {
  switch (verb) {
    case qdVerb::Frame:
    case qdVerb::Paint: qdFillArea(port, area, port->pen.pnPat, static_cast<SInt16>(port->pen.pnMode | patCopy)); break;
    case qdVerb::Erase: qdFillArea(port, area, port->bkPat, patCopy); break;
    case qdVerb::Invert: qdFillArea(port, area, kQDBlackPattern, patXor); break;
    case qdVerb::Fill: qdFillArea(port, area, *fillPat, patCopy); break;
  }
}

void Shape(qdShape shape, qdVerb verb, const Rect* r, const Pattern* fillPat) {
  GrafPtr port = qdCurrentPort();
  if (port->picture) qdPicRecordShape(port, shape, verb, *r, fillPat);
  bool frameOrPaint = verb == qdVerb::Frame || verb == qdVerb::Paint;
  if (frameOrPaint ? !PenDraws(port) : !Draws(port)) return;
  Rect rows = qdPixelsOfPort(port).bounds;  // rows outside the pixels need no shape
  qdRegion area = verb == qdVerb::Frame ? qdFrameRegion(shape, *r, qdOvalSize(port), port->pen.pnSize, rows)
                                        : qdShapeRegion(shape, *r, qdOvalSize(port), rows);
  ApplyVerb(port, area, verb, fillPat);
}

void RoundShape(qdVerb verb, const Rect* r, SInt16 ow, SInt16 oh, const Pattern* pat) {
  qdSetOvalSize(qdCurrentPort(), Point{oh, ow});
  Shape(qdShape::RoundRect, verb, r, pat);
}

void RegionShape(qdVerb verb, RgnHandle rgn, const Pattern* fillPat) {
  GrafPtr port = qdCurrentPort();
  qdRegion value = qdRegionOf(rgn);
  if (port->picture) qdPicRecordShape(port, qdShape::Region, verb, value.Bounds(), fillPat, &value);
  bool frameOrPaint = verb == qdVerb::Frame || verb == qdVerb::Paint;
  if (frameOrPaint ? !PenDraws(port) : !Draws(port)) return;
  qdRegion area = verb == qdVerb::Frame ? value.Subtracted(value.Inset(port->pen.pnSize.h, port->pen.pnSize.v)) : value;
  ApplyVerb(port, area, verb, fillPat);
}

}  // namespace

Point qdOvalSize(GrafPtr port) { return port->ovalSize; }
void qdSetOvalSize(GrafPtr port, Point size) { port->ovalSize = size; }

void FrameRect(const Rect* r) { Shape(qdShape::Rect, qdVerb::Frame, r, nullptr); }
void PaintRect(const Rect* r) { Shape(qdShape::Rect, qdVerb::Paint, r, nullptr); }
void EraseRect(const Rect* r) { Shape(qdShape::Rect, qdVerb::Erase, r, nullptr); }
void InvertRect(const Rect* r) { Shape(qdShape::Rect, qdVerb::Invert, r, nullptr); }
void FillRect(const Rect* r, const Pattern* pat) { Shape(qdShape::Rect, qdVerb::Fill, r, pat); }
void FrameOval(const Rect* r) { Shape(qdShape::Oval, qdVerb::Frame, r, nullptr); }
void PaintOval(const Rect* r) { Shape(qdShape::Oval, qdVerb::Paint, r, nullptr); }
void EraseOval(const Rect* r) { Shape(qdShape::Oval, qdVerb::Erase, r, nullptr); }
void InvertOval(const Rect* r) { Shape(qdShape::Oval, qdVerb::Invert, r, nullptr); }
void FillOval(const Rect* r, const Pattern* pat) { Shape(qdShape::Oval, qdVerb::Fill, r, pat); }
void FrameRoundRect(const Rect* r, SInt16 w, SInt16 h) { RoundShape(qdVerb::Frame, r, w, h, nullptr); }
void PaintRoundRect(const Rect* r, SInt16 w, SInt16 h) { RoundShape(qdVerb::Paint, r, w, h, nullptr); }
void EraseRoundRect(const Rect* r, SInt16 w, SInt16 h) { RoundShape(qdVerb::Erase, r, w, h, nullptr); }
void InvertRoundRect(const Rect* r, SInt16 w, SInt16 h) { RoundShape(qdVerb::Invert, r, w, h, nullptr); }
void FillRoundRect(const Rect* r, SInt16 w, SInt16 h, const Pattern* pat) { RoundShape(qdVerb::Fill, r, w, h, pat); }
void FrameRgn(RgnHandle rgn) { RegionShape(qdVerb::Frame, rgn, nullptr); }
void PaintRgn(RgnHandle rgn) { RegionShape(qdVerb::Paint, rgn, nullptr); }
void EraseRgn(RgnHandle rgn) { RegionShape(qdVerb::Erase, rgn, nullptr); }
void InvertRgn(RgnHandle rgn) { RegionShape(qdVerb::Invert, rgn, nullptr); }
void FillRgn(RgnHandle rgn, const Pattern* pat) { RegionShape(qdVerb::Fill, rgn, pat); }

// A line is the pen rectangle dragged along the pixels from the pen to the end point.
void LineTo(SInt16 h, SInt16 v) {
  GrafPtr port = qdCurrentPort();
  Point from = port->pen.pnLoc, to{v, h};
  port->pen.pnLoc = to;
  if (port->picture) qdPicRecordLine(port, from, to);
  if (!PenDraws(port)) return;
  const qdRegion area = qdLineRegion(from, to, port->pen.pnSize, qdPixelsOfPort(port).bounds);
  qdFillArea(port, area, port->pen.pnPat, static_cast<SInt16>(port->pen.pnMode | patCopy));
}

void Line(SInt16 dh, SInt16 dv) {
  Point p = qdCurrentPort()->pen.pnLoc;
  LineTo(static_cast<SInt16>(p.h + dh), static_cast<SInt16>(p.v + dv));
}
