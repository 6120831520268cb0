#include "preview/CStitchPictureView.h"

#include "framework/LException.h"
#include "framework/StColorState.h"
#include "preview/CStitchCropPane.h"
#include "preview/CStitchPicturePane.h"
#include "preview/StitchPaneGeometry.h"

namespace {

SInt16 Width(const Rect& r) { return SInt16(r.right - r.left); }
SInt16 Height(const Rect& r) { return SInt16(r.bottom - r.top); }

// A pane made in code, at `frame` (port coordinates) inside `view`.
SPaneInfo InfoAt(LView* view, PaneIDT id, const Rect& frame) {
  Rect origin{};
  view->CalcLocalFrameRect(origin);
  return MakePaneInfo(view, id, frame.left - origin.left, frame.top - origin.top, Width(frame), Height(frame));
}

void Present(LPane* pane) {
  pane->FinishCreate();
  pane->Enable();
  pane->Show();
  pane->Activate();
  pane->Draw(nullptr);
}

}  // namespace

CStitchPictureView::CStitchPictureView(LStream* stream) : LView(stream) {}

CStitchPictureView::CStitchPictureView(const SPaneInfo& paneInfo, const SViewInfo& viewInfo)
    : LView(paneInfo, viewInfo) {}

CStitchPictureView::~CStitchPictureView() = default;

void CStitchPictureView::FinishCreateSelf() {
  mRightImageOver = 1;
  mLeftAngle = mRightAngle = 0;
}

void CStitchPictureView::DrawSelf() {
  StColorState saved;
  const RGBColor background{0xB9B9, 0xB9B9, 0xB4B4};
  RGBForeColor(&background);
  Rect frame{};
  CalcLocalFrameRect(frame);
  PaintRect(&frame);
}

void CStitchPictureView::DrawNow() {
  if (!FocusDraw()) return;
  Draw(nullptr);
  // What a move invalidated is drawn now: no update redraws it, so a blend drawn during a
  // drag stays until the view is next drawn.
  DontRefresh();
}

CStitchPicturePane* CStitchPictureView::MakeHalf(const ScanData& record, long side) {
  SDimension16 size{};
  GetFrameSize(size);
  Rect origin{};
  CalcLocalFrameRect(origin);
  Rect frame = StitchPaneGeometry::HalfFrame(size, mScale, record.width, record.height, side);
  OffsetRect(&frame, origin.left, origin.top);
  auto* pane =
      new CStitchPicturePane(InfoAt(this, side == side_Left ? kLeftPaneID : kRightPaneID, frame), record, this);
  Present(pane);
  return pane;
}

void CStitchPictureView::ClearHalf(CStitchPicturePane*& pane) {
  if (!pane) return;
  pane->Refresh();
  delete pane;
  pane = nullptr;
}

void CStitchPictureView::SetPicturePane(const ScanData& record, long side) {
  const bool left = side == side_Left;
  ClearHalf(left ? mLeft : mRight);
  (left ? mLeftRecord : mRightRecord) = record;
  LPane* picture = FindPaneByID(kPicturePaneID);
  if (!picture) Throw_(err_NilPointer);
  SDimension16 pictureSize{};
  picture->GetFrameSize(pictureSize);
  const double scale = StitchPaneGeometry::DisplayScale(pictureSize.height, mLeftRecord ? mLeftRecord->height : 0,
                                                        mRightRecord ? mRightRecord->height : 0);
  const bool rescaled = scale != mScale;
  mScale = scale;
  // Halves of different heights share the taller one's scale: the other is shown again.
  CStitchPicturePane*& other = left ? mRight : mLeft;
  if (rescaled && other) {
    const UInt16 angle = left ? mRightAngle : mLeftAngle;
    ClearHalf(other);
    other = MakeHalf(left ? *mRightRecord : *mLeftRecord, left ? side_Right : side_Left);
    if (angle) other->RotatePicture();
  }
  (left ? mLeft : mRight) = MakeHalf(record, side);
  if (mLeft && mRight) {
    Rect leftFrame{};
    mLeft->CalcPortFrameRect(leftFrame);
    SDimension16 rightSize{};
    mRight->GetFrameSize(rightSize);
    mMoveLimits = StitchPaneGeometry::MoveLimits(leftFrame, rightSize);
  }
}

void CStitchPictureView::SetCropPane() {
  if (!mLeft || !mRight) return;
  ClearCropPane();
  Rect left{}, right{};
  mLeft->CalcPortFrameRect(left);
  mRight->CalcPortFrameRect(right);
  mCrop = new CStitchCropPane(InfoAt(this, kCropPaneID, StitchPaneGeometry::CropFrame(left, right)), this);
  Present(mCrop);
}

void CStitchPictureView::ClearLeftPicturePane() {
  ClearHalf(mLeft);
  mLeftRecord.reset();
  DrawNow();
}

void CStitchPictureView::ClearRightPicturePane() {
  ClearHalf(mRight);
  mRightRecord.reset();
  DrawNow();
}

void CStitchPictureView::ClearCropPane() {
  delete mCrop;
  mCrop = nullptr;
  DrawNow();
}

void CStitchPictureView::RotatePicture(long step) {
  const bool left = step == step_LeftShown;
  CStitchPicturePane* pane = left ? mLeft : step == step_Align ? mRight : nullptr;
  if (!pane) return;
  pane->RotatePicture();
  UInt16& angle = left ? mLeftAngle : mRightAngle;
  angle = UInt16((angle + 180) % 360);
  // Back to where it started: an alignment made before is lost.
  const ScanData& record = left ? *mLeftRecord : *mRightRecord;
  SDimension16 size{};
  GetFrameSize(size);
  Rect origin{}, now{};
  CalcLocalFrameRect(origin);
  pane->CalcPortFrameRect(now);
  Rect home = StitchPaneGeometry::HalfFrame(size, mScale, record.width, record.height, left ? side_Left : side_Right);
  OffsetRect(&home, origin.left, origin.top);
  pane->MoveBy(left ? 0 : home.left - now.left, home.top - now.top, true);
}

void CStitchPictureView::MoveRightPictureByKeyPress(unsigned char charCode) {
  if (mStep != step_Align || !mRight) return;
  mRight->MoveRightPictureByKeyPress(charCode);
}
