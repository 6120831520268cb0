#include "framework/LLittleArrows.h"

#include "framework/UAppearance.h"

LLittleArrows::LLittleArrows(const SPaneInfo& paneInfo, MessageT valueMessage, SInt32 value, SInt32 minValue,
                             SInt32 maxValue)
    : LControl(paneInfo, valueMessage, value, minValue, maxValue) {}

LLittleArrows::LLittleArrows(LStream* stream) : LControl(stream) {}

SInt16 LLittleArrows::FindHotSpot(Point point) const {
  if (!PointIsInFrame(point.h, point.v)) return 0;
  return point.v < mFrameLocation.v + mFrameSize.height / 2 ? kUpArrow : kDownArrow;
}

bool LLittleArrows::PointInHotSpot(Point point, SInt16 hotSpot) const { return FindHotSpot(point) == hotSpot; }

void LLittleArrows::HotSpotResult(SInt16 hotSpot) { SetValue(mValue + (hotSpot == kUpArrow ? 1 : -1)); }

void LLittleArrows::DrawSelf() {
  Rect frame;
  CalcLocalFrameRect(frame);
  SInt16 middle = static_cast<SInt16>((frame.top + frame.bottom) / 2);
  Rect up = {frame.top, frame.left, middle, frame.right};
  Rect down = {middle, frame.left, frame.bottom, frame.right};
  UAppearance::DrawPushButton(up, mHilitedHotSpot == kUpArrow, IsEnabled(), false);
  UAppearance::DrawPushButton(down, mHilitedHotSpot == kDownArrow, IsEnabled(), false);
  UAppearance::SetTextColor(IsEnabled());
  SInt16 cx = static_cast<SInt16>((frame.left + frame.right) / 2);
  for (SInt16 i = 0; i < 3; ++i) {
    SInt16 upRow = static_cast<SInt16>((up.top + up.bottom) / 2 - 1 + i);
    SInt16 downRow = static_cast<SInt16>((down.top + down.bottom) / 2 + 1 - i);
    MoveTo(static_cast<SInt16>(cx - i), upRow);
    LineTo(static_cast<SInt16>(cx + i), upRow);
    MoveTo(static_cast<SInt16>(cx - i), downRow);
    LineTo(static_cast<SInt16>(cx + i), downRow);
  }
}
