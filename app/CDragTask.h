// A drag of one item from a pane, shown as an image of the pane: the whole drag runs in the
// constructor, and the drag stays readable (its drop location) until the task is destroyed.
#pragma once

#include "framework/LDragTask.h"

class LGWorld;

class CDragTask : public LDragTask {
 public:
  CDragTask(const EventRecord& event, const Rect& globalFrame, DragItemRef item, FlavorType flavor, const void* data,
            Size size, FlavorFlags flags, LGWorld* image);

  DragRef GetDragReference() const { return mDrag; }
};
