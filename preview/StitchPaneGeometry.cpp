#include "preview/StitchPaneGeometry.h"

#include <algorithm>

namespace StitchPaneGeometry {

namespace {

constexpr long kMinimumCrop = 10;
constexpr SInt16 kHandleInset = 3;

SInt16 S16(long value) { return SInt16(value); }

Rect Offset(const Rect& r, long dh, long dv) {
  return Rect{S16(r.top + dv), S16(r.left + dh), S16(r.bottom + dv), S16(r.right + dh)};
}

Rect Inset(const Rect& r, SInt16 by) {
  return Rect{S16(r.top + by), S16(r.left + by), S16(r.bottom - by), S16(r.right - by)};
}

// The frame's left edge at least one column left of the right half's, its right edge one
// column right of the left half's: the kept area always spans the seam.
Rect ShiftOverSeam(Rect frame, const Rect& left, const Rect& right) {
  if (frame.left >= right.left) frame = Offset(frame, long(right.left) - frame.left - 1, 0);
  if (frame.right <= left.right) frame = Offset(frame, long(left.right) - frame.right + 1, 0);
  return frame;
}

}  // namespace

double DisplayScale(SInt16 pictureHeight, SInt32 leftImageHeight, SInt32 rightImageHeight) {
  const SInt32 taller = std::max(leftImageHeight, rightImageHeight);
  return taller > 0 ? double(pictureHeight) / double(taller) : 1.0;
}

Rect HalfFrame(SDimension16 view, double scale, SInt32 imageWidth, SInt32 imageHeight, long side) {
  const long w = long(scale * imageWidth), h = long(scale * imageHeight);
  const long top = (long(view.height) - h) / 2;
  const long left = side == 1 ? view.width / 2 - w : view.width / 2;
  return Rect{S16(top), S16(left), S16(top + h), S16(left + w)};
}

Rect MoveLimits(const Rect& leftFrame, SDimension16 rightSize) {
  const long height = long(leftFrame.bottom) - leftFrame.top, width = long(leftFrame.right) - leftFrame.left;
  // A larger right half gets its excess on top, so that every place a half of the left
  // one's size could take is still in reach.
  const long taller = std::max(0L, long(rightSize.height) - height);
  const long wider = std::max(0L, long(rightSize.width) - width);
  return Rect{S16(long(leftFrame.top - height * 0.125) - taller), S16(leftFrame.left + 1),
              S16(long(leftFrame.bottom + height * 0.125) + taller), S16(leftFrame.right + width + wider)};
}

Point Clamp(const Rect& frame, const Rect& limits) {
  long dv = 0, dh = 0;
  if (frame.top < limits.top) dv += long(limits.top) - frame.top;
  if (frame.bottom > limits.bottom) dv -= long(frame.bottom) - limits.bottom;
  if (frame.right > limits.right) dh -= long(frame.right) - limits.right;
  if (frame.left < limits.left) dh += long(limits.left) - frame.left;
  return Point{S16(dv), S16(dh)};
}

Rect CropFrame(const Rect& left, const Rect& right) {
  return Rect{std::max(left.top, right.top), left.left, std::min(left.bottom, right.bottom), right.right};
}

Rect BoundingBox(const Rect& left, const Rect& right) {
  return Rect{std::min(left.top, right.top), left.left, std::max(left.bottom, right.bottom), right.right};
}

SInt16 WhereClicked(Point pt, const Rect& band) {
  const int column = pt.h <= band.left ? 0 : pt.h >= band.right ? 2 : 1;
  const int row = pt.v <= band.top ? 0 : pt.v >= band.bottom ? 2 : 1;
  static const SInt16 kCodes[3][3] = {{hit_TopLeft, hit_Top, hit_TopRight},
                                      {hit_Left, hit_Inside, hit_Right},
                                      {hit_BottomLeft, hit_Bottom, hit_BottomRight}};
  return kCodes[row][column];
}

Rect ClickBand(const Rect& crop) {
  return Inset(Rect{crop.top, crop.left, S16(crop.bottom - 1), S16(crop.right - 1)}, kHandleInset);
}

Rect CursorBand(const Rect& crop) { return Inset(crop, kHandleInset); }

Rect MoveCrop(const Rect& start, Point click, Point mouse, const Rect& left, const Rect& right) {
  Rect frame = Offset(start, long(mouse.h) - click.h, long(mouse.v) - click.v);
  const Point back = Clamp(frame, BoundingBox(left, right));
  frame = Offset(frame, back.h, back.v);
  return ShiftOverSeam(frame, left, right);
}

Rect ResizeCrop(SInt16 code, const Rect& start, const Rect& now, Point click, Point mouse, const Rect& left,
                const Rect& right) {
  const long dh = SInt16(mouse.h - click.h), dv = SInt16(mouse.v - click.v);
  const long w0 = long(start.right) - start.left, h0 = long(start.bottom) - start.top;
  const bool movesLeft = code == hit_TopLeft || code == hit_BottomLeft || code == hit_Left;
  const bool movesTop = code == hit_TopLeft || code == hit_TopRight || code == hit_Top;
  const bool sizesWidth = code != hit_Top && code != hit_Bottom;
  const bool sizesHeight = code != hit_Left && code != hit_Right;
  long width = w0, height = h0, mx = 0, my = 0;
  if (sizesWidth) width = movesLeft ? w0 - dh : w0 + dh;
  if (sizesHeight) height = movesTop ? h0 - dv : h0 + dv;
  if (movesLeft) mx = long(start.left) - now.left + dh;
  if (movesTop) my = long(start.top) - now.top + dv;
  if (width < kMinimumCrop) {
    width = kMinimumCrop;
    if (movesLeft) mx = long(now.right) - now.left - kMinimumCrop;
  }
  if (height < kMinimumCrop) {
    height = kMinimumCrop;
    if (movesTop) my = long(now.bottom) - now.top - kMinimumCrop;
  }
  long top = now.top + my, l = now.left + mx, bottom = top + height, r = l + width;
  const Rect box = BoundingBox(left, right);
  top = std::max<long>(top, box.top);
  bottom = std::min<long>(bottom, box.bottom);
  l = std::max<long>(l, box.left);
  r = std::min<long>(r, box.right);
  if (l >= right.left) l = long(right.left) - 1;
  if (r <= left.right) r = long(left.right) + 1;
  return Rect{S16(top), S16(l), S16(bottom), S16(r)};
}

}  // namespace StitchPaneGeometry
