#include "app/CDDArea_EditText.h"

#include "app/CDDApp.h"
#include "quickdraw/Appearance.h"
#include "quickdraw/QuickDraw.h"

CDDArea_EditText::CDDArea_EditText(LStream* stream)
    : CEditTextNotGray(stream), LDragAndDrop(CEditTextNotGray::GetMacWindow(), this) {}

bool CDDArea_EditText::ItemIsAcceptable(DragRef drag, DragItemRef item) {
  HFSFlavor flavor{};
  FSSpec resolved{};
  return CDDApp::ReadHFSFlavor(drag, item, &flavor) && CDDApp::IsAcceptableApplication(flavor, &resolved);
}

void CDDArea_EditText::ReceiveDragItem(DragRef drag, DragItemRef item, FlavorFlags, Rect&) {
  FSSpec app{};
  if (CDDApp::ReadHFSFlavor(drag, item, &mFlavor) && CDDApp::IsAcceptableApplication(mFlavor, &app))
    BroadcastMessage(msg_DroppedApplication, &app);
  mDragInside = false;
  UnhiliteDropArea(drag);
}

void CDDArea_EditText::HiliteDropArea(DragRef drag) {
  if (!FocusDraw()) return;
  Rect frame;
  CalcLocalFrameRect(frame);
  InsetRect(&frame, 4, 4);
  RgnHandle area = NewRgn();
  RectRgn(area, &frame);
  ShowDragHilite(drag, area, true);
  DisposeRgn(area);
}

void CDDArea_EditText::InsideDropArea(DragRef drag) {
  mDragInside = true;
  SetThemeCursor(kThemeCopyArrowCursor);
  HiliteDropArea(drag);
}

void CDDArea_EditText::LeaveDropArea(DragRef drag) {
  mDragInside = false;
  InitCursor();
  LDragAndDrop::LeaveDropArea(drag);
}

void CDDArea_EditText::AdjustMouseSelf(Point, const EventRecord&, RgnHandle) {
  if (mDragInside)
    SetThemeCursor(kThemeCopyArrowCursor);
  else
    InitCursor();
}
