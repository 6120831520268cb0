#include "app/wendrix/DialogClasses.h"

#include "dialogs/file/CSaveDialogBox.h"
#include "dialogs/file/CScanInfoWindow.h"
#include "dialogs/print/CSettingDialogBox.h"
#include "dialogs/print/layout/CPictureView.h"
#include "dialogs/print/layout/CThumbnailView.h"
#include "output/export/CMailerSelectDialog.h"
#include "output/export/CPreferenceApplTable.h"
#include "output/hubdialogs/CFileNameAddDialog.h"
#include "output/hubdialogs/CFileNameAddPopup.h"

const AppClassList& DialogClasses() {
  static const AppClassList classes = {
      AppClassEntry<CMailerSelectDialog>(), AppClassEntry<CPreferenceApplTable>(), AppClassEntry<CSaveDialogBox>(),
      AppClassEntry<CScanInfoWindow>(),     AppClassEntry<CSettingDialogBox>(),    AppClassEntry<CFileNameAddDialog>(),
      AppClassEntry<CFileNameAddPopup>(),
      // The print layout's page area and thumbnail strip.
      AppClassEntry<CPictureView>(),        AppClassEntry<CThumbnailView>(),
  };
  return classes;
}
