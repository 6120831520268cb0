#include "app/wendrix/DialogClasses.h"

#include "dialogs/file/CSaveDialogBox.h"
#include "dialogs/file/CScanInfoWindow.h"

const AppClassList& DialogClasses() {
  static const AppClassList classes = {AppClassEntry<CSaveDialogBox>(), AppClassEntry<CScanInfoWindow>()};
  return classes;
}
