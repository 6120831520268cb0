#include "preview/CStitchPicturePane.h"

#include "framework/LGWorld.h"
#include "framework/LStr255.h"
#include "framework/StColorState.h"
#include "framework/StRegion.h"
#include "framework/UCursor.h"
#include "preview/CStitchPictureView.h"
#include "preview/PreviewPicture.h"
#include "preview/StitchPaneGeometry.h"
#include "windows/Events.h"

namespace {

enum : unsigned char { kLeftArrow = 0x1C, kRightArrow = 0x1D, kUpArrow = 0x1E, kDownArrow = 0x1F };

}  // namespace

CStitchPicturePane::CStitchPicturePane(const SPaneInfo& info, const ScanData& record, CStitchPictureView* view)
    : LPane(info), mRecord(record), mView(view) {}

CStitchPicturePane::~CStitchPicturePane() = default;

bool CStitchPicturePane::IsRightHalf() const { return GetPaneID() == CStitchPictureView::kRightPaneID; }

void CStitchPicturePane::FinishCreateSelf() {
  mDragging = false;
  Rect frame{};
  CalcLocalFrameRect(frame);
  const Rect bounds{0, 0, SInt16(frame.bottom - frame.top), SInt16(frame.right - frame.left)};
  mImage.reset(
      PreviewPicture::Load(mRecord.imageFile, 0, LStr255(mRecord.sourceName), [&](SInt32, SInt32) { return bounds; }));
  // A file the importer cannot read shows as a white page.
  if (!mImage) mImage.reset(PreviewPicture::NewWorld(bounds));
}

void CStitchPicturePane::DrawSelf() {
  StColorState saved;
  StColorState::Normalize();
  Rect frame{};
  CalcLocalFrameRect(frame);
  GrafPtr port = nullptr;
  GetPort(&port);
  CStitchPicturePane* left = mView->GetLeftPane();
  if (!mDragging || !left) {
    mImage->CopyImage(port, frame);
    return;
  }
  Rect leftFrame{};
  left->CalcLocalFrameRect(leftFrame);
  StRegion outside(frame), over(leftFrame);
  DiffRgn(outside, over, outside);
  mImage->CopyImage(port, frame, srcCopy, outside);
  const RGBColor half{0x8000, 0x8000, 0x8000}, none{0, 0, 0};
  OpColor(&half);
  mImage->CopyImage(port, frame, blend, over);
  OpColor(&none);
  StColorState::Normalize();
}

void CStitchPicturePane::BringToFront() {
  LView* super = GetSuperView();
  super->RemoveSubPane(this);
  super->AddSubPane(this);
}

void CStitchPicturePane::MoveWithin(long dh, long dv) {
  MoveBy(dh, dv, true);
  Rect frame{};
  CalcPortFrameRect(frame);
  const Point back = StitchPaneGeometry::Clamp(frame, mView->GetMoveLimits());
  MoveBy(back.h, back.v, true);
}

void CStitchPicturePane::ClickSelf(const SMouseDownEvent& event) {
  if (mView->GetStep() == CStitchPictureView::step_Crop) return;
  BringToFront();
  mView->SetIsRightImageOver(IsRightHalf() ? 1 : 0);
  if (IsRightHalf()) mDragging = WaitMouseMoved(event.macEvent.where);
  if (!mDragging) {
    Draw(nullptr);
    return;
  }
  const Point click = event.whereLocal;
  Rect start{};
  CalcPortFrameRect(start);
  while (mDragging) {
    FocusDraw();
    Point mouse{};
    GetMouse(&mouse);
    Rect now{};
    CalcPortFrameRect(now);
    MoveWithin(long(start.left) - now.left + mouse.h - click.h, long(start.top) - now.top + mouse.v - click.v);
    mView->DrawNow();
    FocusDraw();
    LocalToGlobal(&mouse);
    mDragging = WaitMouseMoved(mouse);
  }
}

void CStitchPicturePane::AdjustMouseSelf(Point, const EventRecord&, RgnHandle) {
  if (IsRightHalf() && mView->GetStep() != CStitchPictureView::step_Crop)
    mMoveCursor.Set();
  else
    UCursor::SetArrow();
}

void CStitchPicturePane::MoveRightPictureByKeyPress(unsigned char charCode) {
  if (mDragging) return;
  switch (charCode) {
    case kLeftArrow:
      MoveWithin(-1, 0);
      break;
    case kRightArrow:
      MoveWithin(1, 0);
      break;
    case kUpArrow:
      MoveWithin(0, -1);
      break;
    case kDownArrow:
      MoveWithin(0, 1);
      break;
    default:
      return;
  }
  mView->DrawNow();
}

void CStitchPicturePane::RotatePicture() {
  mImage.reset(PreviewPicture::Turn(mImage.get(), 180));
  Refresh();
}
