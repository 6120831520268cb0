#include "preview/CPreviewChekBoxPane.h"

#include "preview/CPreviewDialog.h"
#include "preview/CPreviewView.h"

CPreviewChekBoxPane::CPreviewChekBoxPane(const SPaneInfo& paneInfo, MessageT valueMessage, SInt32 value,
                                         ConstStr255Param title, ResIDT textTraitsID)
    : LCheckBox(paneInfo, valueMessage, value, title, textTraitsID) {}

void CPreviewChekBoxPane::ClickSelf(const SMouseDownEvent& event) {
  auto* view = dynamic_cast<CPreviewView*>(GetSuperView() ? GetSuperView()->GetSuperView() : nullptr);
  if (view) view->KeepNamesBeforeChange();
  LCheckBox::ClickSelf(event);
  if (CPreviewDialog::sPreviewDialog) CPreviewDialog::sPreviewDialog->SettingThumbnailName();
}

void CPreviewChekBoxPane::DrawForDrag() { DrawSelf(); }
