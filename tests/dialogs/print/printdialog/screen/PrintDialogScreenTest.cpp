// The Print dialog on a private Xvfb, kept for a person to look at.
#include <gtest/gtest.h>

#include "PrintDialogTestEnv.h"
#include "support/DialogShot.h"
#include "tests/output/DialogTestEnv.h"

namespace wxapp {
namespace {

class PrintDialogOnScreen : public wxtest::OnScreen<PrintDialogTest> {
 protected:
  void SetUp() override {
    wxtest::OnScreen<PrintDialogTest>::SetUp();
    // Texts are in the script of the build's language and are drawn in it.
    SetSystemScriptForLanguage(wxtest::BuildLanguage());
  }
};

TEST_F(PrintDialogOnScreen, CustomSizeInColour) {
  ASSERT_NE(nullptr, Open());
  EXPECT_EQ(0, wxtest::ShootDialog(Dialog(), "dialogs", "print.png")) << "the screen does not show what the dialog drew";
  Click('CNCL');
}

}  // namespace
}  // namespace wxapp
