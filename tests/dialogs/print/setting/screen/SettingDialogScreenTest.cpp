// The Settings dialog of a four-button model (no scanner listed, so the stored model stays)
// on a private Xvfb, kept for a person to look at.
#include <gtest/gtest.h>

#include "SettingDialogTestEnv.h"
#include "support/DialogShot.h"
#include "tests/output/DialogTestEnv.h"

namespace wxapp {
namespace {

class SettingDialogOnScreen : public wxtest::OnScreen<SettingDialogTest> {
 protected:
  void SetUp() override {
    wxtest::OnScreen<SettingDialogTest>::SetUp();
    // Texts are in the script of the build's language and are drawn in it.
    SetSystemScriptForLanguage(wxtest::BuildLanguage());
  }
};

TEST_F(SettingDialogOnScreen, FourButtonModel) {
  Configure("Dremlo Model D");
  {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    PREF_SETTING::kButtonSlot2.set(PREF_ALL::kSetting.in(prefs.PrefAll()), 8);  // File, as a four-button file has
  }
  ASSERT_NE(nullptr, Open());
  EXPECT_EQ(0, wxtest::ShootDialog(Dialog(), "dialogs", "settings-four-buttons.png"))
      << "the screen does not show what the dialog drew";
  Click(901);
}

}  // namespace
}  // namespace wxapp
