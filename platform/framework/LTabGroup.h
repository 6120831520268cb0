// Moves the keyboard focus among its sub-commanders (the edit fields inside it in a
// layout) with Tab, and Shift-Tab backwards. Taking the focus itself hands it to the first.
#pragma once

#include "framework/LCommander.h"

class LStream;

class LTabGroup : public LCommander {
 public:
  static constexpr ClassIDT class_ID = 'tabg';

  explicit LTabGroup(LCommander* super);
  explicit LTabGroup(LStream* stream);  // no data of its own

  bool HandleKeyPress(const EventRecord& event) override;

 protected:
  void BeTarget() override;

 private:
  // The sub-commander that can take the focus next after `from` (in `step` direction).
  LCommander* NextTarget(LCommander* from, int step) const;
};
