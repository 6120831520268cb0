// A row of tabs across the top of a box. Its value is the chosen tab (1..count), clamped
// to the tabs there are; choosing a tab broadcasts the value message. Tab titles come from
// a 'tab#' resource (u16 version, u16 count, then per tab: icon ID i16, title as a Pascal
// string, 6 reserved bytes) or are given in code.
#pragma once

#include <string>
#include <vector>

#include "framework/LControl.h"

class LTabsControl : public LControl {
 public:
  static constexpr ClassIDT class_ID = 'tabs';

  LTabsControl(const SPaneInfo& paneInfo, MessageT valueMessage, ResIDT tabsID, ResIDT textTraitsID = 0);
  // Layout data: the control's (its value is the first tab shown), then layout::kTabs (the
  // 'tab#' ID, the text traits).
  explicit LTabsControl(LStream* stream);

  void SetTabTitles(const std::vector<std::string>& titles);
  // The titles of 'tab#' `tabsID` in order; a damaged list gives the entries read before
  // the damage, a missing one none.
  static std::vector<std::string> ReadTabTitles(ResIDT tabsID);
  SInt16 CountTabs() const { return static_cast<SInt16>(mTitles.size()); }

  SInt16 FindHotSpot(Point point) const override;
  bool PointInHotSpot(Point point, SInt16 hotSpot) const override;

 protected:
  void DrawSelf() override;
  void HotSpotResult(SInt16 hotSpot) override { SetValue(hotSpot); }

 private:
  bool TabRect(SInt16 tab, Rect& out) const;

  std::vector<std::string> mTitles;
  ResIDT mTextTraitsID = 0;
};
