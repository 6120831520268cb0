#include "framework/LTabsControl.h"

#include "framework/LDataStream.h"
#include "framework/LException.h"
#include "framework/ReadLayoutFields.h"
#include "framework/UAppearance.h"
#include "framework/UTextDrawing.h"
#include "framework/UTextTraits.h"
#include "quickdraw/QuickDrawText.h"
#include "toolbox/MacMemory.h"
#include "toolbox/Resources.h"

namespace {

constexpr SInt16 kTabHeight = 22;
constexpr SInt16 kTabGap = 2;

}  // namespace

LTabsControl::LTabsControl(const SPaneInfo& paneInfo, MessageT valueMessage, ResIDT tabsID, ResIDT textTraitsID)
    : LControl(paneInfo, valueMessage, 1, 1, 1), mTextTraitsID(textTraitsID) {
  SetTabTitles(ReadTabTitles(tabsID));
}

LTabsControl::LTabsControl(LStream* stream) : LControl(stream) {
  ResIDT tabsID = 0;
  ReadLayoutFields<layout::kTabs>(*stream, tabsID, mTextTraitsID);
  SInt32 initial = mValue;
  SetTabTitles(ReadTabTitles(tabsID));
  mValue = std::clamp<SInt32>(initial, mMinValue, mMaxValue);
}

std::vector<std::string> LTabsControl::ReadTabTitles(ResIDT tabsID) {
  std::vector<std::string> titles;
  if (Handle data = GetResource('tab#', tabsID)) {
    LDataStream stream(static_cast<const void*>(*data), static_cast<SInt32>(GetHandleSize(data)));
    try {
      UInt16 version = 0, count = 0;
      stream >> version >> count;
      for (UInt16 i = 0; i < count; ++i) {
        SInt16 icon = 0;
        Str255 title;
        stream >> icon >> title;
        UInt8 reserved[6];
        stream.ReadBlock(reserved, sizeof reserved);
        titles.emplace_back(reinterpret_cast<const char*>(title + 1), title[0]);
      }
    } catch (const LException&) {
      // A damaged list keeps the tabs read so far.
    }
  }
  return titles;
}

void LTabsControl::SetTabTitles(const std::vector<std::string>& titles) {
  mTitles = titles;
  SInt32 count = static_cast<SInt32>(mTitles.size());
  mMinValue = count > 0 ? 1 : 0;
  mMaxValue = count;
  if (mValue < mMinValue || mValue > mMaxValue) SetValue(mMinValue);
  Refresh();
}

bool LTabsControl::TabRect(SInt16 tab, Rect& out) const {
  if (tab < 1 || tab > CountTabs()) return false;
  Rect frame;
  CalcLocalFrameRect(frame);
  SInt16 width = static_cast<SInt16>((frame.right - frame.left - 8) / std::max<SInt16>(1, CountTabs()));
  out.left = static_cast<SInt16>(frame.left + 4 + (tab - 1) * width);
  out.right = static_cast<SInt16>(out.left + width - kTabGap);
  out.top = frame.top;
  out.bottom = static_cast<SInt16>(frame.top + kTabHeight);
  return true;
}

SInt16 LTabsControl::FindHotSpot(Point point) const {
  for (SInt16 tab = 1; tab <= CountTabs(); ++tab) {
    Rect r;
    if (TabRect(tab, r) && PtInRect(point, &r)) return tab;
  }
  return 0;
}

bool LTabsControl::PointInHotSpot(Point point, SInt16 hotSpot) const { return FindHotSpot(point) == hotSpot; }

void LTabsControl::DrawSelf() {
  Rect frame;
  CalcLocalFrameRect(frame);
  Rect box = frame;
  box.top = static_cast<SInt16>(frame.top + kTabHeight - 1);
  RGBForeColor(IsEnabled() ? &UAppearance::kFrame : &UAppearance::kDimmedText);
  FrameRect(&box);
  for (SInt16 tab = 1; tab <= CountTabs(); ++tab) {
    Rect r;
    TabRect(tab, r);
    bool chosen = tab == mValue;
    RGBForeColor(chosen ? &UAppearance::kFace : (mHilitedHotSpot == tab ? &UAppearance::kFacePressed : &UAppearance::kWindowBack));
    PaintRect(&r);
    RGBForeColor(IsEnabled() ? &UAppearance::kFrame : &UAppearance::kDimmedText);
    FrameRect(&r);
    UTextTraits::SetPortTextTraits(mTextTraitsID);
    UAppearance::SetTextColor(IsEnabled());
    Str255 title;
    title[0] = static_cast<unsigned char>(std::min<size_t>(mTitles[static_cast<size_t>(tab - 1)].size(), 255));
    std::copy_n(mTitles[static_cast<size_t>(tab - 1)].data(), title[0], title + 1);
    Rect text = r;
    InsetRect(&text, 4, 0);
    UTextDrawing::DrawTruncatedWithJust(title, text, teCenter);
  }
}
