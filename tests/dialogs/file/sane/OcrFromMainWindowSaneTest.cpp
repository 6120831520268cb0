// The OCR dialog as the main window opens it: a click opens it idle and linked to the OCR
// button; a scanner-button push opens it and scans at once, and the run ends by handing the
// files to the OCR application and closing.
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
#include "dialogs/file/COcrDialogBox.h"
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

class OcrFromMainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("WENDRIX_ROOT", mRoot.path().c_str(), 1);
    fs::create_directories(mOut);
    fs::create_directories(mRoot / "apps");
    std::ofstream(mRoot / "apps" / "Reader")
        << "#!/bin/sh\n(IFS='|'; echo \"$*\") >> '" << (mRoot / "reader.log").string() << "'\n";
    fs::permissions(mRoot / "apps" / "Reader", fs::perms::owner_all);
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
      RecordBytes ocr = PREF_ALL::kOCR.in(all);
      PREF_OCR::kColourMode.set(ocr, 2);
      PREF_OCR::kSetting4.set(ocr, 1);
      PREF_OCR::kPaperSize.set(ocr, UInt32(IS_J ? 13 : 8));
      PREF_OCR::kCustomSize.set(ocr, 200, 150, PrefDocSize::kCentimetre);
      PREF_OCR::kColourSetting.set(ocr, 2);
      PREF_OCR::kCheckDYIN.set(ocr, 0);
      PREF_OCR::kFolder.set(ocr, wxscan::FolderSpec(mOut));
      FSSpec app{};
      FSpMakeFromPOSIXPath((mRoot / "apps" / "Reader").string(), &app);
      PREF_OCR::kOCRApp.set(ocr, app);
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

  static COcrDialogBox* Dialog() {
    for (WindowRef w = GetWindowList(); w; w = GetNextWindow(w))
      if (auto* dialog = dynamic_cast<COcrDialogBox*>(LWindow::FetchWindowObject(w))) return dialog;
    return nullptr;
  }

  wxtest::ScratchDir mRoot;
  fs::path mOut = mRoot / "out";
  CAppearanceApp* mApp = nullptr;
  SInt16 mResFile = -1;
};

TEST_F(OcrFromMainWindow, AClickOpensTheDialogIdleAndLinkedToItsButton) {
  CAppearanceApp::sMainWindow->ListenToMessage('OCR ', nullptr);
  COcrDialogBox* dialog = Dialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->IsVisible());
  EXPECT_EQ(CAppearanceApp::sApplication->mFunctionDialogOpen, 1);
  EXPECT_EQ(CWXUtility::sIsQuellaneOpened, 0);
  // Forgetting the application and applying clears the button's icon: the dialog holds it.
  auto* button = dynamic_cast<CAppButton*>(CAppearanceApp::sMainWindow->FindPaneByID('OCR '));
  ASSERT_NE(button, nullptr);
  wxframework::AnswerNextDialog(msg_OK);
  dialog->ListenToMessage('LKDL', nullptr);
  dialog->ListenToMessage('APLY', nullptr);
  EXPECT_EQ(button->GetIconRef(), nullptr);
  dialog->ListenToMessage(msg_Cancel, nullptr);
  EXPECT_EQ(Dialog(), nullptr);
  EXPECT_EQ(CAppearanceApp::sApplication->mFunctionDialogOpen, 0);
}

TEST_F(OcrFromMainWindow, AScannerButtonScansAtOnceHandsTheFilesOnAndCloses) {
  SInt32 pushed = 1;
  CAppearanceApp::sMainWindow->ListenToMessage('OCR ', &pushed);
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
    std::ifstream in(mRoot / "reader.log");
    std::getline(in, line);
    if (line.empty()) usleep(10000);
  }
  ASSERT_EQ(wxscan::FilesIn(mOut), 1u);
  EXPECT_EQ(line, fs::directory_iterator(mOut)->path().string());
  EXPECT_EQ(Dialog(), nullptr) << "a button run ends by closing";
  EXPECT_NE(mApp->GetState(), programState_Quitting);
}

}  // namespace
