#include "framework/LControl.h"

#include <algorithm>

#include "framework/LStream.h"
#include "framework/ReadLayoutFields.h"

LControl::LControl(const SPaneInfo& paneInfo, MessageT valueMessage, SInt32 value, SInt32 minValue, SInt32 maxValue)
    : LPane(paneInfo), mValueMessage(valueMessage), mValue(value), mMinValue(minValue), mMaxValue(maxValue) {}

LControl::LControl(LStream* stream) : LPane(stream) {
  ReadLayoutFields<layout::kControl>(*stream, mValueMessage, mValue, mMinValue, mMaxValue);
}

void LControl::SetValue(SInt32 value) {
  value = std::clamp(value, mMinValue, std::max(mMinValue, mMaxValue));
  if (value == mValue) return;
  mValue = value;
  Refresh();
  BroadcastValueMessage();
}

void LControl::SetMinValue(SInt32 minValue) {
  mMinValue = minValue;
  if (mValue < minValue) SetValue(minValue);
}

void LControl::SetMaxValue(SInt32 maxValue) {
  mMaxValue = maxValue;
  if (mValue > maxValue) SetValue(std::max(mMinValue, maxValue));
}

void LControl::BroadcastValueMessage() {
  if (mValueMessage != msg_Nothing) {
    SInt32 value = mValue;
    BroadcastMessage(mValueMessage, &value);
  }
}

void LControl::SimulateHotSpotClick(SInt16 hotSpot) {
  if (!IsEnabled() || !IsVisible()) return;
  HotSpotAction(hotSpot, true, false);
  HotSpotAction(hotSpot, false, true);
  DoneTracking(hotSpot, true);
  HotSpotResult(hotSpot);
}

SInt16 LControl::FindHotSpot(Point) const { return 1; }

bool LControl::PointInHotSpot(Point point, SInt16) const { return PointIsInFrame(point.h, point.v); }

void LControl::ClickSelf(const SMouseDownEvent& event) {
  SInt16 hotSpot = FindHotSpot(event.whereLocal);
  if (hotSpot < 1) return;
  FocusDraw();
  if (TrackHotSpot(hotSpot, event.whereLocal, static_cast<SInt16>(event.macEvent.modifiers))) HotSpotResult(hotSpot);
}

bool LControl::TrackHotSpot(SInt16 hotSpot, Point point, SInt16) {
  bool inside = PointInHotSpot(point, hotSpot);
  HotSpotAction(hotSpot, inside, false);
  Point now = point;
  while (StillDown()) {
    FocusDraw();
    GetMouse(&now);
    bool nowInside = PointInHotSpot(now, hotSpot);
    if (nowInside != inside) {
      HotSpotAction(hotSpot, nowInside, inside);
      inside = nowInside;
    }
  }
  FocusDraw();
  GetMouse(&now);
  bool released = PointInHotSpot(now, hotSpot);
  if (inside) HotSpotAction(hotSpot, false, true);
  DoneTracking(hotSpot, released);
  return released;
}

void LControl::HotSpotAction(SInt16 hotSpot, bool currInside, bool) {
  SInt16 hilited = currInside ? hotSpot : 0;
  if (hilited == mHilitedHotSpot) return;
  mHilitedHotSpot = hilited;
  DrawNow();
}

void LControl::DrawNow() {
  if (!IsVisible() || !FocusDraw()) return;
  Rect frame;
  CalcLocalFrameRect(frame);
  ApplyForeAndBackColors();
  EraseRect(&frame);
  DrawSelf();
  QDFlushPortBuffer(GetMacPort(), nullptr);
}
