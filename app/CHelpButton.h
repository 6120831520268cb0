// The main window's help button: a picture button with a fourth picture for its disabled
// state.
#pragma once

#include "app/CPictureButton.h"

class CHelpButton : public CPictureButton {
 public:
  using Inherited = CPictureButton;

  CHelpButton(const SPaneInfo& paneInfo, MessageT valueMessage, SInt32 value, SInt32 minValue, SInt32 maxValue,
              ResIDT normalPict, ResIDT pressedPict, ResIDT hoverPict, ResIDT disabledPict);

 protected:
  void DrawSelf() override;

 private:
  ResIDT mDisabledPict = 0;
};
