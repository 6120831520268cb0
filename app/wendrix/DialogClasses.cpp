#include "app/wendrix/DialogClasses.h"

#include "dialogs/print/CSettingDialogBox.h"
#include "output/export/CMailerSelectDialog.h"
#include "output/export/CPreferenceApplTable.h"

const AppClassList& DialogClasses() {
  static const AppClassList classes = {AppClassEntry<CMailerSelectDialog>(), AppClassEntry<CPreferenceApplTable>(),
                                       AppClassEntry<CSettingDialogBox>()};
  return classes;
}
