// Saves the current port's foreground and background colours and puts them back at the
// end of the scope.
#pragma once

#include "quickdraw/QuickDraw.h"

class StColorState {
 public:
  StColorState();
  ~StColorState();
  StColorState(const StColorState&) = delete;
  StColorState& operator=(const StColorState&) = delete;

  // Black on white.
  static void Normalize();

 private:
  GrafPtr mPort;
  RGBColor mForeColor;
  RGBColor mBackColor;
};
