#include "app/CPictureButton.h"

#include "app/AppLayoutClasses.h"
#include "framework/ReadLayoutFields.h"
#include "framework/StColorState.h"
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

void CPictureButton::DrawPictureOrBox(ResIDT pictID) {
  // Black on white, so the picture's own colours show whatever state the pane is in.
  StColorState colours;
  StColorState::Normalize();
  Rect frame;
  CalcLocalFrameRect(frame);
  if (PicHandle picture = GetPicture(pictID)) {
    DrawPicture(picture, &frame);
    KillPicture(picture);
    return;
  }
  PenNormal();
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
  PicHandle hover = GetPicture(mHoverPict);
  if (!hover) return;
  Rect frame;
  CalcLocalFrameRect(frame);
  DrawPicture(hover, &frame);
  KillPicture(hover);
  QDFlushPortBuffer(GetMacPort(), nullptr);
}

void CPictureButton::MouseLeave() {
  Refresh();
  DrawNow();
}
