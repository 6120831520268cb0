#include "framework/LDragAndDrop.h"

#include <algorithm>
#include <vector>

#include "framework/DragLocation.h"
#include "framework/LPane.h"
#include "toolbox/MacErrors.h"

namespace {

std::vector<LDragAndDrop*>& Areas() {
  static std::vector<LDragAndDrop*> areas;
  return areas;
}

// The area the drag is over now, per drag.
LDragAndDrop* gCurrent = nullptr;

}  // namespace

LDragAndDrop::LDragAndDrop(WindowRef window, LPane* pane) : mWindow(window), mPane(pane) {
  bool first = std::none_of(Areas().begin(), Areas().end(), [&](LDragAndDrop* a) { return a->mWindow == window; });
  Areas().push_back(this);
  if (first) {
    InstallTrackingHandler(&TrackingHandler, window, nullptr);
    InstallReceiveHandler(&ReceiveHandler, window, nullptr);
  }
}

LDragAndDrop::~LDragAndDrop() {
  if (gCurrent == this) gCurrent = nullptr;
  std::erase(Areas(), this);
  bool last = std::none_of(Areas().begin(), Areas().end(), [&](LDragAndDrop* a) { return a->mWindow == mWindow; });
  if (last) {
    RemoveTrackingHandler(&TrackingHandler, mWindow);
    RemoveReceiveHandler(&ReceiveHandler, mWindow);
  }
}

bool LDragAndDrop::DragIsAcceptable(DragRef drag) {
  UInt16 count = 0;
  CountDragItems(drag, &count);
  for (UInt16 i = 1; i <= count; ++i) {
    DragItemRef item = 0;
    GetDragItemReferenceNumber(drag, i, &item);
    if (!ItemIsAcceptable(drag, item)) return false;
  }
  return count > 0;
}

bool LDragAndDrop::ItemIsAcceptable(DragRef, DragItemRef) { return false; }

bool LDragAndDrop::PointInDropArea(Point globalPt) {
  if (!mPane || !mPane->IsVisible() || !mPane->IsEnabled()) return false;
  mPane->GlobalToPortPoint(globalPt);
  return mPane->PointIsInFrame(globalPt.h, globalPt.v);
}

void LDragAndDrop::ReceiveDragItem(DragRef, DragItemRef, FlavorFlags, Rect&) {}

void LDragAndDrop::EnterDropArea(DragRef drag, bool) { HiliteDropArea(drag); }

void LDragAndDrop::LeaveDropArea(DragRef drag) { UnhiliteDropArea(drag); }

void LDragAndDrop::InsideDropArea(DragRef) {}

void LDragAndDrop::HiliteDropArea(DragRef drag) {
  if (!mPane || !mPane->FocusDraw()) return;
  Rect frame;
  mPane->CalcLocalFrameRect(frame);
  RgnHandle region = NewRgn();
  RectRgn(region, &frame);
  ShowDragHilite(drag, region, true);
  DisposeRgn(region);
  QDFlushPortBuffer(mPane->GetMacPort(), nullptr);
  mIsHilited = true;
}

void LDragAndDrop::UnhiliteDropArea(DragRef drag) {
  HideDragHilite(drag);
  mIsHilited = false;
}

LDragAndDrop* LDragAndDrop::AreaUnder(WindowRef window, DragRef drag) {
  Point mouse;
  GetDragMouse(drag, &mouse, nullptr);
  // The last made is the frontmost: look from the end.
  const std::vector<LDragAndDrop*> areas = Areas();
  for (auto it = areas.rbegin(); it != areas.rend(); ++it)
    if ((*it)->mWindow == window && (*it)->PointInDropArea(mouse) && (*it)->DragIsAcceptable(drag)) return *it;
  return nullptr;
}

OSErr LDragAndDrop::TrackingHandler(DragTrackingMessage message, WindowRef window, void*, DragRef drag) {
  LDragAndDrop* now = message == kDragTrackingLeaveWindow ? nullptr : AreaUnder(window, drag);
  if (now != gCurrent) {
    if (gCurrent) gCurrent->LeaveDropArea(drag);
    gCurrent = now;
    if (gCurrent) gCurrent->EnterDropArea(drag, true);
  }
  if (gCurrent) gCurrent->InsideDropArea(drag);
  return noErr;
}

OSErr LDragAndDrop::ReceiveHandler(WindowRef window, void*, DragRef drag) {
  LDragAndDrop* area = AreaUnder(window, drag);
  if (!area) return dragNotAcceptedErr;
  UInt16 count = 0;
  CountDragItems(drag, &count);
  for (UInt16 i = 1; i <= count; ++i) {
    DragItemRef item = 0;
    GetDragItemReferenceNumber(drag, i, &item);
    FlavorFlags flags = 0;
    Rect bounds = {0, 0, 0, 0};
    GetDragItemBounds(drag, item, &bounds);
    area->ReceiveDragItem(drag, item, flags, bounds);
  }
  const Boolean accepted = true;
  AEDesc location;
  AECreateDesc(typeBoolean, &accepted, 1, &location);
  SetDropLocation(drag, &location);
  AEDisposeDesc(&location);
  return noErr;
}
