// Surroundings for tests of the application object and the main window: every folder in a
// scratch root, the fixed clock, the headless display, the application's resources with the
// stand-in dialogs' layouts above them, and a configured scanner model.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "StandInDialog.h"
#include "app/CAppearanceApp.h"
#include "app/CMainWindow.h"
#include "prefs/CPreferences.h"
#include "prefs/LanguageTables.h"
#include "appservices/AppleEvents.h"
#include "appservices/Processes.h"
#include "display/Display.h"
#include "framework/FrameworkDriver.h"
#include "framework/URegistrar.h"
#include "support/TestEnv.h"
#include "toolbox/Clock.h"
#include "toolbox/FolderLocations.h"
#include "toolbox/Resources.h"
#include "toolbox/TextConvert.h"
#include "toolbox/TextUtils.h"
#include "windows/Events.h"

namespace wxapp {

// 2026-12-10 09:30:00 local time, seconds since 1904.
inline UInt32 FixedDate() {
  DateTimeRec d{2026, 12, 10, 9, 30, 0, 0};
  UInt32 secs = 0;
  DateToSeconds(&d, &secs);
  return secs;
}

// The centre of a pane in global coordinates, where the test driver clicks and drops.
inline Point Centre(LPane* pane) {
  Rect r;
  pane->CalcPortFrameRect(r);
  Point p = {static_cast<SInt16>((r.top + r.bottom) / 2), static_cast<SInt16>((r.left + r.right) / 2)};
  pane->PortToGlobalPoint(p);
  return p;
}

class AppTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("WENDRIX_ROOT", mRoot.path().c_str(), 1);
    ClockSetFake(FixedDate(), 1000);
    ClockSetAutoAdvance(1);
    DpyUseHeadless();
    DpyClearInput();
    FlushEvents(everyEvent, 0);
    ProcessResetTable();
    SetSystemScriptForLanguage('E');
    mAppRes = OpenApplicationResFile(FindApplicationResourceFile());
    ASSERT_NE(-1, mAppRes);
    mStandIns = OpenResFilePath(WX_STAND_IN_RESOURCES, fsRdPerm);
    ASSERT_NE(-1, mStandIns);
    SelectLanguageFromResources();
    Configure("Dremlo Model A");
  }

  void TearDown() override {
    wxframework::ClearDialogActions();
    delete mApp;
    mApp = nullptr;
    URegistrar::UnregisterAll();
    if (mStandIns != -1) CloseResFile(mStandIns);
    if (mAppRes != -1) CloseResFile(mAppRes);
    DpyClearInput();
    FlushEvents(everyEvent, 0);
    ClockSetAutoAdvance(0);
    ClockUseReal();
    unsetenv("WENDRIX_ROOT");
  }

  // Stores the scanner model (a TWAIN one), with the film-adapter check already done.
  void Configure(const char* model, UInt8 checkDone = 1) {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    RecordBytes setting = PREF_ALL::kSetting.in(prefs.PrefAll());
    Str255 name;
    PStrFromString(model, name);
    PREF_SETTING::kModelName.set(setting, name);
    PREF_SETTING::kTWAIN.set(setting, 1);
    PREF_SETTING::kCheckDone.set(setting, checkDone);
  }

  // The application object, started by the open-application event as at a launch.
  void Start() {
    mApp = new CAppearanceApp(StandInClasses());
    SendEvent(kAEOpenApplication, ae_OpenApp);
  }

  void SendEvent(AEEventID id, SInt32 number) {
    AppleEvent event;
    AEInitializeDesc(&event);
    ProcessSerialNumber me{0, kCurrentProcess};
    AEDesc target;
    AECreateDesc(typeProcessSerialNumber, &me, sizeof me, &target);
    AECreateAppleEvent(kCoreEventClass, id, &target, kAutoGenerateReturnID, kAnyTransactionID, &event);
    AEDesc reply, result;
    AEInitializeDesc(&reply);
    AEInitializeDesc(&result);
    mApp->HandleAppleEvent(event, reply, result, number);
    AEDisposeDesc(&target);
    AEDisposeDesc(&event);
  }

  CMainWindow* Window() const { return CAppearanceApp::sMainWindow; }

  // A fresh read of the preferences file.
  template <class F>
  void WithPrefs(F f) {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    f(prefs.PrefAll());
  }

  std::filesystem::path PrefsFile() {
    std::string folder;
    FindFolderPath(kOnSystemDisk, kPreferencesFolderType, kCreateFolder, &folder);
    return std::filesystem::path(folder) / std::string(reinterpret_cast<const char*>(PREFS_FILE_NAME + 1),
                                                       PREFS_FILE_NAME[0]);
  }

  wxtest::ScratchDir mRoot;
  CAppearanceApp* mApp = nullptr;
  SInt16 mAppRes = -1;
  SInt16 mStandIns = -1;
};

}  // namespace wxapp
