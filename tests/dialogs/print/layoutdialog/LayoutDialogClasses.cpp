// This program's class list: the Print dialog and its page layout's classes only, so the
// stitch wizard's entry can be the test's own scripted one.
#include "app/wendrix/DialogClasses.h"
#include "dialogs/print/CPrintDialogBox.h"
#include "dialogs/print/layout/CPictureView.h"
#include "dialogs/print/layout/CPrintLayoutDialog.h"
#include "dialogs/print/layout/CThumbnailView.h"

const AppClassList& DialogClasses() {
  static const AppClassList classes = {AppClassEntry<CPrintDialogBox>(), AppClassEntry<CPrintLayoutDialog>(),
                                       AppClassEntry<CThumbnailView>(), AppClassEntry<CPictureView>()};
  return classes;
}
