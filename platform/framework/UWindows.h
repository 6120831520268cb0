// Window geometry helpers of the framework.
#pragma once

#include "quickdraw/QuickDraw.h"

class UWindows {
 public:
  // Removes the structure (frame and content) of every visible window from `region`.
  static void ExcludeActiveStructures(RgnHandle region);
};
