// The Save and Scan-1 dialogs on a private Xvfb: what the screen shows is what the dialog
// drew, and a screenshot of each is kept for a person to look at.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/CCicnButton.h"
#include "app/CEditText.h"
#include "app/CPopupButton.h"
#include "prefs/CPreferences.h"
#include "prefs/LanguageTables.h"
#include "dialogs/file/CFileDialogBox.h"
#include "dialogs/file/CSaveDialogBox.h"
#include "dialogs/file/CScan1DialogBox.h"
#include "framework/TRegistrar.h"
#include "output/hubdialogs/CFileNameAddPopup.h"
#include "support/DialogShot.h"
#include "support/TestEnv.h"
#include "tests/output/DialogTestEnv.h"
#include "tests/support/HeadlessApp.h"
#include "toolbox/TextConvert.h"
#include "toolbox/TextUtils.h"

namespace {

class FileDialogs : public wxtest::HeadlessApp {
 protected:
  void SetUp() override {
    setenv("WENDRIX_ROOT", mRoot.path().c_str(), 1);
    wxtest::HeadlessApp::SetUp();
    SelectLanguageFromResources();
    // Texts are in the script of the build's language and are drawn in it.
    SetSystemScriptForLanguage(wxtest::BuildLanguage());
  }
  void TearDown() override {
    wxtest::HeadlessApp::TearDown();
    SetSystemScriptForLanguage('E');
    unsetenv("WENDRIX_ROOT");
  }
  void RegisterClasses() override {
    RegisterClass_(CSaveDialogBox);
    RegisterClass_(CScan1DialogBox);
    RegisterClass_(CPopupButton);
    RegisterClass_(CEditText);
    RegisterClass_(CCicnButton);
    RegisterClass_(CFileDialogBox);
    RegisterClass_(CFileNameAddPopup);
  }
  wxtest::ScratchDir mRoot;
};

using FileDialogsOnScreen = wxtest::OnScreen<FileDialogs>;

TEST_F(FileDialogsOnScreen, SaveAndScanOne) {
  const struct {
    ResIDT layout;
    const char* file;
  } shots[] = {{4000, "save.png"}, {6000, "scan1.png"}};
  for (const auto& shot : shots) {
    SCOPED_TRACE(shot.file);
    LWindow* dialog = LWindow::CreateWindow(shot.layout, mApp);
    ASSERT_NE(dialog, nullptr);
    dialog->Show();
    EXPECT_EQ(0, wxtest::ShootDialog(dialog, "dialogs", shot.file)) << "the screen does not show what the dialog drew";
    delete dialog;
  }
}

// The File dialog with its tabs (seven-button models) and without (four-button models).
TEST_F(FileDialogsOnScreen, FileWithAndWithoutTabs) {
  const struct {
    const char* model;
    ResIDT layout;
    const char* file;
  } shots[] = {{"Dremlo Model A", 5050, "file-tabs.png"}, {"Dremlo Model D", 5000, "file.png"}};
  for (const auto& shot : shots) {
    SCOPED_TRACE(shot.file);
    {
      CPreferences prefs(PREFS_FILE_NAME, 0);
      Str255 model;
      PStrFromString(shot.model, model);
      PREF_SETTING::kModelName.set(PREF_ALL::kSetting.in(prefs.PrefAll()), model);
      PREF_SETTING::kTWAIN.set(PREF_ALL::kSetting.in(prefs.PrefAll()), 1);
    }
    LWindow* dialog = LWindow::CreateWindow(shot.layout, mApp);
    ASSERT_NE(dynamic_cast<CFileDialogBox*>(dialog), nullptr);
    dialog->Show();
    EXPECT_EQ(0, wxtest::ShootDialog(dialog, "dialogs", shot.file)) << "the screen does not show what the dialog drew";
    delete dialog;
  }
}

}  // namespace
