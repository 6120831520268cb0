// A drop area: a pane of a window that takes drags. Several may share a window; the one
// under the mouse that accepts every item of the drag is highlighted and receives the
// items when the drag ends there, and the sender learns that its items were taken.
#pragma once

#include "windows/Drag.h"

class LPane;

class LDragAndDrop {
 public:
  LDragAndDrop(WindowRef window, LPane* pane);
  LDragAndDrop(const LDragAndDrop&) = delete;
  LDragAndDrop& operator=(const LDragAndDrop&) = delete;
  virtual ~LDragAndDrop();

  bool IsHilited() const { return mIsHilited; }

  // Whether this area takes the drag: every item acceptable.
  virtual bool DragIsAcceptable(DragRef drag);
  virtual bool ItemIsAcceptable(DragRef drag, DragItemRef item);
  virtual bool PointInDropArea(Point globalPt);
  virtual void ReceiveDragItem(DragRef drag, DragItemRef item, FlavorFlags flags, Rect& itemBounds);

  virtual void EnterDropArea(DragRef drag, bool dragHasLeftSender);
  virtual void LeaveDropArea(DragRef drag);
  virtual void InsideDropArea(DragRef drag);
  virtual void HiliteDropArea(DragRef drag);
  virtual void UnhiliteDropArea(DragRef drag);

 private:
  static OSErr TrackingHandler(DragTrackingMessage message, WindowRef window, void* refCon, DragRef drag);
  static OSErr ReceiveHandler(WindowRef window, void* refCon, DragRef drag);
  // The area of `window` under the drag's mouse that takes it.
  static LDragAndDrop* AreaUnder(WindowRef window, DragRef drag);

  WindowRef mWindow;
  LPane* mPane;
  bool mIsHilited = false;
};
