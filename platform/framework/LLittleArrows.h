// Two small arrows that step the value up (upper arrow) or down (lower arrow) within the
// range, once per click.
#pragma once

#include "framework/LControl.h"

class LLittleArrows : public LControl {
 public:
  static constexpr ClassIDT class_ID = 'larr';
  enum : SInt16 { kUpArrow = 1, kDownArrow = 2 };

  LLittleArrows(const SPaneInfo& paneInfo, MessageT valueMessage, SInt32 value, SInt32 minValue, SInt32 maxValue);
  explicit LLittleArrows(LStream* stream);  // the control's data

  SInt16 FindHotSpot(Point point) const override;
  bool PointInHotSpot(Point point, SInt16 hotSpot) const override;

 protected:
  void DrawSelf() override;
  void HotSpotResult(SInt16 hotSpot) override;
};
