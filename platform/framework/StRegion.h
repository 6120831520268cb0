// A region held for the scope: made empty or from a rectangle, disposed at the end.
#pragma once

#include "quickdraw/QuickDraw.h"

class StRegion {
 public:
  StRegion();
  explicit StRegion(const Rect& rect);
  ~StRegion();
  StRegion(const StRegion&) = delete;
  StRegion& operator=(const StRegion&) = delete;

  operator RgnHandle() const { return mRegion; }

 private:
  RgnHandle mRegion;
};
