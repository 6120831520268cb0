#include "framework/LMouseTracker.h"

LMouseTracker* LMouseTracker::sCurrent = nullptr;

LMouseTracker::~LMouseTracker() {
  if (sCurrent == this) sCurrent = nullptr;
}

void LMouseTracker::MouseIsOver(LMouseTracker* tracker, Point portPt, const EventRecord& event) {
  if (tracker == sCurrent) return;
  LMouseTracker* old = sCurrent;
  sCurrent = tracker;
  if (old) old->MouseLeave();
  if (tracker) tracker->MouseEnter(portPt, event);
}
