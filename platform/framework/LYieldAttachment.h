// Attached to the application: gives the cooperative threads a turn on every event.
#pragma once

#include "framework/LAttachment.h"

class LYieldAttachment : public LAttachment {
 public:
  // `quantum` in ticks is kept for callers to read; threads get a turn on every event.
  explicit LYieldAttachment(SInt32 quantum = -1) : LAttachment(msg_Event, true), mQuantum(quantum) {}

  SInt32 GetQuantum() const { return mQuantum; }

 protected:
  void ExecuteSelf(MessageT message, void* param) override;

 private:
  SInt32 mQuantum;
};
