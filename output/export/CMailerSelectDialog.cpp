#include "output/export/CMailerSelectDialog.h"

#include "framework/LControl.h"
#include "framework/LException.h"
#include "output/export/CPreferenceApplTable.h"
#include "output/export/WXChoosers.h"
#include "output/hub/WXLaunch.h"
#include "toolbox/Gestalt.h"

namespace {

constexpr PaneIDT kTable = 'ATBL';
constexpr PaneIDT kOK = 'BTOK';
constexpr PaneIDT kCancel = 'BTCN';
constexpr PaneIDT kAdd = 'BTAD';
constexpr PaneIDT kRemove = 'BTDL';
constexpr MessageT msg_Add = 'BTAD';
constexpr MessageT msg_Remove = 'BTDL';
constexpr SInt32 kFirstSystemWithEmal = 0x101F;

struct KnownMailer {
  OSType creator;
  bool needsNewerSystem;
};
constexpr KnownMailer kKnownMailers[] = {{'MSNM', false}, {'CSOm', false}, {'emal', true}};

LControl* Control(LView* view, PaneIDT id) {
  auto* control = dynamic_cast<LControl*>(view->FindPaneByID(id));
  ThrowIfNil_(control);
  return control;
}

void EnableIf(LControl* control, bool enabled) {
  if (enabled)
    control->Enable();
  else
    control->Disable();
}

}  // namespace

void CMailerSelectDialog::FinishCreateSelf() {
  LDialogBox::FinishCreateSelf();
  mChosen = FSSpec{};
  mTable = dynamic_cast<CPreferenceApplTable*>(FindPaneByID(kTable));
  ThrowIfNil_(mTable);
  mTable->AddListener(this);
  for (PaneIDT id : {kOK, kCancel, kAdd, kRemove}) Control(this, id)->AddListener(this);
  SInt32 system = 0;
  if (Gestalt('sysv', &system) != noErr) system = 0;
  for (const KnownMailer& known : kKnownMailers) {
    FSSpec app{};
    if (known.needsNewerSystem && system <= kFirstSystemWithEmal) continue;
    if (CWXUtility::SearchApplication(known.creator, &app) == 1 && CWXUtility::IsMacOSXNativeAppl(app) != 2)
      mTable->InsertEntryAtTop(ApplEntry{true, app, false});
  }
  // Nothing is selected yet: nothing to remove.
  Control(this, kRemove)->Disable();
}

void CMailerSelectDialog::FollowSelection() {
  STableCell cell{0, 0};
  const bool removable = mTable->GetSelectedCell(cell) && mTable->EntryAt(cell.row).valid &&
                         mTable->EntryAt(cell.row).userAdded;
  EnableIf(Control(this, kRemove), removable);
  EnableIf(Control(this, kAdd), mTable->UserAddedCount() < kMaxSavedAppl);
}

void CMailerSelectDialog::ListenToMessage(MessageT message, void* param) {
  switch (message) {
    case msg_Add: {
      Str255 title;
      GetDescriptor(title);
      FSSpec app{};
      if (mTable->UserAddedCount() >= kMaxSavedAppl || CWXUtility::ChooseApplication(app, title) != 1) break;
      mTable->InsertEntryAtTop(ApplEntry{true, app, true});
      mTable->SelectCell({1, 1});
      mTable->Refresh();
      break;
    }
    case msg_Remove: {
      STableCell cell{0, 0};
      if (mTable->GetSelectedCell(cell)) {
        mTable->RemoveRows(1, cell.row);
        mTable->Refresh();
      }
      FollowSelection();
      break;
    }
    case msg_ApplSelected:
      FollowSelection();
      break;
    case msg_OK: {
      STableCell cell{0, 0};
      const ApplEntry entry = mTable->GetSelectedCell(cell) ? mTable->EntryAt(cell.row) : ApplEntry{};
      mChosen = entry.valid ? entry.app : FSSpec{};
      break;
    }
    case msg_Cancel:
      break;
    default:
      LDialogBox::ListenToMessage(message, param);
  }
}
