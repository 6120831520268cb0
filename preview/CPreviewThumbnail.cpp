#include "preview/CPreviewThumbnail.h"

#include <cstring>

#include "app/CDragTask.h"
#include "app/CToolTip.h"
#include "framework/LBWCursor.h"
#include "framework/LException.h"
#include "framework/LGWorld.h"
#include "framework/StColorPenState.h"
#include "preview/CPrevPrevWindow.h"
#include "preview/CPreviewCaption.h"
#include "preview/CPreviewChekBoxPane.h"
#include "preview/CPreviewPicPane.h"
#include "preview/CPreviewView.h"
#include "preview/PreviewColours.h"
#include "toolbox/MacMemory.h"
#include "windows/Events.h"

namespace {
constexpr SInt16 kHandCursor = 130;
constexpr SInt16 kCaptionStrip = 25;
constexpr ResIDT kCaptionTraits = 137, kEditTraits = 139;
constexpr SInt16 kToolTips = 10003, kPictureTip = 2;
constexpr FlavorType kThumbnailFlavor = 'FtTD';
constexpr EventModifiers kCommand = 0x0100, kShift = 0x0200;
}  // namespace

CPreviewThumbnail::CPreviewThumbnail(const SPaneInfo& paneInfo, const SViewInfo& viewInfo, const ScanDataPlus& page,
                                     const EXIF_PREF& exif)
    : LView(paneInfo, viewInfo), mPage(page), mCursor(std::make_unique<LBWCursor>(kHandCursor)), mExif(exif) {
  const RecordBytes e = mExif.view();
  EXIF_PREF::kWidth.set(e, UInt32(mPage.width));
  EXIF_PREF::kHeight.set(e, UInt32(mPage.height));
  EXIF_PREF::kXResolution.set(e, SInt16(mPage.resolution >> 16));
  EXIF_PREF::kYResolution.set(e, SInt16(mPage.resolution >> 16));
}

CPreviewThumbnail::~CPreviewThumbnail() {
  // An open rename field is a sub-pane too, and the view deletes the newest sub-pane first.
  if (mCaption) mCaption->CommitEdit();
}

void CPreviewThumbnail::FinishCreateSelf() {
  mPicture = new CPreviewPicPane(MakePaneInfo(this, CPreviewPicPane::kPaneID, 5, 5, 70, 70), mPage.imageFile);
  mPicture->SetPageRecord(&mPage);
  mPicture->FinishCreate();
  mPicture->AddListener(this);
  mPicture->AddAttachment(new CToolTip(kToolTips, kPictureTip, -2, true));

  mCheckBox = new CPreviewChekBoxPane(MakePaneInfo(this, CPreviewChekBoxPane::kPaneID, 30, 90, 20, 20),
                                      CPreviewChekBoxPane::msg_Check, 1, reinterpret_cast<ConstStr255Param>(""), 0);
  mCheckBox->FinishCreate();
  mCheckBox->SetValue(mPage.written);
  mCheckBox->AddListener(this);

  mCaption = new CPreviewCaption(MakePaneInfo(this, CPreviewCaption::kPaneID, 0, 115, 80, 25), mPage.displayName,
                                 kCaptionTraits, 1);
  mCaption->SetEditTextTraits(kEditTraits);
  mCaption->FinishCreate();
  mCaption->AddListener(this);

  std::memcpy(mBackupName, mPage.displayName, sizeof mBackupName);
}

bool CPreviewThumbnail::IsIncluded() const { return mCheckBox ? mCheckBox->GetValue() == 1 : mPage.written == 1; }

void CPreviewThumbnail::TakeCaptionName() {
  if (!mCaption->IsEditable()) {
    std::memcpy(mPage.displayName, mBackupName, sizeof mPage.displayName);
    return;
  }
  mCaption->GetText(mPage.displayName);
}

size_t CPreviewThumbnail::SelectedInView() const {
  auto* view = dynamic_cast<CPreviewView*>(GetSuperView());
  return view ? view->GetSelectedThumbnailCount() : 0;
}

void CPreviewThumbnail::ListenToMessage(MessageT message, void* param) {
  switch (message) {
    case CPreviewPicPane::msg_Click:
    case msg_Cell:
    case CPreviewChekBoxPane::msg_Check:
    case CPreviewCaption::msg_Click: {
      mPage.written = UInt8(mCheckBox->GetValue() == 1);
      const EventModifiers modifiers = GetCurrentKeyModifiers();
      if (modifiers & kCommand) {
        if (SelectedInView() <= 1 && mSelected) break;
        mSelected = mSelected ? 0 : 1;
        BroadcastMessage(msg_CommandClick, this);
      } else if (modifiers & kShift) {
        mSelected = 1;
        BroadcastMessage(msg_ShiftClick, this);
      } else {
        // The view clears every selection on these, this cell's too; it marks itself after.
        BroadcastMessage(message, this);
        mSelected = 1;
      }
      Refresh();
      break;
    }
    case CPreviewPicPane::msg_DoubleClick: {
      TakeCaptionName();
      FSSpec file = mPage.imageFile;
      CPrevPrevWindow::ShowPrevPrevWindow(file, mPage.displayName, mPage.sourceName, mPage.rotation);
      break;
    }
    case CPreviewPicPane::msg_Drag:
      if (SelectedInView() <= 1) {
        mCaption->CommitEdit();
        DragThumbnail(*static_cast<SMouseDownEvent*>(param));
        Refresh();
      }
      break;
    default:
      break;
  }
}

void CPreviewThumbnail::ClickSelf(const SMouseDownEvent& event) {
  mCaption->CommitEdit();
  const bool several = SelectedInView() > 1;
  if (WaitMouseMoved(event.macEvent.where)) {
    if (!several) {
      DragThumbnail(event);
      Refresh();
    }
    return;
  }
  ListenToMessage(sClickCount == 2 ? MessageT(CPreviewPicPane::msg_DoubleClick) : MessageT(msg_Cell), this);
  LView::ClickSelf(event);
}

void CPreviewThumbnail::RotatePicture(long delta) {
  const long angle = (mPage.rotation + delta) % 360;
  // The picture turns first: when it cannot, the angle stays as it was.
  mPicture->RotatePicture(delta);
  mPage.rotation = SInt32(angle);
}

void CPreviewThumbnail::DragThumbnail(const SMouseDownEvent& event) {
  if (auto* view = GetSuperView()) view->FocusDraw();
  Rect frame;
  CalcPortFrameRect(frame);
  std::unique_ptr<LGWorld> image = std::make_unique<LGWorld>(frame, 32, 0);
  image->BeginDrawing();
  StColorPenState::Normalize();
  PaintRect(&frame);
  DrawForDrag();
  image->EndDrawing();
  Point topLeft{frame.top, frame.left}, bottomRight{frame.bottom, frame.right};
  PortToGlobalPoint(topLeft);
  PortToGlobalPoint(bottomRight);
  const Rect global{topLeft.v, topLeft.h, bottomRight.v, bottomRight.h};
  const UInt32 token = MemTokenFor(this);
  {
    CDragTask drag(event.macEvent, global, 2, kThumbnailFlavor, &token, sizeof token, 1, image.get());
  }
  MemTokenRelease(token);
}

void CPreviewThumbnail::DrawCellIn(const Rect& frame) {
  StColorPenState saved;
  StColorPenState::Normalize();
  Rect cell = frame;
  cell.bottom = SInt16(cell.bottom - kCaptionStrip);
  RGBForeColor(&PreviewColours::kCell);
  PaintRoundRect(&cell, 5, 5);
  if (mSelected) {
    RGBForeColor(&PreviewColours::kSelection);
    PenSize(3, 3);
    FrameRoundRect(&cell, 5, 5);
  }
}

void CPreviewThumbnail::DrawSelf() {
  Rect frame;
  CalcLocalFrameRect(frame);
  DrawCellIn(frame);
}

void CPreviewThumbnail::DrawForDrag() {
  Rect frame;
  CalcPortFrameRect(frame);
  DrawCellIn(frame);
  mCheckBox->DrawForDrag();
  mCaption->DrawForDrag();
  mPicture->DrawForDrag();
}

void CPreviewThumbnail::AdjustMouseSelf(Point, const EventRecord&, RgnHandle) { mCursor->Set(); }
