#include "app/CMainWindowTitleView.h"

#include "windows/Events.h"

namespace {
constexpr PaneIDT kTitleCaption = 'Wcap';
}

CMainWindowTitleView::CMainWindowTitleView(const SPaneInfo& paneInfo, const SViewInfo& viewInfo, MessageT message)
    : LView(paneInfo, viewInfo), mMessage(message) {}

LPane* CMainWindowTitleView::FindSubPaneHitBy(SInt32 h, SInt32 v) const {
  LPane* hit = LView::FindSubPaneHitBy(h, v);
  return hit && hit->GetPaneID() == kTitleCaption ? nullptr : hit;
}

void CMainWindowTitleView::ClickSelf(const SMouseDownEvent& event) {
  if (WaitMouseMoved(event.macEvent.where)) return;
  if (GetClickCount() == 2) BroadcastMessage(mMessage, this);
  LView::ClickSelf(event);
}
