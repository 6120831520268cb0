// The Mail dialog as the main window opens it: a click opens it idle and linked to the Mail
// button; a scanner-button push opens it and scans at once, and the run ends by handing the
// files to the mail application and closing.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/CAppButton.h"
#include "app/CAppearanceApp.h"
#include "app/CMainWindow.h"
#include "prefs/CPreferences.h"
#include "prefs/LanguageTables.h"
#include "app/wendrix/DialogClasses.h"
#include "appservices/AppleEvents.h"
#include "appservices/Processes.h"
#include "dialogs/file/CMailDialogBox.h"
#include "display/Display.h"
#include "framework/FrameworkDriver.h"
#include "framework/LThread.h"
#include "framework/URegistrar.h"
#include "output/hub/WXDialogFlags.h"
#include "scanner/CTWAIN.h"
#include "scanner/ScanTestSupport.h"
#include "support/TestEnv.h"
#include "tests/dialogs/file/sane/FromMainWindow.h"
#include "tests/platform/twain/sane/SaneTestConfig.h"
#include "toolbox/Resources.h"
#include "toolbox/TextConvert.h"
#include "toolbox/TextUtils.h"
#include "windows/Events.h"
#include "windows/MacWindows.h"

namespace {

namespace fs = std::filesystem;

class MailFromMainWindow : public wxsane::FromMainWindow<CMailDialogBox> {
 protected:
  MailFromMainWindow() : FromMainWindow("Post") {}
  void SetUp() override {
    FromMainWindow::SetUp();
    if (HasFatalFailure()) return;
    Start("Dremlo Model A", [this](RecordBytes all, const FSSpec& app) {
      RecordBytes mail = PREF_ALL::kMail.in(all);
      PREF_MAIL::kSetting0.set(mail, 2);
      PREF_MAIL::kSetting4.set(mail, 1);
      PREF_MAIL::kPaperSize.set(mail, UInt32(IS_J ? 13 : 8));
      PREF_MAIL::kCustomSize.set(mail, 200, 150, PrefDocSize::kCentimetre);
      PREF_MAIL::kSetting12.set(mail, 1);
      PREF_MAIL::kSetting16.set(mail, 1);
      PREF_MAIL::kCheckUION.set(mail, 0);
      PREF_MAIL::kCheckDYIN.set(mail, 0);
      PREF_MAIL::kCheckAIRE.set(mail, 0);
      PREF_MAIL::kFolder.set(mail, wxscan::FolderSpec(mOut));
      PREF_MAIL::kMailApp.set(mail, app);
    });
  }
};

TEST_F(MailFromMainWindow, AClickOpensTheDialogIdleAndLinkedToItsButton) {
  CAppearanceApp::sMainWindow->ListenToMessage('MAIL', nullptr);
  CMailDialogBox* dialog = Dialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->IsVisible());
  EXPECT_EQ(CAppearanceApp::sApplication->mFunctionDialogOpen, 1);
  EXPECT_EQ(CWXUtility::sIsQuellaneOpened, 0);
  // An application gone since the opening is forgotten at "Apply", and the button's icon with
  // it: the dialog holds the button.
  auto* button = dynamic_cast<CAppButton*>(CAppearanceApp::sMainWindow->FindPaneByID('MAIL'));
  ASSERT_NE(button, nullptr);
  fs::remove(mRoot / "apps" / "Post");
  dialog->ListenToMessage('APLY', nullptr);
  EXPECT_EQ(button->GetIconRef(), nullptr);
  dialog->ListenToMessage(msg_Cancel, nullptr);
  EXPECT_EQ(Dialog(), nullptr);
  EXPECT_EQ(CAppearanceApp::sApplication->mFunctionDialogOpen, 0);
}

TEST_F(MailFromMainWindow, AScannerButtonScansAtOnceHandsTheFilesOnAndCloses) {
  SInt32 pushed = 1;
  CAppearanceApp::sMainWindow->ListenToMessage('MAIL', &pushed);
  ASSERT_NE(Dialog(), nullptr);
  ExpectTheRunHandsOnItsFileAndCloses();
}

}  // namespace
