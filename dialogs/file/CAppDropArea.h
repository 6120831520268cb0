// A function dialog as the drop area of its target application: it takes what the main
// window's application buttons take, highlights the application's name caption, and sends
// its listener "DiET" with the dropped application (an alias already resolved).
#pragma once

#include "framework/LDragAndDrop.h"
#include "framework/LListener.h"

class LPane;
class LWindow;

enum : MessageT { msg_ApplicationDropped = 'DiET' };

class CAppDropArea : public LDragAndDrop {
 public:
  CAppDropArea(LWindow* dialog, LPane* nameCaption, LListener* listener);

  bool ItemIsAcceptable(DragRef drag, DragItemRef item) override;
  void ReceiveDragItem(DragRef drag, DragItemRef item, FlavorFlags flags, Rect& itemBounds) override;
  void InsideDropArea(DragRef drag) override;
  void LeaveDropArea(DragRef drag) override;
  void HiliteDropArea(DragRef drag) override;
  void UnhiliteDropArea(DragRef drag) override;

  // The dialog's cursor: the copy arrow while a drop is offered.
  void AdjustCursor() const;

 private:
  LPane* mCaption;
  LListener* mListener;
  bool mHilited = false;
};
