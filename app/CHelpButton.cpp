#include "app/CHelpButton.h"

CHelpButton::CHelpButton(const SPaneInfo& paneInfo, MessageT valueMessage, SInt32 value, SInt32 minValue,
                         SInt32 maxValue, ResIDT normalPict, ResIDT pressedPict, ResIDT hoverPict, ResIDT disabledPict)
    : CPictureButton(paneInfo, valueMessage, value, minValue, maxValue, normalPict, pressedPict, hoverPict),
      mDisabledPict(disabledPict) {}

void CHelpButton::DrawSelf() {
  if (!IsEnabled() && mDisabledPict != 0)
    DrawPictureOrBox(mDisabledPict);
  else
    CPictureButton::DrawSelf();
}
