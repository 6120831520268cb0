#include "framework/LView.h"

#include <algorithm>

#include "framework/LStream.h"
#include "framework/ReadLayoutFields.h"

namespace {

// Show, hide, enable and activate reach every pane below a view, not only its children.
template <typename F>
void ForEachDeep(const std::vector<LPane*>& panes, F f) {
  for (LPane* pane : panes) {
    f(pane);
    if (auto* view = dynamic_cast<LView*>(pane)) ForEachDeep(view->GetSubPanes(), f);
  }
}

}  // namespace

LView::LView() = default;

LView::LView(const SPaneInfo& paneInfo, const SViewInfo& viewInfo) : LPane(paneInfo) { InitView(viewInfo); }

LView::LView(LStream* stream) : LPane(stream) {
  SViewInfo info;
  UInt8 overhang;
  SInt16 unitH, unitV;
  ReadLayoutFields<layout::kView>(*stream, info.imageSize.width, info.imageSize.height, info.scrollPos.h,
                                  info.scrollPos.v, unitH, unitV, overhang);
  info.scrollUnit = {unitH, unitV};
  info.reconcileOverhang = overhang;
  InitView(info);
}

void LView::InitView(const SViewInfo& info) {
  mImageSize = info.imageSize;
  if (mImageSize.width <= 0) mImageSize.width = mFrameSize.width;
  if (mImageSize.height <= 0) mImageSize.height = mFrameSize.height;
  mImageLocation = {mFrameLocation.h - info.scrollPos.h, mFrameLocation.v - info.scrollPos.v};
  mScrollUnit = info.scrollUnit;
}

LView::~LView() { DeleteAllSubPanes(); }

void LView::DeleteAllSubPanes() {
  // Each subpane's destructor takes it out of the list.
  while (!mSubPanes.empty()) delete mSubPanes.back();
}

void LView::AddSubPane(LPane* pane, bool inFront) {
  if (!pane) return;
  if (pane->mSuperView && pane->mSuperView != this) pane->mSuperView->RemoveSubPane(pane);
  std::erase(mSubPanes, pane);
  if (inFront)
    mSubPanes.push_back(pane);
  else
    mSubPanes.insert(mSubPanes.begin(), pane);
  pane->mSuperView = this;
}

void LView::RemoveSubPane(LPane* pane) {
  if (!pane || pane->mSuperView != this) return;
  std::erase(mSubPanes, pane);
  pane->mSuperView = nullptr;
}

LPane* LView::FindPaneByID(PaneIDT id) {
  if (id == mPaneID) return this;
  for (LPane* pane : mSubPanes)
    if (LPane* found = pane->FindPaneByID(id)) return found;
  return nullptr;
}

LPane* LView::FindSubPaneHitBy(SInt32 h, SInt32 v) const {
  for (auto it = mSubPanes.rbegin(); it != mSubPanes.rend(); ++it)
    if ((*it)->IsVisible() && (*it)->IsHitBy(h, v)) return *it;
  return nullptr;
}

LPane* LView::FindDeepSubPaneContaining(SInt32 h, SInt32 v) const {
  LPane* hit = FindSubPaneHitBy(h, v);
  if (auto* view = dynamic_cast<LView*>(hit))
    if (LPane* deeper = view->FindDeepSubPaneContaining(h, v)) return deeper;
  return hit;
}

void LView::ResizeImageTo(SInt32 width, SInt32 height, bool refresh) {
  mImageSize = {width, height};
  if (refresh) Refresh();
}

void LView::ScrollImageBy(SInt32 dh, SInt32 dv, bool refresh) {
  mImageLocation.h -= dh;
  mImageLocation.v -= dv;
  for (LPane* pane : mSubPanes) pane->MoveBy(-dh, -dv, false);
  if (refresh) Refresh();
}

void LView::ResizeFrameBy(SInt16 dw, SInt16 dh, bool refresh) {
  LPane::ResizeFrameBy(dw, dh, refresh);
  const std::vector<LPane*> panes = mSubPanes;
  for (LPane* pane : panes) pane->AdaptToSuperFrameSize(dw, dh, refresh);
}

void LView::MoveBy(SInt32 dh, SInt32 dv, bool refresh) {
  LPane::MoveBy(dh, dv, refresh);
  mImageLocation.h += dh;
  mImageLocation.v += dv;
  for (LPane* pane : mSubPanes) pane->MoveBy(dh, dv, false);
}

void LView::Draw(RgnHandle superDrawRgn) {
  if (!IsVisible()) return;
  LPane::Draw(superDrawRgn);
  const std::vector<LPane*> panes = mSubPanes;
  for (LPane* pane : panes) pane->Draw(superDrawRgn);
}

void LView::PrintPanel(const PanelSpec& panel) {
  if (!IsVisible()) return;
  LPane::PrintPanel(panel);
  const std::vector<LPane*> panes = mSubPanes;
  for (LPane* pane : panes) pane->PrintPanel(panel);
}

void LView::Click(SMouseDownEvent& event) {
  if (LPane* hit = FindSubPaneHitBy(event.wherePort.h, event.wherePort.v))
    hit->Click(event);
  else
    LPane::Click(event);
}

void LView::AdjustMouse(Point portPt, const EventRecord& event, RgnHandle mouseRgn) {
  if (LPane* hit = FindSubPaneHitBy(portPt.h, portPt.v))
    hit->AdjustMouse(portPt, event, mouseRgn);
  else
    LPane::AdjustMouse(portPt, event, mouseRgn);
}

void LView::Show() {
  LPane::Show();
  if (IsVisible())
    ForEachDeep(mSubPanes, [](LPane* p) {
      if (p->IsVisible()) p->ShowSelf();
    });
}

void LView::Hide() {
  bool wasVisible = IsVisible();
  LPane::Hide();
  if (wasVisible)
    ForEachDeep(mSubPanes, [](LPane* p) {
      if (p->IsVisibleSelf()) p->HideSelf();
    });
}

void LView::Enable() {
  LPane::Enable();
  ForEachDeep(mSubPanes, [](LPane* p) { p->EnableSelf(); });
}

void LView::Disable() {
  LPane::Disable();
  ForEachDeep(mSubPanes, [](LPane* p) { p->DisableSelf(); });
}

void LView::Activate() {
  bool was = mActive;
  LPane::Activate();
  if (!was) ForEachDeep(mSubPanes, [](LPane* p) { p->ActivateSelf(); });
}

void LView::Deactivate() {
  bool was = mActive;
  LPane::Deactivate();
  if (was) ForEachDeep(mSubPanes, [](LPane* p) { p->DeactivateSelf(); });
}

void LView::SavePlace(LStream* place) {
  LPane::SavePlace(place);
  *place << mImageLocation.h << mImageLocation.v;
  for (LPane* pane : mSubPanes) pane->SavePlace(place);
}

void LView::RestorePlace(LStream* place) {
  LPane::RestorePlace(place);
  *place >> mImageLocation.h >> mImageLocation.v;
  for (LPane* pane : mSubPanes) pane->RestorePlace(place);
}
