// One drag started from a pane: a single item with one flavour, its outline at the pane's
// frame (global), and optionally an image of it. DoDrag follows the mouse until release.
#pragma once

#include "windows/Drag.h"

class LGWorld;

class LDragTask {
 public:
  LDragTask(const EventRecord& event, const Rect& globalFrame, DragItemRef item, FlavorType flavor, const void* data,
            Size size, FlavorFlags flags, LGWorld* image = nullptr);
  LDragTask(const LDragTask&) = delete;
  LDragTask& operator=(const LDragTask&) = delete;
  virtual ~LDragTask();

  // noErr when a receiver took the item.
  virtual OSErr DoDrag();
  // The drop-location handshake, read after DoDrag.
  bool DropWasAccepted() const;

 protected:
  EventRecord mEvent;
  DragRef mDrag = nullptr;
  RgnHandle mOutline = nullptr;
};
