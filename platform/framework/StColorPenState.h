// Saves the current port's pen (location, size, mode, pattern) and colours and puts them
// back at the end of the scope.
#pragma once

#include "framework/StColorState.h"

class StColorPenState {
 public:
  StColorPenState();
  ~StColorPenState();
  StColorPenState(const StColorPenState&) = delete;
  StColorPenState& operator=(const StColorPenState&) = delete;

  // The normal pen, black on white.
  static void Normalize();

 private:
  StColorState mColors;
  GrafPtr mPort;
  PenState mPen;
};
