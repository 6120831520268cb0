// Start-up of the drawing and memory services, called by main before the application
// object exists.
#pragma once

#include "framework/FrameworkTypes.h"

class UQDGlobals {
 public:
  // QuickDraw, the cursor and the framework's environment.
  static void InitializeToolbox();
};

// Sets up the heap with `moreMasters` blocks of master pointers (nothing to prepare here).
void InitializeHeap(SInt16 moreMasters);
