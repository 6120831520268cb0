// A control that shows a colour icon ('cicn'); the alert icons 0 (stop), 1 (note) and
// 2 (caution) are drawn when no such resource exists.
#pragma once

#include "framework/LControl.h"

class LIconControl : public LControl {
 public:
  static constexpr ClassIDT class_ID = 'icnp';

  LIconControl(const SPaneInfo& paneInfo, MessageT valueMessage, ResIDT iconID);
  // Layout data: the control's, then layout::kIcon.
  explicit LIconControl(LStream* stream);

 protected:
  void DrawSelf() override;
  void HotSpotResult(SInt16) override { BroadcastValueMessage(); }

 private:
  ResIDT mIconID = 0;
};
