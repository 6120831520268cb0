#include "app/COverlayButton.h"

#include "quickdraw/QuickDraw.h"

COverlayButton::COverlayButton(const SPaneInfo& paneInfo, MessageT valueMessage, SInt32 value, SInt32 minValue,
                               SInt32 maxValue, ResIDT normalPict, ResIDT pressedPict, ResIDT hoverPict,
                               ResIDT overlayPict)
    : CPictureButton(paneInfo, valueMessage, value, minValue, maxValue, normalPict, pressedPict, hoverPict),
      mOverlayPict(overlayPict) {}

void COverlayButton::DrawSelf() {
  CPictureButton::DrawSelf();
  if (mOverlayPict == 0) return;
  Rect frame;
  CalcLocalFrameRect(frame);
  Rect r{static_cast<SInt16>(frame.top + 10), static_cast<SInt16>(frame.left + 10), static_cast<SInt16>(frame.top + 42),
         static_cast<SInt16>(frame.left + 42)};
  DrawArtwork(mOverlayPict, r);
}
