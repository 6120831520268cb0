// Panes that want to know when the mouse enters and leaves them. The event loop follows
// the mouse on every idle pass.
#pragma once

#include "windows/Events.h"

class LMouseTracker {
 public:
  LMouseTracker() = default;
  virtual ~LMouseTracker();

  virtual void MouseEnter(Point portPt, const EventRecord& event) = 0;
  virtual void MouseLeave() = 0;

  // The tracker under the mouse now (null for none): tells the old one it was left and the
  // new one it was entered.
  static void MouseIsOver(LMouseTracker* tracker, Point portPt, const EventRecord& event);

 private:
  static LMouseTracker* sCurrent;
};
