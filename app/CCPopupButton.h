// A popup button that reports a choice even when the user picks the item already shown.
#pragma once

#include "app/CPopupButton.h"

class CCPopupButton : public CPopupButton {
 public:
  static constexpr ClassIDT class_ID = 'CCpp';
  using Inherited = CPopupButton;
  using CPopupButton::CPopupButton;

  bool TrackHotSpot(SInt16 hotSpot, Point point, SInt16 modifiers) override;
};
