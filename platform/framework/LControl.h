// A pane with a value that the user changes by clicking. The tracking of the mouse lives
// here once: the hot spot under the mouse is hilited while the button is down inside it,
// and a release inside calls HotSpotResult. SetValue broadcasts the value message (with a
// pointer to the new value) only when the value really changes.
#pragma once

#include "framework/LBroadcaster.h"
#include "framework/LPane.h"

class LControl : public LPane, public LBroadcaster {
 public:
  static constexpr ClassIDT class_ID = 'cntl';

  LControl(const SPaneInfo& paneInfo, MessageT valueMessage, SInt32 value, SInt32 minValue, SInt32 maxValue);
  // Layout data: the pane's, then layout::kControl (framework/LayoutFields.h).
  explicit LControl(LStream* stream);

  SInt32 GetValue() const override { return mValue; }
  // Clamped to the range; broadcasts only a change.
  void SetValue(SInt32 value) override;
  SInt32 GetMinValue() const { return mMinValue; }
  SInt32 GetMaxValue() const { return mMaxValue; }
  virtual void SetMinValue(SInt32 minValue);
  virtual void SetMaxValue(SInt32 maxValue);
  MessageT GetValueMessage() const { return mValueMessage; }
  virtual void BroadcastValueMessage();

  // As if the user clicked the hot spot (keyboard equivalents of buttons).
  virtual void SimulateHotSpotClick(SInt16 hotSpot);
  // The hot spot drawn pressed, 0 when none.
  SInt16 GetHilitedHotSpot() const { return mHilitedHotSpot; }

  virtual SInt16 FindHotSpot(Point point) const;
  virtual bool PointInHotSpot(Point point, SInt16 hotSpot) const;
  // Follows the mouse while the button is down; true when released inside the hot spot.
  virtual bool TrackHotSpot(SInt16 hotSpot, Point point, SInt16 modifiers);

 protected:
  void ClickSelf(const SMouseDownEvent& event) override;
  virtual void HotSpotAction(SInt16 hotSpot, bool currInside, bool prevInside);
  virtual void HotSpotResult(SInt16) {}
  virtual void DoneTracking(SInt16, bool) {}
  // Draws the control now (during tracking).
  void DrawNow();

  MessageT mValueMessage;
  SInt32 mValue;
  SInt32 mMinValue;
  SInt32 mMaxValue;
  SInt16 mHilitedHotSpot = 0;
};
