// Cooperative threads. One thread runs at a time and control changes hands only at
// Yield() or when a thread ends; the main event loop gives every ready thread a turn by
// calling Yield() (through LYieldAttachment), but ends the pass early when user input
// waits, so that input is served between two turns. A thread is created suspended and starts
// on Resume(). When its Run() returns, or throws (the exception is swallowed), the
// framework deletes it. Cancel() ends a thread that has not finished: one that never ran is
// deleted at once, one waiting in Yield() has the call throw so that its stack unwinds.
#pragma once

#include <cstddef>
#include <memory>

#include "framework/FrameworkTypes.h"

class LThread {
 public:
  explicit LThread(size_t stackSize = kDefaultStackSize);
  LThread(const LThread&) = delete;
  LThread& operator=(const LThread&) = delete;

  // Makes a created or suspended thread ready to run at the next turn.
  void Resume();
  // Takes a ready thread out of the turns until Resume(); suspending the running thread
  // also yields.
  void Suspend();
  void Cancel();

  bool IsSuspended() const { return mState == State::Suspended || mState == State::Created; }
  bool IsCurrent() const { return sCurrent == this; }

  // From a thread: hand control back to the main loop. From the main thread: give every
  // ready thread one turn.
  static void Yield();
  static bool InMainThread() { return sCurrent == nullptr; }
  static size_t CountThreads();
  // From the main thread: cancels every thread that has not finished.
  static void CancelAllThreads();

  static constexpr size_t kDefaultStackSize = 8u << 20;  // reserved, touched lazily

 protected:
  // Destroyed by the framework (or by Cancel): never delete a started thread yourself.
  virtual ~LThread();
  virtual void* Run() = 0;

 private:
  enum class State { Created, Ready, Suspended, Finished };
  struct Context;

  static void Entry();
  void SwitchIn();
  void SwitchOut(bool finishing);
  void Destroy();

  State mState = State::Created;
  bool mStarted = false;
  bool mCancelled = false;
  std::unique_ptr<Context> mContext;

  static LThread* sCurrent;
};
