#include "app/wendrix/DialogClasses.h"

#include "output/hubdialogs/CFileNameAddDialog.h"
#include "output/hubdialogs/CFileNameAddPopup.h"

const AppClassList& DialogClasses() {
  static const AppClassList classes = {
      AppClassEntry<CFileNameAddDialog>(),
      AppClassEntry<CFileNameAddPopup>(),
  };
  return classes;
}
