#include "output/hubdialogs/CFileNameAddDialog.h"

#include <cstring>

#include "framework/LEditText.h"
#include "output/hub/WXChecks.h"
#include "output/hub/WXDialogFlags.h"
#include "output/hubdialogs/CFileNameAddPopup.h"
#include "output/hubdialogs/WXAlert.h"
#include "output/hubdialogs/WXPanes.h"

namespace {

constexpr PaneIDT kNameField = 'EtFN';
constexpr PaneIDT kHistoryPopup = 'PuFN';

bool SameText(ConstStr255Param a, ConstStr255Param b) { return a[0] == b[0] && std::memcmp(a + 1, b + 1, a[0]) == 0; }

}  // namespace

void CFileNameAddDialog::FinishCreateSelf() {
  LDialogBox::FinishCreateSelf();
  mNameField = CWXUtility::FindPaneAs<LEditText>(this, kNameField);
  mHistory = CWXUtility::FindPaneAs<CFileNameAddPopup>(this, kHistoryPopup);
  mHistory->AddListener(this);
}

void CFileNameAddDialog::SetFileName(ConstStr255Param name) {
  if (!mNameField) return;
  mNameField->SetDescriptor(name);
  LCommander::SwitchTarget(mNameField);
}

void CFileNameAddDialog::SetFileNameHist(long count, const Str255* names) {
  if (!mHistory || count <= 0 || !names) return;
  mHistory->StopBroadcasting();
  for (long i = 0; i < count; ++i) mHistory->InsertMenuItem(names[i], 0);
  mHistory->StartBroadcasting();
}

bool CFileNameAddDialog::GetFileName(Str255 out) {
  if (!mNameField) return false;
  Str255 text;
  mNameField->GetDescriptor(text);
  const long item = CWXUtility::CheckFileName(text);
  if (item == 0) {
    std::memcpy(out, text, size_t(text[0]) + 1);
    return true;
  }
  CWXUtility::Show_Error(CWXUtility::kAlertLayout, this, 400, item, 0, 1, nullptr, 0);
  LCommander::SwitchTarget(mNameField);
  return false;
}

void CFileNameAddDialog::MenuOpens() {
  mFound = false;
  Str255 typed, item;
  mNameField->GetDescriptor(typed);
  mHistory->StopBroadcasting();
  for (SInt16 i = 1; i <= mHistory->CountMenuItems(); ++i) {
    if (!SameText(mHistory->GetMenuItemText(i, item), typed)) continue;
    mFound = true;
    mHistory->SetValue(i);
    break;
  }
  if (!mFound) {
    mHistory->InsertMenuItem(typed, 0);
    mHistory->SetValue(0);
  }
  mHistory->StartBroadcasting();
}

void CFileNameAddDialog::MenuClosed() {
  if (!mFound) {
    mHistory->StopBroadcasting();
    mHistory->DeleteMenuItem(1);
    mHistory->StartBroadcasting();
  }
  mNameField->Refresh();
}

void CFileNameAddDialog::ListenToMessage(MessageT message, void*) {
  if (!mNameField || !mHistory) return;
  switch (message) {
    case msg_FileNameMenuOpens: MenuOpens(); break;
    case msg_FileNameMenuClosed: MenuClosed(); break;
    case kHistoryPopup: {
      Str255 chosen;
      mNameField->SetDescriptor(mHistory->GetMenuItemText(SInt16(mHistory->GetValue()), chosen));
      break;
    }
    default: break;
  }
}

void CFileNameAddDialog::FindCommandStatus(CommandT command, bool& outEnabled, bool& outUsesMark, UInt16& outMark,
                                           Str255 outName) {
  if (CWXUtility::sIsQuellaneOpened == 1) {
    outEnabled = false;
    return;
  }
  LDialogBox::FindCommandStatus(command, outEnabled, outUsesMark, outMark, outName);
}
