#include "dialogs/print/layout/PageGeometry.h"

#include <algorithm>
#include <cmath>

#include "output/hubdialogs/WXFontDialog.h"

namespace pagegeom {
namespace {

constexpr SInt32 kMaxSide = 32767;

SInt16 Side(double v) { return static_cast<SInt16>(std::clamp<double>(std::trunc(v), -kMaxSide, kMaxSide)); }
SInt16 Rounded(double v) { return Side(v + 0.5); }
Rect MakeRect(SInt32 left, SInt32 top, SInt32 width, SInt32 height) {
  return Rect{static_cast<SInt16>(top), static_cast<SInt16>(left), static_cast<SInt16>(top + height),
              static_cast<SInt16>(left + width)};
}
SInt32 Width(const Rect& r) { return r.right - r.left; }
SInt32 Height(const Rect& r) { return r.bottom - r.top; }
void Offset(Rect& r, SInt32 dh, SInt32 dv) {
  r.left += dh;
  r.right += dh;
  r.top += dv;
  r.bottom += dv;
}
SInt32 WholeDpi(Fixed resolution) { return resolution >> 16; }

}  // namespace

PaperLayout LayOutPaper(const PMRect& paper, const PMRect& page) {
  PaperLayout out;
  const SInt32 w = static_cast<SInt32>(paper.right - paper.left);
  const SInt32 h = static_cast<SInt32>(paper.bottom - paper.top);
  if (w <= 0 || h <= 0) return out;
  out.scale = 300.0 / std::max(w, h);
  out.size = {Rounded(w * out.scale), Rounded(h * out.scale)};
  const SInt32 dx = static_cast<SInt32>(page.left - paper.left);
  const SInt32 dy = static_cast<SInt32>(page.top - paper.top);
  out.printable.top = Rounded(dy * out.scale);
  out.printable.left = Rounded(dx * out.scale);
  out.printable.bottom = static_cast<SInt16>(out.printable.top + Rounded((page.bottom - page.top) * out.scale));
  out.printable.right = static_cast<SInt16>(out.printable.left + Rounded((page.right - page.left) * out.scale));
  return out;
}

double ResizeRatio(const PMRect& paper) {
  const SInt32 w = static_cast<SInt32>(paper.right - paper.left);
  const SInt32 h = static_cast<SInt32>(paper.bottom - paper.top);
  if (w <= 0 || h <= 0) return 0.0;
  return std::max(w, h) / 300.0;
}

double HundredPercentFactor(double paperScale, SInt32 printerDpi, SInt32 imageDpi) {
  if (imageDpi <= 0) imageDpi = printerDpi;
  if (imageDpi <= 0) return paperScale;
  return paperScale * static_cast<double>(printerDpi) / imageDpi;
}

SInt16 PictureSizeLimit(SInt32 width, SInt32 height, SInt32 imageDpi, double factor) {
  const double limit = std::trunc(std::max(width, height) * static_cast<double>(imageDpi) * factor / 10.0);
  return static_cast<SInt16>(std::clamp<double>(limit, 1, kMaxSide));
}

SDimension16 SameRateSize(SInt32 width, SInt32 height, double factor) {
  return {std::max<SInt16>(1, Rounded(width * factor)), std::max<SInt16>(1, Rounded(height * factor))};
}

AcqRecord PrintRecord(SInt16 frameWidth, const AcqRecord& scan, double factor) {
  const double full = scan.width * factor;
  const SInt16 atHundred = std::max<SInt16>(1, Rounded(full));
  const double m = (frameWidth == atHundred || full == 0.0) ? 1.0 : frameWidth / full;
  AcqRecord out;
  const double dpi = std::clamp<double>(std::trunc(WholeDpi(scan.resolution) / m + 0.5), 0, kMaxSide);
  out.resolution = static_cast<Fixed>(static_cast<SInt32>(dpi) << 16);
  out.width = static_cast<SInt32>(std::trunc(scan.width * m + 0.5));
  out.height = static_cast<SInt32>(std::trunc(scan.height * m + 0.5));
  return out;
}

SInt16 PictureZone(Point pt, const Rect& r) {
  if (pt.v <= r.top) return pt.h <= r.left ? 1 : pt.h >= r.right ? 3 : 7;
  if (pt.v >= r.bottom) return pt.h <= r.left ? 2 : pt.h >= r.right ? 4 : 8;
  return pt.h <= r.left ? 5 : pt.h >= r.right ? 6 : 9;
}

Rect PictureResized(const PictureDrag& d) {
  const SInt32 w0 = d.start.width, h0 = d.start.height;
  SInt32 w = Width(d.frame), h = Height(d.frame);
  auto byWidth = [&](SInt32 nw) {
    w = Side(nw);
    h = Side(w * d.hw);
  };
  auto byHeight = [&](SInt32 nh) {
    h = Side(nh);
    w = Side(h * d.wh);
  };
  switch (d.zone) {
    case 5: byWidth(w0 - d.dx); break;
    case 6: byWidth(w0 + d.dx); break;
    case 7: byHeight(h0 - d.dy); break;
    case 8: byHeight(h0 + d.dy); break;
    default: {
      const SInt32 sx = (d.zone == 1 || d.zone == 2) ? -1 : 1;
      const SInt32 sy = (d.zone == 1 || d.zone == 3) ? -1 : 1;
      const SInt32 gx = sx * d.dx, gy = sy * d.dy;
      if (gx > 0 && gy > 0) {
        if (static_cast<double>(gx) / gy > d.wh) byHeight(h0 + gy);
        else byWidth(w0 + gx);
      } else if (gx < 0 && gy < 0) {
        if (static_cast<double>(gx) / gy >= d.wh) byWidth(w0 + gx);
        else byHeight(h0 + gy);
      } else if (gx < 0 && gy > 0) {
        byWidth(w0 + gx);
      } else if (gx > 0 && gy < 0) {
        byHeight(h0 + gy);
      } else if (gx == 0) {
        if (gy < 0) byHeight(h0 + gy);
      } else if (gx < 0) {
        byWidth(w0 + gx);
      }
    }
  }
  if (w > d.limit) byWidth(d.limit);
  if (h > d.limit) byHeight(d.limit);
  if (w < 10) {
    w = 10;
    h = Side(d.hw * 10.0);
  }
  if (h < 10) {
    h = 10;
    w = Side(d.wh * 10.0);
  }
  const Rect& f = d.frame;
  const Rect& r = d.range;
  const bool anchorRight = d.zone == 1 || d.zone == 2 || d.zone == 5;
  const bool anchorBottom = d.zone == 1 || d.zone == 3 || d.zone == 7;
  if (anchorRight) {
    if (f.right - w > r.right - 1) byWidth(f.right - r.right + 1);
  } else if (f.left + w < r.left + 1) {
    byWidth(r.left - f.left + 1);
  }
  if (anchorBottom) {
    if (f.bottom - h > r.bottom - 1) byHeight(f.bottom - r.bottom + 1);
  } else if (f.top + h < r.top + 1) {
    byHeight(r.top - f.top + 1);
  }
  return MakeRect(anchorRight ? f.right - w : f.left, anchorBottom ? f.bottom - h : f.top, w, h);
}

Point PictureMoveBack(const Rect& moved, const Rect& range) {
  Rect n = moved;
  if (n.bottom < range.top + 1) Offset(n, 0, range.top - n.bottom + 1);
  if (n.top > range.bottom - 1) Offset(n, 0, -(n.top - range.bottom + 1));
  if (n.left > range.right - 1) Offset(n, -(n.left - range.right + 1), 0);
  if (n.right < range.left + 1) Offset(n, range.left - n.right + 1, 0);
  return Point{static_cast<SInt16>(n.top - moved.top), static_cast<SInt16>(n.left - moved.left)};
}

SDimension16 FitSize(SDimension16 picture, SDimension16 range, bool fill, SInt16 limit) {
  const double pw = picture.width, ph = picture.height, rw = range.width, rh = range.height;
  if (pw <= 0 || ph <= 0) return picture;
  const double a = pw / ph;
  const double b = rh > 0 ? rw / rh : 0.0;
  const bool byHeight = fill ? a > b : a < b;
  double w = byHeight ? std::trunc(pw * (rh / ph) + 0.5) : rw;
  double h = byHeight ? rh : std::trunc(ph * (rw / pw) + 0.5);
  if (w > limit) {
    h = std::trunc(h * (limit / w) + 0.5);
    w = limit;
  }
  if (h > limit) {
    w = std::trunc(w * (limit / h) + 0.5);
    h = limit;
  }
  return {Side(w), Side(h)};
}

Point CentringOffset(const Rect& frame, const Rect& range) {
  const SInt32 dh = (range.right - Width(range) / 2) - (frame.right - Width(frame) / 2);
  const SInt32 dv = (range.bottom - Height(range) / 2) - (frame.bottom - Height(frame) / 2);
  return Point{static_cast<SInt16>(dv), static_cast<SInt16>(dh)};
}

Rect RescaledFrame(const Rect& saved, double savedScale, double scale) {
  if (savedScale == scale || savedScale == 0.0) return saved;
  const double f = scale / savedScale;
  return Rect{Side(saved.top * f), Side(saved.left * f), Side(saved.bottom * f), Side(saved.right * f)};
}

SInt16 ToPaper(SInt32 length, double ratio) { return Rounded(length * ratio); }

std::string LengthText(double length, const std::string& unit) {
  const long whole = static_cast<long>(length);
  const long tenths = static_cast<long>(10 * length) % 10;
  return std::to_string(whole) + "." + std::to_string(tenths) + unit;
}

std::array<std::string, 3> SideTexts(SInt32 pixels, SInt32 dpi, SInt32 shown,
                                     const std::array<std::string, 3>& units) {
  const float kCmPerInch = 2.54f;
  double inches = 0.0, cm = 0.0;
  if (pixels > 0 && dpi > 0) {
    inches = (static_cast<double>(pixels) / dpi) * shown / pixels;
    cm = (pixels * static_cast<double>(kCmPerInch) / dpi) * shown / pixels;
  }
  return {LengthText(inches, units[0]), LengthText(cm, units[1]), std::to_string(pixels) + units[2]};
}

SInt16 TextBoxZone(Point pt, const Rect& r) {
  const SInt32 cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
  const bool midH = pt.h >= cx - 1 && pt.h <= cx + 1;
  const bool midV = pt.v >= cy - 1 && pt.v <= cy + 1;
  if (pt.v <= r.top) return pt.h <= r.left ? 1 : pt.h >= r.right ? 3 : midH ? 10 : 7;
  if (pt.v >= r.bottom) return pt.h <= r.left ? 2 : pt.h >= r.right ? 4 : midH ? 11 : 8;
  if (pt.h <= r.left) return midV ? 12 : 5;
  if (pt.h >= r.right) return midV ? 13 : 6;
  return 9;
}

Rect TextBoxResized(SInt16 zone, const Rect& start, const Rect& current, Point down, Point mouse, const Rect& range) {
  const SInt32 w0 = Width(start), h0 = Height(start);
  const SInt32 dh = mouse.h - down.h, dv = mouse.v - down.v;
  const SInt32 toLeft = start.left - current.left + dh, toTop = start.top - current.top + dv;
  const bool left = zone == 1 || zone == 2 || zone == 12;
  const bool right = zone == 3 || zone == 4 || zone == 13;
  const bool top = zone == 1 || zone == 3 || zone == 10;
  const bool bottom = zone == 2 || zone == 4 || zone == 11;
  SInt32 w = left ? w0 - dh : right ? w0 + dh : w0;
  SInt32 h = top ? h0 - dv : bottom ? h0 + dv : h0;
  SInt32 mh = left ? toLeft : 0, mv = top ? toTop : 0;
  if (w < 10) {
    w = 10;
    if (left) mh = Width(current) - 10;
  }
  if (h < 10) {
    h = 10;
    if (top) mv = Height(current) - 10;
  }
  Rect n = MakeRect(current.left + mh, current.top + mv, w, h);
  n.top = std::max(n.top, range.top);
  n.bottom = std::min(n.bottom, range.bottom);
  n.left = std::max(n.left, range.left);
  n.right = std::min(n.right, range.right);
  return n;
}

Point TextBoxMoveBack(const Rect& moved, const Rect& range) {
  Rect d = moved;
  if (d.top < range.top) Offset(d, 0, range.top - d.top);
  if (d.bottom > range.bottom) Offset(d, 0, range.bottom - d.bottom);
  if (d.right > range.right) Offset(d, range.right - d.right, 0);
  if (d.left < range.left) Offset(d, range.left - d.left, 0);
  return Point{static_cast<SInt16>(d.top - moved.top), static_cast<SInt16>(d.left - moved.left)};
}

Rect FittedTextBox(const Rect& box, const Rect& range) {
  Rect f = box;
  if (f.right > range.right) Offset(f, range.right - f.right, 0);
  if (f.left < range.left) Offset(f, range.left - f.left, 0);
  f.right = std::min(f.right, range.right);
  if (f.bottom > range.bottom) Offset(f, 0, range.bottom - f.bottom);
  if (f.top < range.top) Offset(f, 0, range.top - f.top);
  f.bottom = std::min(f.bottom, range.bottom);
  return f;
}

std::array<Point, 8> HandleCorners(const Rect& t) {
  const SInt16 mh = static_cast<SInt16>(t.left + (Width(t) - 3) / 2);
  const SInt16 mv = static_cast<SInt16>(t.top + (Height(t) - 3) / 2);
  const SInt16 r = static_cast<SInt16>(t.right - 3), b = static_cast<SInt16>(t.bottom - 3);
  return {Point{t.top, t.left}, Point{t.top, mh}, Point{t.top, r}, Point{mv, r},
          Point{b, r},          Point{b, mh},     Point{b, t.left}, Point{mv, t.left}};
}

SInt16 StyleBits(const StFontDialog& font) {
  auto low = [](SInt32 v) { return static_cast<UInt16>(v & 0xFFFF); };
  UInt16 s = low(font.shadow);
  for (SInt32 flag : {font.outline, font.underline, font.italic, font.bold}) s = static_cast<UInt16>((s * 2) ^ low(flag));
  return static_cast<SInt16>(s);
}

Rect ThumbnailFrame(SInt32 n) { return MakeRect(10 + kThumbPitch * (n - 1), 5, kThumbWidth, kThumbHeight); }

SInt32 StripWidth(SInt32 pages) { return kThumbPitch * pages; }

Rect ThumbnailImageRect(SInt32 imageWidth, SInt32 imageHeight, const Rect& frame) {
  if (imageWidth <= 0 || imageHeight <= 0) return Rect{frame.top, frame.left, frame.top, frame.left};
  // Scaled by 74 over the longer side, in one division so that whole results stay whole.
  const double longer = imageWidth > imageHeight ? imageWidth : imageHeight;
  const SInt32 w = static_cast<SInt32>(imageWidth * 74.0 / longer);
  const SInt32 h = static_cast<SInt32>(imageHeight * 74.0 / longer);
  return MakeRect(frame.left + (Width(frame) - w) / 2, frame.top + (90 - h) / 2, w, h);
}

}  // namespace pagegeom
