#include "framework/LBroadcaster.h"

#include <algorithm>

#include "framework/LListener.h"

LBroadcaster::~LBroadcaster() {
  if (mDestroyed) *mDestroyed = true;
  for (LListener* listener : mListeners) std::erase(listener->mBroadcasters, this);
}

void LBroadcaster::AddListener(LListener* listener) {
  if (!listener || HasListener(listener)) return;
  mListeners.push_back(listener);
  listener->mBroadcasters.push_back(this);
}

void LBroadcaster::RemoveListener(LListener* listener) {
  if (!listener) return;
  std::erase(mListeners, listener);
  std::erase(listener->mBroadcasters, this);
}

bool LBroadcaster::HasListener(const LListener* listener) const {
  return std::find(mListeners.begin(), mListeners.end(), listener) != mListeners.end();
}

void LBroadcaster::BroadcastMessage(MessageT message, void* param) {
  if (!mIsBroadcasting) return;
  // A listener may remove or delete itself, other listeners or this broadcaster: deliver
  // from a snapshot, skip listeners that left meanwhile, and stop once this object is gone.
  bool destroyed = false;
  bool* outer = mDestroyed;
  mDestroyed = &destroyed;
  const std::vector<LListener*> snapshot = mListeners;
  for (LListener* listener : snapshot) {
    if (!HasListener(listener) || !listener->IsListening()) continue;
    listener->ListenToMessage(message, param);
    if (destroyed) {
      if (outer) *outer = true;
      return;
    }
  }
  mDestroyed = outer;
}
