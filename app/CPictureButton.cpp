#include "app/CPictureButton.h"

#include "app/AppLayoutClasses.h"
#include "framework/ReadLayoutFields.h"
#include "framework/StColorPenState.h"
#include "quickdraw/QuickDraw.h"

CPictureButton::CPictureButton(LStream* stream) : LControl(stream) {
  ReadLayoutFields<layout::kPictureButton>(*stream, mIdlePict, mPressedPict, mHoverPict);
}

CPictureButton::CPictureButton(const SPaneInfo& paneInfo, MessageT valueMessage, SInt32 value, SInt32 minValue,
                               SInt32 maxValue, ResIDT idlePict, ResIDT pressedPict, ResIDT hoverPict)
    : LControl(paneInfo, valueMessage, value, minValue, maxValue),
      mIdlePict(idlePict),
      mPressedPict(pressedPict),
      mHoverPict(hoverPict) {}

bool CPictureButton::DrawArtwork(ResIDT pictID, const Rect& frame) {
  PicHandle picture = GetPicture(pictID);
  if (!picture) return false;
  // Black on white, so the picture's own colours show whatever colours the port was left with.
  StColorState colours;
  StColorState::Normalize();
  DrawPicture(picture, &frame);
  KillPicture(picture);
  return true;
}

void CPictureButton::DrawPictureOrBox(ResIDT pictID) {
  Rect frame;
  CalcLocalFrameRect(frame);
  if (DrawArtwork(pictID, frame)) return;
  StColorPenState pen;
  StColorPenState::Normalize();
  Pattern grey;
  FillRect(&frame, GetQDGlobalsLightGray(&grey));
  FrameRect(&frame);
}

void CPictureButton::DrawSelf() { DrawPictureOrBox(mPressed ? mPressedPict : mIdlePict); }

void CPictureButton::ClickSelf(const SMouseDownEvent& event) {
  const SInt16 hotSpot = FindHotSpot(event.whereLocal);
  if (hotSpot < 1) return;
  FocusDraw();
  if (!TrackHotSpot(hotSpot, event.whereLocal, static_cast<SInt16>(event.macEvent.modifiers))) return;
  mPressed = 0;
  Refresh();
  HotSpotResult(hotSpot);
}

void CPictureButton::HotSpotAction(SInt16 hotSpot, bool currInside, bool) {
  const UInt8 pressed = hotSpot != 0 && currInside ? 1 : 0;
  if (pressed == mPressed) return;
  mPressed = pressed;
  DrawNow();
}

void CPictureButton::HotSpotResult(SInt16) { BroadcastMessage(mValueMessage, nullptr); }

void CPictureButton::MouseEnter(Point, const EventRecord&) {
  if (!IsVisible() || !FocusDraw()) return;
  Rect frame;
  CalcLocalFrameRect(frame);
  if (!DrawArtwork(mHoverPict, frame)) return;
  QDFlushPortBuffer(GetMacPort(), nullptr);
}

void CPictureButton::MouseLeave() {
  Refresh();
  DrawNow();
}
