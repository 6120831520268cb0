// The fixture of the runs, from the SANE test device, of a dialog that hands its files to an
// application: programs standing for the application and the folder opener record what they
// are given, one line a run; the dialog's own classes are registered and it is found again by
// its class.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/CCicnButton.h"
#include "app/CEditText.h"
#include "app/CPopupButton.h"
#include "prefs/CPreferences.h"
#include "prefs/LanguageTables.h"
#include "appservices/Processes.h"
#include "framework/FrameworkDriver.h"
#include "framework/LThread.h"
#include "framework/LWindow.h"
#include "framework/TRegistrar.h"
#include "framework/URegistrar.h"
#include "output/hub/WXDialogFlags.h"
#include "output/hubdialogs/CFileNameAddDialog.h"
#include "output/hubdialogs/CFileNameAddPopup.h"
#include "scanner/CTWAIN.h"
#include "support/TestEnv.h"
#include "tests/support/HeadlessApp.h"
#include "toolbox/Gestalt.h"
#include "toolbox/TextUtils.h"
#include "windows/MacWindows.h"

namespace wxsane {

template <class Box>
class HandOnRun : public wxtest::HeadlessApp {
 protected:
  // `application`: the recording program below mRoot; `rounds`: the turns of the main loop a
  // run may take before it counts as never ending.
  HandOnRun(const char* application, int rounds) : mApplication(application), mRounds(rounds) {}

  void SetUp() override {
    setenv("WENDRIX_ROOT", mRoot.path().c_str(), 1);
    std::filesystem::create_directories(mOut);
    std::filesystem::create_directories(mRoot / "apps");
    for (const char* name : {mApplication, "opener"}) {
      const std::filesystem::path program = mRoot / name;
      std::ofstream(program) << "#!/bin/sh\n(IFS='|'; echo \"$*\") >> '" << program.string() << ".log'\n";
      std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    }
    setenv("WX_OPENER", (mRoot / "opener").c_str(), 1);
    ProcessResetTable();
    wxtest::HeadlessApp::SetUp();
    SelectLanguageFromResources();
    CTWAIN::SetApplicationHost(mApp);
  }
  void TearDown() override {
    if (Dialog()) delete Dialog();
    wxframework::ClearDialogActions();
    GestaltReset();
    CTWAIN::SetApplicationHost(nullptr);
    CWXUtility::sIsQuellaneOpened = 0;
    wxtest::HeadlessApp::TearDown();
    ProcessResetTable();
    unsetenv("WX_OPENER");
    unsetenv("WENDRIX_ROOT");
  }
  void RegisterClasses() override {
    RegisterClass_(Box);
    RegisterClass_(CPopupButton);
    RegisterClass_(CEditText);
    RegisterClass_(CCicnButton);
    RegisterClass_(CFileNameAddPopup);
    RegisterClass_(CFileNameAddDialog);
  }

  // The open dialog, or null once it has closed.
  static Box* Dialog() {
    for (WindowRef w = GetWindowList(); w; w = GetNextWindow(w))
      if (auto* dialog = dynamic_cast<Box*>(LWindow::FetchWindowObject(w))) return dialog;
    return nullptr;
  }
  // Runs the main loop until the scan has ended and been written.
  void RunToTheEnd() {
    ASSERT_EQ(CWXUtility::sIsQuellaneOpened, 1) << "the scan did not start";
    for (int i = 0; i < mRounds && CWXUtility::sIsQuellaneOpened == 1; ++i) {
      mApp->ProcessNextEvent();
      LThread::Yield();
    }
    ASSERT_EQ(CWXUtility::sIsQuellaneOpened, 0) << "the scan never ended";
    ProcessRunPendingLaunches();
  }
  // The record's lines once `lines` have arrived (the programs run detached).
  std::vector<std::string> Lines(const char* program, size_t lines) {
    std::vector<std::string> out;
    for (int i = 0; i < 300; ++i) {
      out.clear();
      std::ifstream in(mRoot / (std::string(program) + ".log"));
      std::string line;
      while (std::getline(in, line)) out.push_back(line);
      if (out.size() >= lines) break;
      usleep(10000);
    }
    return out;
  }
  std::vector<std::filesystem::path> Written() {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(mOut)) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
  }
  // The settings name `model` as the scanner.
  static void SetModel(const char* model) {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    Str255 text;
    PStrFromString(model, text);
    PREF_SETTING::kModelName.set(PREF_ALL::kSetting.in(prefs.PrefAll()), text);
  }
  // Starts the open dialog's run and removes the application: the file is still written and
  // the dialog stays, usable.
  void ExpectTheRunOutlivesItsApplication(Box* dialog) {
    dialog->ListenToMessage(msg_OK, nullptr);
    std::filesystem::remove(mRoot / mApplication);
    RunToTheEnd();
    EXPECT_EQ(Written().size(), 1u);
    ASSERT_EQ(Dialog(), dialog);
    EXPECT_TRUE(dialog->IsVisible());
    EXPECT_TRUE(dialog->IsEnabled());
  }
  // Starts the open dialog's run, which cannot start: after the alert the dialog is back, usable.
  void ExpectTheStartRefusedWithTheDialogBack(Box* dialog) {
    wxframework::AnswerNextDialog(msg_OK);  // the scan entry's alert
    dialog->ListenToMessage(msg_OK, nullptr);
    EXPECT_FALSE(wxframework::HasDialogActions());
    EXPECT_EQ(CWXUtility::sIsQuellaneOpened, 0);
    EXPECT_TRUE(dialog->IsEnabled());
    EXPECT_TRUE(dialog->IsVisible());
  }

  wxtest::ScratchDir mRoot;
  std::filesystem::path mOut = mRoot / "out";

 private:
  const char* mApplication;
  int mRounds;
};

}  // namespace wxsane
