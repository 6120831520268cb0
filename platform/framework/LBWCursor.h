// A black-and-white cursor from a 'CURS' resource, held for the object's life.
#pragma once

#include "quickdraw/QuickDraw.h"

class LBWCursor {
 public:
  // A missing resource leaves the cursor empty: Set then shows the arrow.
  explicit LBWCursor(SInt16 cursorID);
  ~LBWCursor();
  LBWCursor(const LBWCursor&) = delete;
  LBWCursor& operator=(const LBWCursor&) = delete;

  void Set() const;
  bool IsValid() const { return mCursor != nullptr; }

 private:
  CursHandle mCursor = nullptr;
};
