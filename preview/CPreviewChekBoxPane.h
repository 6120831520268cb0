// The check box of a preview thumbnail: on, the page is written. Before the check changes,
// an open rename is taken and the document name kept; afterwards the captions are renumbered.
#pragma once

#include "framework/LCheckBox.h"

class CPreviewChekBoxPane : public LCheckBox {
 public:
  enum : PaneIDT { kPaneID = 'Schk' };
  enum : MessageT { msg_Check = 'Schk' };

  CPreviewChekBoxPane(const SPaneInfo& paneInfo, MessageT valueMessage, SInt32 value, ConstStr255Param title,
                      ResIDT textTraitsID);

  void DrawForDrag();

 protected:
  void ClickSelf(const SMouseDownEvent& event) override;
};
