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
#include "app/prefs/CPreferences.h"
#include "app/prefs/LanguageTables.h"
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
#include "tests/platform/twain/sane/SaneTestConfig.h"
#include "toolbox/Resources.h"
#include "toolbox/TextConvert.h"
#include "toolbox/TextUtils.h"
#include "windows/Events.h"
#include "windows/MacWindows.h"

namespace {

namespace fs = std::filesystem;

class MailFromMainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("WENDRIX_ROOT", mRoot.path().c_str(), 1);
    fs::create_directories(mOut);
    fs::create_directories(mRoot / "apps");
    std::ofstream(mRoot / "apps" / "Post")
        << "#!/bin/sh\n(IFS='|'; echo \"$*\") >> '" << (mRoot / "post.log").string() << "'\n";
    fs::permissions(mRoot / "apps" / "Post", fs::perms::owner_all);
    DpyUseHeadless();
    DpyClearInput();
    FlushEvents(everyEvent, 0);
    ProcessResetTable();
    SetSystemScriptForLanguage('E');
    mResFile = OpenApplicationResFile(FindApplicationResourceFile());
    ASSERT_NE(mResFile, -1);
    SelectLanguageFromResources();
    {
      CPreferences prefs(PREFS_FILE_NAME, 0);
      RecordBytes all = prefs.PrefAll();
      RecordBytes setting = PREF_ALL::kSetting.in(all);
      Str255 text;
      PStrFromString("Dremlo Model A", text);
      PREF_SETTING::kModelName.set(setting, text);
      PREF_SETTING::kTWAIN.set(setting, 1);
      PREF_SETTING::kCheckDone.set(setting, 1);
      PREF_SETTING::kQuitOption.set(setting, 0);
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
      FSSpec app{};
      FSpMakeFromPOSIXPath((mRoot / "apps" / "Post").string(), &app);
      PREF_MAIL::kMailApp.set(mail, app);
    }
    mApp = new CAppearanceApp(DialogClasses());
    CTWAIN::SetApplicationHost(mApp);
    AppleEvent event;
    AEInitializeDesc(&event);
    ProcessSerialNumber me{0, kCurrentProcess};
    AEDesc target;
    AECreateDesc(typeProcessSerialNumber, &me, sizeof me, &target);
    AECreateAppleEvent(kCoreEventClass, kAEOpenApplication, &target, kAutoGenerateReturnID, kAnyTransactionID,
                       &event);
    AEDesc reply, result;
    AEInitializeDesc(&reply);
    AEInitializeDesc(&result);
    mApp->HandleAppleEvent(event, reply, result, ae_OpenApp);
    AEDisposeDesc(&target);
    AEDisposeDesc(&event);
    ASSERT_NE(CAppearanceApp::sMainWindow, nullptr);
  }
  void TearDown() override {
    wxframework::ClearDialogActions();
    CTWAIN::SetApplicationHost(nullptr);
    delete mApp;
    CWXUtility::sIsQuellaneOpened = 0;
    URegistrar::UnregisterAll();
    if (mResFile != -1) CloseResFile(mResFile);
    DpyClearInput();
    FlushEvents(everyEvent, 0);
    ProcessResetTable();
    unsetenv("WENDRIX_ROOT");
  }

  static CMailDialogBox* Dialog() {
    for (WindowRef w = GetWindowList(); w; w = GetNextWindow(w))
      if (auto* dialog = dynamic_cast<CMailDialogBox*>(LWindow::FetchWindowObject(w))) return dialog;
    return nullptr;
  }

  wxtest::ScratchDir mRoot;
  fs::path mOut = mRoot / "out";
  CAppearanceApp* mApp = nullptr;
  SInt16 mResFile = -1;
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
  ASSERT_EQ(CWXUtility::sIsQuellaneOpened, 1) << "the scan did not start";
  for (int i = 0; i < 600 && CWXUtility::sIsQuellaneOpened == 1; ++i) {
    mApp->ProcessNextEvent();
    LThread::Yield();
  }
  ASSERT_EQ(CWXUtility::sIsQuellaneOpened, 0);
  ProcessRunPendingLaunches();
  std::string line;
  for (int i = 0; i < 300 && line.empty(); ++i) {
    std::ifstream in(mRoot / "post.log");
    std::getline(in, line);
    if (line.empty()) usleep(10000);
  }
  ASSERT_EQ(wxscan::FilesIn(mOut), 1u);
  EXPECT_EQ(line, fs::directory_iterator(mOut)->path().string());
  EXPECT_EQ(Dialog(), nullptr) << "a button run ends by closing";
  EXPECT_NE(mApp->GetState(), programState_Quitting);
}

}  // namespace
