// A push button drawn from pictures: one when idle, one while pressed, one while the mouse
// is over it. A click released inside broadcasts the value message (no parameter).
#pragma once

#include "framework/LControl.h"
#include "framework/LMouseTracker.h"

class CPictureButton : public LControl, public LMouseTracker {
 public:
  static constexpr ClassIDT class_ID = 'Pctb';
  using Inherited = LControl;

  // Layout data: the control's, then layout::kPictureButton (app/AppLayoutClasses.h).
  explicit CPictureButton(LStream* stream);
  CPictureButton(const SPaneInfo& paneInfo, MessageT valueMessage, SInt32 value, SInt32 minValue, SInt32 maxValue,
                 ResIDT idlePict, ResIDT pressedPict, ResIDT hoverPict);

  bool IsPressed() const { return mPressed != 0; }

  void MouseEnter(Point portPt, const EventRecord& event) override;
  void MouseLeave() override;

 protected:
  void ClickSelf(const SMouseDownEvent& event) override;
  void DrawSelf() override;
  void HotSpotAction(SInt16 hotSpot, bool currInside, bool prevInside) override;
  void HotSpotResult(SInt16 hotSpot) override;

  // Draws the picture scaled into `frame` in its own colours; false when it is missing.
  static bool DrawArtwork(ResIDT pictID, const Rect& frame);
  // Draws the picture scaled into the frame, or a grey framed box when it is missing.
  void DrawPictureOrBox(ResIDT pictID);

  ResIDT mIdlePict = 0;
  ResIDT mPressedPict = 0;
  ResIDT mHoverPict = 0;
  UInt8 mPressed = 0;
};
