// The watch of a wait: it comes up only once the wait has lasted half a second, so short
// waits do not flicker, and while it is up it stands over whatever cursor the program sets.
#pragma once

#include "toolbox/MacTypes.h"

class qdBusyCursor {
 public:
  static constexpr UInt32 kDelayTicks = 30;

  qdBusyCursor() = default;
  ~qdBusyCursor() { End(); }
  qdBusyCursor(const qdBusyCursor&) = delete;
  qdBusyCursor& operator=(const qdBusyCursor&) = delete;

  // Called on each pass of the wait; the first pass starts it on the tick clock.
  void Waiting();
  // The wait is over: the program's own cursor shows again.
  void End();
  bool Shown() const { return mShown; }

 private:
  bool mWaiting = false;
  bool mShown = false;
  UInt32 mStart = 0;
};
