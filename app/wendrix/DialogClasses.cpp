#include "app/wendrix/DialogClasses.h"

#include "dialogs/file/CSaveDialogBox.h"
#include "dialogs/file/CScanInfoWindow.h"
#include "dialogs/print/CSettingDialogBox.h"
#include "output/export/CMailerSelectDialog.h"
#include "output/export/CPreferenceApplTable.h"
#include "output/hubdialogs/CFileNameAddDialog.h"
#include "output/hubdialogs/CFileNameAddPopup.h"
#include "preview/CStitchPictureView.h"

const AppClassList& DialogClasses() {
  static const AppClassList classes = {
      AppClassEntry<CMailerSelectDialog>(), AppClassEntry<CPreferenceApplTable>(), AppClassEntry<CSaveDialogBox>(),
      AppClassEntry<CScanInfoWindow>(),     AppClassEntry<CSettingDialogBox>(),    AppClassEntry<CFileNameAddDialog>(),
      AppClassEntry<CFileNameAddPopup>(),
      AppClassEntry<CStitchPictureView>(),
  };
  return classes;
}
