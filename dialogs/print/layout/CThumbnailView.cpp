#include "dialogs/print/layout/CThumbnailView.h"

#include "dialogs/print/layout/CPictureView.h"
#include "dialogs/print/layout/CThumbnailPane.h"
#include "dialogs/print/layout/PageGeometry.h"
#include "framework/LThread.h"
#include "framework/StColorPenState.h"

CThumbnailView::CThumbnailView(LStream* stream) : LView(stream) {}

void CThumbnailView::SetViewSize() {
  const SInt32 pages = mPages ? mPages->GetCount() : 0;
  ResizeImageTo(pagegeom::StripWidth(pages), mFrameSize.height, true);
}

void CThumbnailView::CreateThumbnailPanes(LThread* thread) {
  if (!mPages) return;
  for (SInt32 n = 1; n <= mPages->GetCount(); ++n) {
    ScanData page;
    mPages->FetchItemAt(n, page);
    const Rect frame = pagegeom::ThumbnailFrame(n);
    SPaneInfo info = MakePaneInfo(this, n, frame.left, frame.top, pagegeom::kThumbWidth, pagegeom::kThumbHeight);
    info.visible = false;
    info.enabled = false;
    auto* thumbnail = new CThumbnailPane(info, SViewInfo{}, page);
    thumbnail->FinishCreate();
    thumbnail->AddListener(this);
    if (n == 1) thumbnail->SetCurrent(1);
    thumbnail->StartIdling();
    if (thread) LThread::Yield();
  }
}

CThumbnailPane* CThumbnailView::GetThumbnail(SInt32 n) const {
  for (LPane* pane : GetSubPanes())
    if (pane->GetPaneID() == n)
      if (auto* thumbnail = dynamic_cast<CThumbnailPane*>(pane)) return thumbnail;
  return nullptr;
}

CThumbnailPane* CThumbnailView::GetCurrentThumbnail() const {
  for (LPane* pane : GetSubPanes())
    if (auto* thumbnail = dynamic_cast<CThumbnailPane*>(pane); thumbnail && thumbnail->IsCurrent()) return thumbnail;
  return nullptr;
}

SInt32 CThumbnailView::CountThumbnails() const {
  SInt32 n = 0;
  while (GetThumbnail(n + 1)) ++n;
  return n;
}

LGWorld* CThumbnailView::GetGWorld() const {
  CThumbnailPane* current = GetCurrentThumbnail();
  return current ? current->GetGWorld() : nullptr;
}

void CThumbnailView::Choose(CThumbnailPane* chosen) {
  for (LPane* pane : GetSubPanes()) {
    auto* thumbnail = dynamic_cast<CThumbnailPane*>(pane);
    if (!thumbnail) continue;
    if (thumbnail->IsCurrent() && mArea) {
      thumbnail->KeepLayout(mArea->GetAllPaneInfo());
      thumbnail->Refresh();
    }
    thumbnail->SetCurrent(0);
  }
  chosen->SetCurrent(1);
  chosen->Refresh();
  ScanData page = chosen->GetScanData();
  BroadcastMessage(msg_ShowPage, &page);
  if (chosen->IsKept()) {
    PrePicturePaneInfo layout = chosen->GetKeptLayout();
    BroadcastMessage(msg_RestorePage, &layout);
  }
}

void CThumbnailView::ListenToMessage(MessageT message, void* param) {
  if (message == CThumbnailPane::msg_Chosen) Choose(static_cast<CThumbnailPane*>(param));
  else if (message == CThumbnailPane::msg_Checked) BroadcastMessage(message, param);
}

void CThumbnailView::DrawSelf() {
  StColorPenState saved;
  Rect frame;
  CalcLocalFrameRect(frame);
  const RGBColor gray = {0x8080, 0x8080, 0x8080};
  RGBForeColor(&gray);
  PaintRect(&frame);
}
