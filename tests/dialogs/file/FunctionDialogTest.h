// The fixture of the tests that drive one function dialog of this folder in a headless
// application: the preferences file edited before the dialog opens and read after it closes,
// and the dialog's panes worked as the user would.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "prefs/CPreferences.h"
#include "prefs/LanguageTables.h"
#include "framework/FrameworkDriver.h"
#include "framework/LControl.h"
#include "framework/LEditText.h"
#include "framework/LPopupButton.h"
#include "framework/LWindow.h"
#include "output/hub/WXDialogFlags.h"
#include "support/TestEnv.h"
#include "tests/support/HeadlessApp.h"
#include "toolbox/Files.h"
#include "toolbox/Resources.h"
#include "toolbox/TextUtils.h"

namespace wxtest {

template <class Box>
class FunctionDialogTest : public HeadlessApp {
 protected:
  void SetUp() override {
    setenv("WENDRIX_ROOT", mRoot.path().c_str(), 1);
    HeadlessApp::SetUp();
    SelectLanguageFromResources();
  }
  void TearDown() override {
    delete mDialog;
    wxframework::ClearDialogActions();
    CWXUtility::sIsQuellaneOpened = 0;
    HeadlessApp::TearDown();
    unsetenv("WENDRIX_ROOT");
  }

  static FSSpec Spec(const std::filesystem::path& path) {
    FSSpec spec{};
    FSpMakeFromPOSIXPath(path.string(), &spec);
    return spec;
  }
  static std::string ListItem(SInt16 list, SInt16 index) {
    Str255 text;
    GetIndString(text, list, index);
    return PStrToString(text);
  }
  // A program below mRoot/apps that does nothing.
  std::filesystem::path Application(const char* name) {
    std::filesystem::create_directories(mRoot.path() / "apps");
    const std::filesystem::path program = mRoot.path() / "apps" / name;
    std::ofstream(program) << "#!/bin/sh\nexit 0\n";
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    return program;
  }

  template <class F>
  void Edit(F f) {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    f(prefs.PrefAll());
  }
  std::vector<uint8_t> FileBytes() {
    CPreferences prefs(PREFS_FILE_NAME, 0);
    RecordBytes all = prefs.PrefAll();
    return std::vector<uint8_t>(all.data(), all.data() + all.size());
  }
  // Every byte of the file outside the record at `offset` is as before.
  void ExpectOnlyTheRecordChanged(const std::vector<uint8_t>& before, size_t offset, size_t size) {
    const std::vector<uint8_t> after = FileBytes();
    ASSERT_EQ(before.size(), after.size());
    for (size_t i = 0; i < before.size(); ++i) {
      if (i < offset || i >= offset + size) {
        ASSERT_EQ(before[i], after[i]) << "byte " << i;
      }
    }
  }

  Box* Open(ResIDT layout) {
    mDialog = dynamic_cast<Box*>(LWindow::CreateWindow(layout, mApp));
    if (!mDialog) throw std::runtime_error("layout " + std::to_string(layout) + " made no such dialog");
    return mDialog;
  }
  // Closes the dialog as its owner does, so that its record reaches the file.
  void Close() {
    delete mDialog;
    mDialog = nullptr;
  }
  void Send(MessageT message, void* param = nullptr) { mDialog->ListenToMessage(message, param); }

  template <class T = LControl>
  T* Pane(PaneIDT id) const {
    auto* pane = dynamic_cast<T*>(mDialog->FindPaneByID(id));
    if (!pane) throw std::runtime_error("missing pane");
    return pane;
  }
  LPopupButton* Popup(PaneIDT id) const { return Pane<LPopupButton>(id); }
  // The user's choice: the control broadcasts it to the dialog.
  void Choose(PaneIDT id, SInt32 value) { Pane(id)->SetValue(value); }
  UInt32 Word(size_t offset) { return mDialog->Working().u32(offset); }
  std::string Text(PaneIDT id) const {
    Str255 text;
    mDialog->FindPaneByID(id)->GetDescriptor(text);
    return PStrToString(text);
  }
  void SetName(const std::string& name) {
    Str255 text;
    PStrFromString(name, text);
    Pane<LEditText>('FNAM')->SetDescriptor(text);
  }
  // Reads the open alert's message, then answers it.
  void AnswerAlert(std::vector<std::string>* alerts, MessageT answer = msg_OK) {
    wxframework::QueueDialogAction(
        [alerts](LWindow* dialog) { alerts->push_back(wxframework::PaneText(dialog, 'TXMS')); });
    wxframework::AnswerNextDialog(answer);
  }

  // Each unusable name stops the start with its own alert: nothing scans and the file keeps
  // every byte. `open` opens the dialog.
  template <class OpenFn>
  void ExpectBadNamesStopTheStart(OpenFn open) {
    const struct {
      const char* what;
      const char* name;
      SInt16 alert;
    } rows[] = {
        {"a slash", "a/b", 14},
        {"longer than 20", "abcdefghijklmnopqrstu", 15},
        {"empty", "", 16},
        {"a leading period", ".hidden", 30},
    };
    for (const auto& row : rows) {
      SCOPED_TRACE(row.what);
      const std::vector<uint8_t> before = FileBytes();
      open();
      SetName(row.name);
      std::vector<std::string> alerts;
      AnswerAlert(&alerts);
      Send(msg_OK);
      EXPECT_EQ(alerts, std::vector<std::string>{ListItem(400, row.alert)});
      EXPECT_EQ(CWXUtility::sIsQuellaneOpened, 0);
      Close();
      EXPECT_EQ(FileBytes(), before);
    }
  }

  ScratchDir mRoot;
  Box* mDialog = nullptr;
};

}  // namespace wxtest
