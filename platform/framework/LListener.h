// Receives the messages of the broadcasters it listens to. StopListening/StartListening
// nest: a listener hears messages again only when every StopListening has been matched.
#pragma once

#include <vector>

#include "framework/FrameworkTypes.h"

class LBroadcaster;

class LListener {
 public:
  LListener() = default;
  LListener(const LListener&) = delete;
  LListener& operator=(const LListener&) = delete;
  virtual ~LListener();

  virtual void ListenToMessage(MessageT message, void* param) = 0;

  void StopListening() { ++mStopDepth; }
  void StartListening() {
    if (mStopDepth > 0) --mStopDepth;
  }
  bool IsListening() const { return mStopDepth == 0; }
  bool HasBroadcaster(const LBroadcaster* broadcaster) const;

 private:
  friend class LBroadcaster;

  std::vector<LBroadcaster*> mBroadcasters;
  int mStopDepth = 0;
};
