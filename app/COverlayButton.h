// The picture buttons of the functions that hand files to no application (Copy, Print,
// Save, Settings): a picture button that can draw a 32 x 32 overlay picture at +10, +10.
#pragma once

#include "app/CPictureButton.h"

class COverlayButton : public CPictureButton {
 public:
  COverlayButton(const SPaneInfo& paneInfo, MessageT valueMessage, SInt32 value, SInt32 minValue, SInt32 maxValue,
                 ResIDT normalPict, ResIDT pressedPict, ResIDT hoverPict, ResIDT overlayPict);

 protected:
  void DrawSelf() override;

 private:
  ResIDT mOverlayPict;
};

using CCopyButton = COverlayButton;
using CPrintButton = COverlayButton;
using CSaveButton = COverlayButton;
using CSettingButton = COverlayButton;
