#include "app/CCPopupButton.h"

bool CCPopupButton::TrackHotSpot(SInt16 hotSpot, Point point, SInt16 modifiers) {
  const SInt32 before = GetValue();
  const bool chosen = CPopupButton::TrackHotSpot(hotSpot, point, modifiers);
  // A new value has been broadcast already by SetValue.
  if (chosen && GetValue() == before) BroadcastValueMessage();
  return chosen;
}
