// A colour-icon button that can show a target application's icon instead of its own.
#pragma once

#include "framework/LCicnButton.h"
#include "quickdraw/Icons.h"

class CCicnButton : public LCicnButton {
 public:
  static constexpr ClassIDT class_ID = 'Ccib';
  using Inherited = LCicnButton;

  explicit CCicnButton(LStream* stream);
  ~CCicnButton() override;

  // Takes over one hold of `icon` (null: the colour icon again) and releases the one
  // held before; the caller refreshes the button.
  void SetIconRef(IconRef icon);
  // Another pair of colour icons (normal, pushed), as a slot that changes its function needs.
  void SetCicnIDs(ResIDT normalID, ResIDT pushedID);

 protected:
  void DrawSelf() override;
  void HotSpotAction(SInt16, bool, bool) override {}

 private:
  IconRef mIconRef = nullptr;
  CIconHandle mIcon = nullptr;
};
