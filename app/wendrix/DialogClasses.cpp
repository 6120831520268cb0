#include "app/wendrix/DialogClasses.h"

#include "dialogs/file/CFileDialogBox.h"
#include "dialogs/file/CMailDialogBox.h"
#include "dialogs/file/COcrDialogBox.h"
#include "dialogs/file/CSaveDialogBox.h"
#include "dialogs/file/CScan1DialogBox.h"
#include "dialogs/file/CScan2DialogBox.h"
#include "dialogs/file/CScanInfoWindow.h"
#include "dialogs/print/CCopyDialogBox.h"
#include "dialogs/print/CPrintDialogBox.h"
#include "dialogs/print/CSettingDialogBox.h"
#include "dialogs/print/layout/CPictureView.h"
#include "dialogs/print/layout/CPrintLayoutDialog.h"
#include "dialogs/print/layout/CThumbnailView.h"
#include "output/export/CMailerSelectDialog.h"
#include "output/export/CPreferenceApplTable.h"
#include "output/hubdialogs/CFileNameAddDialog.h"
#include "output/hubdialogs/CFileNameAddPopup.h"
#include "preview/CExifDialog.h"
#include "preview/CPrevPrevView.h"
#include "preview/CPrevPrevWindow.h"
#include "preview/CPreviewDialog.h"
#include "preview/CPreviewView.h"
#include "preview/CStitchPictureView.h"
#include "preview/CStitchDialog.h"

namespace {

// The stitch wizard shows the File function's scan-information window while it scans.
void FillStitchScanInfo(LWindow* window, PREF_FILE* record) {
  if (auto* info = dynamic_cast<CScanInfoWindow*>(window)) info->SetDisplayData(record, record, record, record, record);
}

}  // namespace

const AppClassList& DialogClasses() {
  CStitchDialog::SetScanInfoFiller(&FillStitchScanInfo);
  static const AppClassList classes = {
      AppClassEntry<CMailerSelectDialog>(), AppClassEntry<CPreferenceApplTable>(), AppClassEntry<CSaveDialogBox>(),
      AppClassEntry<CScanInfoWindow>(),     AppClassEntry<CSettingDialogBox>(),    AppClassEntry<CFileNameAddDialog>(),
      AppClassEntry<CFileNameAddPopup>(),
      AppClassEntry<CPreviewDialog>(),      AppClassEntry<CPreviewView>(),         AppClassEntry<CExifDialog>(),
      AppClassEntry<CPrevPrevWindow>(),     AppClassEntry<CPrevPrevView>(),
      // The Print function and its page layout.
      AppClassEntry<CPrintDialogBox>(), AppClassEntry<CPrintLayoutDialog>(), AppClassEntry<CThumbnailView>(),
      AppClassEntry<CPictureView>(),
      AppClassEntry<CScan1DialogBox>(),     AppClassEntry<CScan2DialogBox>(),
      AppClassEntry<COcrDialogBox>(),
      AppClassEntry<CFileDialogBox>(),
      AppClassEntry<CMailDialogBox>(),
      AppClassEntry<CCopyDialogBox>(),
      AppClassEntry<CStitchPictureView>(),
      AppClassEntry<CStitchDialog>(),
  };
  return classes;
}
