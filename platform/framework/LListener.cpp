#include "framework/LListener.h"

#include <algorithm>

#include "framework/LBroadcaster.h"

LListener::~LListener() {
  // Removing this listener from a broadcaster edits mBroadcasters: work on a copy.
  const std::vector<LBroadcaster*> broadcasters = mBroadcasters;
  for (LBroadcaster* broadcaster : broadcasters) broadcaster->RemoveListener(this);
}

bool LListener::HasBroadcaster(const LBroadcaster* broadcaster) const {
  return std::find(mBroadcasters.begin(), mBroadcasters.end(), broadcaster) != mBroadcasters.end();
}
