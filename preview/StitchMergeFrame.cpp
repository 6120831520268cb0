#include "preview/StitchMergeFrame.h"

#include <cmath>
#include <initializer_list>
#include <limits>

namespace StitchMergeFrame {

namespace {

bool Fits(long value) {
  return value >= std::numeric_limits<SInt16>::min() && value <= std::numeric_limits<SInt16>::max();
}

}  // namespace

long ToImage(long screen, double scale) { return long(std::floor(double(screen) / scale + 0.5)); }

bool ImagePlaces(const Rect& leftPane, const Rect& rightPane, const Rect& crop, double scale, const Rect& leftImage,
                 const Rect& rightImage, Point leftPt, Point rightPt, Point mergePt, const Rect& merge, Places* out) {
  const long rightV = long(rightPt.v) + ToImage(long(rightPane.top) - leftPane.top, scale);
  const long rightH = long(rightPt.h) + ToImage(long(rightPane.left) - leftPane.right, scale);
  const long leftWidth = long(leftImage.right) - leftImage.left, leftHeight = long(leftImage.bottom) - leftImage.top;
  const bool sameSize = leftWidth == long(rightImage.right) - rightImage.left &&
                        leftHeight == long(rightImage.bottom) - rightImage.top;
  long top, left, bottom, right;
  if (sameSize) {
    const long dv = ToImage(long(crop.top) - leftPane.top, scale);
    const long dh = ToImage(long(crop.left) - leftPane.left, scale);
    const long dvb = ToImage(long(crop.bottom) - leftPane.bottom, scale);
    const long dhr = ToImage(long(crop.right) - (2L * leftPane.right - leftPane.left), scale);
    top = long(mergePt.v) + dv;
    left = long(mergePt.h) + dh;
    bottom = top + long(merge.bottom) + (dvb - dv) - merge.top;
    right = left + long(merge.right) + (dhr - dh) - merge.left;
  } else {
    top = long(leftPt.v) + ToImage(long(crop.top) - leftPane.top, scale);
    left = long(leftPt.h) + ToImage(long(crop.left) - leftPane.left, scale);
    bottom = long(leftPt.v) + leftHeight + ToImage(long(crop.bottom) - leftPane.bottom, scale);
    right = long(leftPt.h) + leftWidth + ToImage(long(crop.right) - leftPane.right, scale);
  }
  for (long value : {rightV, rightH, top, left, bottom, right, bottom - top, right - left})
    if (!Fits(value)) return false;
  out->rightPt = Point{SInt16(rightV), SInt16(rightH)};
  out->framePt = Point{SInt16(top), SInt16(left)};
  out->frame = Rect{0, 0, SInt16(bottom - top), SInt16(right - left)};
  return true;
}

}  // namespace StitchMergeFrame
