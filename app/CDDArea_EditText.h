// A field that takes an application dragged onto it and broadcasts "DiET" with the
// application's file specification (an alias already resolved).
#pragma once

#include "app/CEditTextNotGray.h"
#include "framework/LDragAndDrop.h"

enum : MessageT { msg_DroppedApplication = 'DiET' };

class CDDArea_EditText : public CEditTextNotGray, public LDragAndDrop {
 public:
  static constexpr ClassIDT class_ID = 'DdEt';
  using Inherited = CEditTextNotGray;

  explicit CDDArea_EditText(LStream* stream);

  bool ItemIsAcceptable(DragRef drag, DragItemRef item) override;
  void ReceiveDragItem(DragRef drag, DragItemRef item, FlavorFlags flags, Rect& itemBounds) override;
  void HiliteDropArea(DragRef drag) override;
  void InsideDropArea(DragRef drag) override;
  void LeaveDropArea(DragRef drag) override;

 protected:
  void AdjustMouseSelf(Point portPt, const EventRecord& event, RgnHandle mouseRgn) override;

 private:
  HFSFlavor mFlavor{};
  bool mDragInside = false;  // an acceptable drag is over the field
};
