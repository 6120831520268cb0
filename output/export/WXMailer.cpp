#include "output/export/WXMailer.h"

#include "framework/LException.h"
#include "framework/StDialogHandler.h"
#include "output/export/CMailerSelectDialog.h"
#include "output/export/CPreferenceApplTable.h"
#include "toolbox/Resources.h"

namespace CWXUtility {

SInt32 MailerSetting(SInt32 layoutID, LCommander* super, FSSpec& chosen, UInt32* count, FSSpec* saved,
                     FSSpec* current) {
  StCurResFile appResources{ApplicationResFile()};
  StDialogHandler handler(ResIDT(layoutID), super);
  auto* dialog = dynamic_cast<CMailerSelectDialog*>(handler.GetDialog());
  ThrowIfNil_(dialog);
  CPreferenceApplTable* table = dialog->GetTable();
  table->SetSavedAppl(*count, saved);
  if (current) table->SelectCurrentAppCell(*current);
  dialog->Show();
  for (;;) {
    const MessageT message = handler.DoDialog();
    if (message == msg_OK) {
      chosen = dialog->GetChosenAppl();
      table->GetMustSaveAppl(count, saved);
      return msg_OK;
    }
    if (message == msg_Cancel) return msg_Cancel;
  }
}

}  // namespace CWXUtility
