// The fixture of the tests that start the whole program over the SANE test device and reach a
// dialog from the main window: a program standing for the dialog's application (apps/<Name>
// below mRoot) records what it is given in <name>.log, one line a run.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "app/CAppearanceApp.h"
#include "app/CMainWindow.h"
#include "prefs/CPreferences.h"
#include "prefs/LanguageTables.h"
#include "app/wendrix/DialogClasses.h"
#include "appservices/AppleEvents.h"
#include "appservices/Processes.h"
#include "display/Display.h"
#include "framework/FrameworkDriver.h"
#include "framework/LThread.h"
#include "framework/LWindow.h"
#include "framework/URegistrar.h"
#include "output/hub/WXDialogFlags.h"
#include "scanner/CTWAIN.h"
#include "scanner/ScanTestSupport.h"
#include "support/TestEnv.h"
#include "toolbox/Files.h"
#include "toolbox/Resources.h"
#include "toolbox/TextConvert.h"
#include "toolbox/TextUtils.h"
#include "windows/Events.h"
#include "windows/MacWindows.h"

namespace wxsane {

template <class Box>
class FromMainWindow : public ::testing::Test {
 protected:
  explicit FromMainWindow(const char* application) : mApplication(application) {}

  void SetUp() override {
    setenv("WENDRIX_ROOT", mRoot.path().c_str(), 1);
    std::filesystem::create_directories(mOut);
    std::filesystem::create_directories(mRoot / "apps");
    std::string log = mApplication;
    for (char& c : log) c = char(std::tolower(static_cast<unsigned char>(c)));
    const std::filesystem::path program = mRoot / "apps" / mApplication;
    mLog = mRoot / (log + ".log");
    std::ofstream(program) << "#!/bin/sh\n(IFS='|'; echo \"$*\") >> '" << mLog.string() << "'\n";
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    DpyUseHeadless();
    DpyClearInput();
    FlushEvents(everyEvent, 0);
    ProcessResetTable();
    SetSystemScriptForLanguage('E');
    mResFile = OpenApplicationResFile(FindApplicationResourceFile());
    ASSERT_NE(mResFile, -1);
    SelectLanguageFromResources();
  }
  // The program started with `model` configured; `configure` sets the dialog's records, given
  // all preferences and the application's file. `classes` are the program's own but where a
  // test stands in for one.
  void Start(const char* model, const std::function<void(RecordBytes all, const FSSpec& app)>& configure,
             const AppClassList& classes = DialogClasses()) {
    {
      CPreferences prefs(PREFS_FILE_NAME, 0);
      RecordBytes all = prefs.PrefAll();
      RecordBytes setting = PREF_ALL::kSetting.in(all);
      Str255 text;
      PStrFromString(model, text);
      PREF_SETTING::kModelName.set(setting, text);
      PREF_SETTING::kTWAIN.set(setting, 1);
      PREF_SETTING::kCheckDone.set(setting, 1);
      PREF_SETTING::kQuitOption.set(setting, 0);
      FSSpec app{};
      FSpMakeFromPOSIXPath((mRoot / "apps" / mApplication).string(), &app);
      configure(all, app);
    }
    mApp = new CAppearanceApp(classes);
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

  // The scan of a scanner-button run ends, the application is handed the one file written
  // (it runs detached), and the dialog closes without quitting the program.
  void ExpectTheRunHandsOnItsFileAndCloses() {
    ASSERT_EQ(CWXUtility::sIsQuellaneOpened, 1) << "the scan did not start";
    for (int i = 0; i < 600 && CWXUtility::sIsQuellaneOpened == 1; ++i) {
      mApp->ProcessNextEvent();
      LThread::Yield();
    }
    ASSERT_EQ(CWXUtility::sIsQuellaneOpened, 0);
    ProcessRunPendingLaunches();
    std::string line;
    for (int i = 0; i < 300 && line.empty(); ++i) {
      std::ifstream in(mLog);
      std::getline(in, line);
      if (line.empty()) usleep(10000);
    }
    ASSERT_EQ(wxscan::FilesIn(mOut), 1u);
    EXPECT_EQ(line, std::filesystem::directory_iterator(mOut)->path().string());
    EXPECT_EQ(Dialog(), nullptr) << "a button run ends by closing";
    EXPECT_NE(mApp->GetState(), programState_Quitting);
  }

  static Box* Dialog() {
    for (WindowRef w = GetWindowList(); w; w = GetNextWindow(w))
      if (auto* dialog = dynamic_cast<Box*>(LWindow::FetchWindowObject(w))) return dialog;
    return nullptr;
  }

  wxtest::ScratchDir mRoot;
  std::filesystem::path mOut = mRoot / "out";
  CAppearanceApp* mApp = nullptr;
  SInt16 mResFile = -1;

 private:
  const char* mApplication;
  std::filesystem::path mLog;
};

}  // namespace wxsane
