// Sends messages to the listeners that subscribed to it, synchronously and in the order
// they subscribed. Links are non-owning both ways and cut when either side is destroyed,
// so a listener may delete the broadcaster (or itself) while a message is being delivered.
#pragma once

#include <vector>

#include "framework/FrameworkTypes.h"

class LListener;

class LBroadcaster {
 public:
  LBroadcaster() = default;
  LBroadcaster(const LBroadcaster&) = delete;
  LBroadcaster& operator=(const LBroadcaster&) = delete;
  virtual ~LBroadcaster();

  void AddListener(LListener* listener);
  void RemoveListener(LListener* listener);
  bool HasListener(const LListener* listener) const;

  void StartBroadcasting() { mIsBroadcasting = true; }
  void StopBroadcasting() { mIsBroadcasting = false; }

  virtual void BroadcastMessage(MessageT message, void* param = nullptr);

 private:
  friend class LListener;

  std::vector<LListener*> mListeners;
  bool mIsBroadcasting = true;
  bool* mDestroyed = nullptr;  // set when this object dies during BroadcastMessage
};
