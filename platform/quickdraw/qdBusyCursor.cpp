#include "quickdraw/qdBusyCursor.h"

#include "quickdraw/qdPort.h"
#include "toolbox/Clock.h"

void qdBusyCursor::Waiting() {
  const UInt32 now = TickCount();
  if (!mWaiting) {
    mWaiting = true;
    mStart = now;
  }
  if (mShown || now - mStart < kDelayTicks) return;
  mShown = true;
  qdShowBusyCursor(true);
}

void qdBusyCursor::End() {
  mWaiting = false;
  if (!mShown) return;
  mShown = false;
  qdShowBusyCursor(false);
}
