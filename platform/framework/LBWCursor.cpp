#include "framework/LBWCursor.h"

#include "framework/UCursor.h"
#include "toolbox/MacMemory.h"

LBWCursor::LBWCursor(SInt16 cursorID) : mCursor(GetCursor(cursorID)) {}

LBWCursor::~LBWCursor() {
  if (mCursor) DisposeHandle(reinterpret_cast<Handle>(mCursor));
}

void LBWCursor::Set() const {
  if (mCursor)
    SetCursor(*mCursor);
  else
    UCursor::SetArrow();
}
