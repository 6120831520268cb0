#include "framework/UQDGlobals.h"

#include "framework/UEnvironment.h"
#include "quickdraw/QuickDraw.h"

void UQDGlobals::InitializeToolbox() {
  InitGraf(nullptr);
  InitCursor();
  UEnvironment::InitEnvironment();
}

void InitializeHeap(SInt16) {}
