// A picture button that is also a drop area on its window: the base of the move buttons.
// Its mouse-over picture is always PICT 202.
#pragma once

#include "app/CPictureButton.h"
#include "framework/LDragAndDrop.h"

class CDropPane : public CPictureButton, public LDragAndDrop {
 public:
  static constexpr ResIDT kHoverPict = 202;
  static constexpr ResIDT kDragCursor = 130;

  CDropPane(const SPaneInfo& paneInfo, MessageT valueMessage, SInt32 value, SInt32 minValue, SInt32 maxValue,
            ResIDT normalPict, ResIDT pressedPict);

  // The scanner-button tag the pane stands for (0: none).
  virtual SInt32 GetMoveButtonValue() const { return 0; }

  void HiliteDropArea(DragRef drag) override;
  void UnhiliteDropArea(DragRef drag) override;

 protected:
  void AdjustMouseSelf(Point portPt, const EventRecord& event, RgnHandle mouseRgn) override;
  // The frame the highlight ring covers.
  void HiliteRect(Rect& outRect) const;
};
