// The main window's title strip: a double click on it (not on its buttons) broadcasts the
// view's message, on which the window collapses or expands.
#pragma once

#include "framework/LBroadcaster.h"
#include "framework/LView.h"

class CMainWindowTitleView : public LView, public LBroadcaster {
 public:
  CMainWindowTitleView(const SPaneInfo& paneInfo, const SViewInfo& viewInfo, MessageT message);

  // The title caption is no target of its own: a click on it is the view's.
  LPane* FindSubPaneHitBy(SInt32 h, SInt32 v) const override;

 protected:
  void ClickSelf(const SMouseDownEvent& event) override;

 private:
  MessageT mMessage;
};
