#include "preview/CStitchCropPane.h"

#include "framework/StColorPenState.h"
#include "framework/UMarchingAnts.h"
#include "preview/CStitchPicturePane.h"
#include "preview/CStitchPictureView.h"
#include "preview/StitchPaneGeometry.h"
#include "windows/Events.h"

using namespace StitchPaneGeometry;

CStitchCropPane::CStitchCropPane(const SPaneInfo& info, CStitchPictureView* view) : LPane(info), mView(view) {}

void CStitchCropPane::DrawSelf() {
  StColorPenState saved;
  StColorPenState::Normalize();
  UMarchingAnts::UseAntsPattern();
  PenSize(1, 1);
  Rect frame{};
  CalcLocalFrameRect(frame);
  FrameRect(&frame);
}

void CStitchCropPane::SetFrame(const Rect& frame) {
  Rect now{};
  CalcPortFrameRect(now);
  ResizeFrameTo(SInt16(frame.right - frame.left), SInt16(frame.bottom - frame.top), true);
  MoveBy(long(frame.left) - now.left, long(frame.top) - now.top, true);
}

void CStitchCropPane::ClickSelf(const SMouseDownEvent& event) {
  Rect left{}, right{};
  mView->GetLeftPane()->CalcPortFrameRect(left);
  mView->GetRightPane()->CalcPortFrameRect(right);
  if (!WaitMouseMoved(event.macEvent.where)) return;
  const Point click = event.whereLocal;
  Rect start{};
  CalcPortFrameRect(start);
  const SInt16 code = WhereClicked(click, ClickBand(start));
  bool moving = true;
  while (moving) {
    FocusDraw();
    Point mouse{};
    GetMouse(&mouse);
    Rect now{};
    CalcPortFrameRect(now);
    SetFrame(code == hit_Inside ? MoveCrop(start, click, mouse, left, right)
                                : ResizeCrop(code, start, now, click, mouse, left, right));
    mView->DrawNow();
    FocusDraw();
    LocalToGlobal(&mouse);
    moving = WaitMouseMoved(mouse);
  }
}

void CStitchCropPane::AdjustMouseSelf(Point portPt, const EventRecord&, RgnHandle) {
  Rect frame{};
  CalcPortFrameRect(frame);
  switch (WhereClicked(portPt, CursorBand(frame))) {
    case hit_TopLeft:
    case hit_BottomRight:
      mFallingDiagonalCursor.Set();
      break;
    case hit_BottomLeft:
    case hit_TopRight:
      mRisingDiagonalCursor.Set();
      break;
    case hit_Left:
    case hit_Right:
      mLeftRightCursor.Set();
      break;
    case hit_Top:
    case hit_Bottom:
      mTopBottomCursor.Set();
      break;
    default:
      mMoveCursor.Set();
      break;
  }
}
