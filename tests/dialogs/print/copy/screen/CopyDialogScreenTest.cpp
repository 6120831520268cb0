// The Copy dialog on the glass with a custom magnification, and its custom-magnification
// dialog, on a private Xvfb, kept for a person to look at.
#include <gtest/gtest.h>

#include "CopyDialogTestEnv.h"
#include "support/DialogShot.h"
#include "tests/output/DialogTestEnv.h"

namespace wxapp {
namespace {

class CopyDialogOnScreen : public wxtest::OnScreen<CopyDialogTest> {
 protected:
  void SetUp() override {
    wxtest::OnScreen<CopyDialogTest>::SetUp();
    // Texts are in the script of the build's language and are drawn in it.
    SetSystemScriptForLanguage(wxtest::BuildLanguage());
  }
};

TEST_F(CopyDialogOnScreen, CustomMagnification) {
  Store([](RecordBytes copy, RecordBytes) {
    PREF_COPY::kScale.set(copy, UInt32(Copy_Popup_Custom));
    PREF_COPY::kCustomPercent.set(copy, 150);
  });
  ASSERT_NE(nullptr, Open());
  EXPECT_EQ(0, wxtest::ShootDialog(Dialog(), "dialogs", "copy.png"))
      << "the screen does not show what the dialog drew";
  int differ = -1;
  QueueDialogAction([&differ](LWindow* d) { differ = wxtest::ShootDialog(d, "dialogs", "copy-custom-scale.png"); });
  AnswerNextDialog(msg_Cancel);
  Dialog()->ShowCustomScaleDialog();
  EXPECT_EQ(0, differ) << "the screen does not show what the custom-magnification dialog drew";
  Click('CNCL');
}

}  // namespace
}  // namespace wxapp
