// A thread that runs a plain function with an argument.
#pragma once

#include "framework/LThread.h"

class LSimpleThread : public LThread {
 public:
  typedef void (*ThreadProc)(LThread& thread, void* arg);

  LSimpleThread(ThreadProc proc, void* arg, size_t stackSize = kDefaultStackSize)
      : LThread(stackSize), mProc(proc), mArg(arg) {}

 protected:
  void* Run() override {
    mProc(*this, mArg);
    return nullptr;
  }

 private:
  ThreadProc mProc;
  void* mArg;
};
