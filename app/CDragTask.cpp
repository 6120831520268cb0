#include "app/CDragTask.h"

CDragTask::CDragTask(const EventRecord& event, const Rect& globalFrame, DragItemRef item, FlavorType flavor,
                     const void* data, Size size, FlavorFlags flags, LGWorld* image)
    : LDragTask(event, globalFrame, item, flavor, data, size, flags, image) {
  DoDrag();
}
