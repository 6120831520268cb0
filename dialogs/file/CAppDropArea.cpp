#include "dialogs/file/CAppDropArea.h"

#include "app/CDDApp.h"
#include "framework/LPane.h"
#include "framework/LWindow.h"
#include "quickdraw/Appearance.h"
#include "quickdraw/QuickDraw.h"

namespace {
// The highlight keeps this far inside the caption's frame.
constexpr SInt16 kHiliteInset = 4;
}  // namespace

CAppDropArea::CAppDropArea(LWindow* dialog, LPane* nameCaption, LListener* listener)
    : LDragAndDrop(dialog->GetMacWindow(), dialog), mCaption(nameCaption), mListener(listener) {}

bool CAppDropArea::ItemIsAcceptable(DragRef drag, DragItemRef item) {
  HFSFlavor flavor{};
  FSSpec resolved{};
  return CDDApp::ReadHFSFlavor(drag, item, &flavor) && CDDApp::IsAcceptableApplication(flavor, &resolved);
}

void CAppDropArea::ReceiveDragItem(DragRef drag, DragItemRef item, FlavorFlags, Rect&) {
  HFSFlavor flavor{};
  FSSpec app{};
  if (CDDApp::ReadHFSFlavor(drag, item, &flavor) && CDDApp::IsAcceptableApplication(flavor, &app))
    mListener->ListenToMessage(msg_ApplicationDropped, &app);
  UnhiliteDropArea(drag);
}

void CAppDropArea::InsideDropArea(DragRef drag) {
  SetThemeCursor(kThemeCopyArrowCursor);
  if (!mHilited) HiliteDropArea(drag);
}

void CAppDropArea::LeaveDropArea(DragRef drag) {
  InitCursor();
  LDragAndDrop::LeaveDropArea(drag);
}

void CAppDropArea::HiliteDropArea(DragRef drag) {
  mHilited = true;
  if (!mCaption->FocusDraw()) return;
  Rect frame;
  mCaption->CalcLocalFrameRect(frame);
  InsetRect(&frame, kHiliteInset, kHiliteInset);
  RgnHandle region = NewRgn();
  RectRgn(region, &frame);
  ShowDragHilite(drag, region, true);
  DisposeRgn(region);
}

void CAppDropArea::UnhiliteDropArea(DragRef drag) {
  LDragAndDrop::UnhiliteDropArea(drag);
  mHilited = false;
  mCaption->Refresh();
}

void CAppDropArea::AdjustCursor() const {
  if (mHilited)
    SetThemeCursor(kThemeCopyArrowCursor);
  else
    InitCursor();
}
