// The cooperative thread that loads one picture for its owner (a thumbnail's picture or the
// enlarged view): made suspended, resumed once at the owner's first idle time, running the
// whole load and then yielding once. The owner holds it; when the owner goes first, an
// unfinished loader is cancelled, so no loader ever runs against a destroyed owner.
#pragma once

#include <functional>

class LThread;
class LSimpleThread;

class CPictureLoader {
 public:
  explicit CPictureLoader(std::function<void()> load);
  ~CPictureLoader();
  CPictureLoader(const CPictureLoader&) = delete;
  CPictureLoader& operator=(const CPictureLoader&) = delete;

  void Resume();

 private:
  static void ReadThread_EntryPoint(LThread& thread, void* arg);

  std::function<void()> mLoad;
  LSimpleThread* mThread;  // null once it has ended
};
