// A button drawn from colour icons: one when idle, another while pressed. A click
// broadcasts its value message.
#pragma once

#include "framework/LControl.h"

class LCicnButton : public LControl {
 public:
  static constexpr ClassIDT class_ID = 'cicn';

  LCicnButton(const SPaneInfo& paneInfo, MessageT valueMessage, ResIDT normalID, ResIDT pushedID);
  // Layout data: the control's, then layout::kCicnButton (the idle and the pressed icon).
  explicit LCicnButton(LStream* stream);

 protected:
  void DrawSelf() override;
  void HotSpotResult(SInt16) override { BroadcastValueMessage(); }

  ResIDT mNormalID = 0;
  ResIDT mPushedID = 0;
};
