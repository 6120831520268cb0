#include "framework/UCursor.h"

#include "quickdraw/QuickDraw.h"

void UCursor::SetArrow() {
  Cursor arrow;
  SetCursor(GetQDGlobalsArrow(&arrow));
}
