#include "framework/LDragTask.h"

#include "framework/DragLocation.h"
#include "framework/LException.h"
#include "framework/LGWorld.h"
#include "toolbox/MacErrors.h"

LDragTask::LDragTask(const EventRecord& event, const Rect& globalFrame, DragItemRef item, FlavorType flavor,
                     const void* data, Size size, FlavorFlags flags, LGWorld* image)
    : mEvent(event) {
  ThrowIfOSErr_(NewDrag(&mDrag));
  mOutline = NewRgn();
  RectRgn(mOutline, &globalFrame);
  ThrowIfOSErr_(AddDragItemFlavor(mDrag, item, flavor, data, size, flags));
  SetDragItemBounds(mDrag, item, &globalFrame);
  if (image) {
    // The image sits where the pane is: its offset is the frame's from the mouse.
    Point offset = {static_cast<SInt16>(globalFrame.top - event.where.v), static_cast<SInt16>(globalFrame.left - event.where.h)};
    SetDragImage(mDrag, GetGWorldPixMap(image->GetMacGWorld()), nullptr, offset, 1);
  }
}

LDragTask::~LDragTask() {
  DisposeDrag(mDrag);
  DisposeRgn(mOutline);
}

OSErr LDragTask::DoDrag() { return TrackDrag(mDrag, &mEvent, mOutline); }

bool LDragTask::DropWasAccepted() const {
  AEDesc location, boolean;
  GetDropLocation(mDrag, &location);
  Boolean accepted = false;
  if (AECoerceDesc(&location, typeBoolean, &boolean) == noErr) {
    AEGetDescData(&boolean, &accepted, 1);
    AEDisposeDesc(&boolean);
  }
  AEDisposeDesc(&location);
  return accepted != 0;
}
