#include "app/wendrix/DialogClasses.h"

#include "dialogs/print/CSettingDialogBox.h"

const AppClassList& DialogClasses() {
  static const AppClassList classes = {
      AppClassEntry<CSettingDialogBox>(),
  };
  return classes;
}
