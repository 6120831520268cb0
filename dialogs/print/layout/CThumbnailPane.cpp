#include "dialogs/print/layout/CThumbnailPane.h"

#include <algorithm>

#include "dialogs/print/layout/ImageCopy.h"
#include "dialogs/print/layout/PageGeometry.h"
#include "framework/LCheckBox.h"
#include "framework/LGWorld.h"
#include "framework/LStr255.h"
#include "framework/StColorPenState.h"
#include "preview/PreviewPicture.h"

UInt8 CThumbnailPane::sCreated = 0;

namespace {

constexpr SInt16 kCheckBoxWidth = 40, kCheckBoxHeight = 20, kCheckBoxTop = 90;
// The longest side of the page's display copy: twice the paper's on the page area, so that a
// picture drawn up to twice the paper's size still has a pixel of its own for each.
constexpr SInt32 kDisplaySide = 600;

Rect DisplayRect(SInt32 w, SInt32 h) {
  const SInt32 side = std::max(w, h);
  if (side <= kDisplaySide) return Rect{0, 0, SInt16(h), SInt16(w)};
  return Rect{0, 0, SInt16(std::max<SInt32>(1, h * kDisplaySide / side)), SInt16(std::max<SInt32>(1, w * kDisplaySide / side))};
}

}  // namespace

CThumbnailPane::CThumbnailPane(const SPaneInfo& paneInfo, const SViewInfo& viewInfo, const ScanData& page)
    : LView(paneInfo, viewInfo), mPage(page) {}

CThumbnailPane::~CThumbnailPane() {
  delete mImage;
  sCreated = 0;
}

void CThumbnailPane::FinishCreateSelf() {
  Enable();
  Show();
  Activate();
  const LStr255 title(static_cast<SInt32>(GetPaneID()));
  SPaneInfo info = MakePaneInfo(this, msg_Checked, (mFrameSize.width - kCheckBoxWidth) / 2, kCheckBoxTop,
                                kCheckBoxWidth, kCheckBoxHeight);
  mCheckBox = new LCheckBox(info, msg_Checked, 1, title, 0);
  mCheckBox->FinishCreate();
  mCheckBox->SetValue(1);
  mCheckBox->AddListener(this);
  if (FocusDraw()) Draw(nullptr);
}

bool CThumbnailPane::IsChecked() const { return mCheckBox && mCheckBox->GetValue() != 0; }

void CThumbnailPane::KeepLayout(const PrePicturePaneInfo& layout) {
  mLayout = layout;
  mKept = 1;
}

void CThumbnailPane::VirtualClick() { BroadcastMessage(msg_Chosen, this); }

void CThumbnailPane::ClickSelf(const SMouseDownEvent& event) {
  BroadcastMessage(msg_Chosen, this);
  LView::ClickSelf(event);
}

void CThumbnailPane::ListenToMessage(MessageT message, void* param) {
  if (message == msg_Checked) BroadcastMessage(msg_Checked, param);
}

void CThumbnailPane::SpendTime(const EventRecord&) {
  StopIdling();
  // A page that does not decode, or finds no memory for its image, stays without one.
  try {
    mImage = PreviewPicture::Decode(mPage.imageFile, DisplayRect, true).release();
    if (mImage) PreviewPicture::MatchToScreen(mImage, LStr255(mPage.sourceName));
  } catch (...) {
    delete mImage;
    mImage = nullptr;
  }
  mTried = true;
  if (mImage) sCreated = 1;
  Refresh();
}

void CThumbnailPane::DrawSelf() {
  StColorPenState saved;
  StColorPenState::Normalize();
  Rect frame;
  CalcLocalFrameRect(frame);
  EraseRoundRect(&frame, 5, 5);
  if (mCurrent) {
    const RGBColor blue = {0x6666, 0x8787, 0xD6D6};
    RGBForeColor(&blue);
    PenSize(3, 3);
    FrameRoundRect(&frame, 5, 5);
    StColorPenState::Normalize();
  }
  if (!mImage) return;
  // Placed by the page's own size: the display copy's sides are rounded.
  const Rect dest = pagegeom::ThumbnailImageRect(mPage.width, mPage.height, frame);
  CopyImageLocked(mImage, dest, srcCopy, nullptr);
}
