#include "app/CMainWindow.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "AppTestEnv.h"
#include "app/CEditableCaption.h"
#include "appservices/AppleHelp.h"
#include "toolbox/FolderLocations.h"
#include "windows/MacWindows.h"
#include "windows/TestDriver.h"

namespace wxapp {
namespace {

using namespace wxframework;

class MainWindowTest : public AppTest {
 protected:
  void StartSelected() {
    Start();
    Window()->Select();
  }
  // Types a new name into a caption through its in-place field.
  void Rename(PaneIDT caption, const std::string& name) {
    wxdriver::Click(Centre(Window()->FindPaneByID(caption)));
    PumpEvents();
    wxdriver::Key('a', 0, cmdKey);
    wxdriver::Type(name);
    PumpEvents();
  }
  std::string StoredName(const PrefSub<PREF_SCANX>& record) {
    Str255 name;
    WithPrefs([&](RecordBytes all) { PREF_SCANX::kButtonName.get(record.in(all), name); });
    return PStrToString(name);
  }
  std::pair<SInt16, SInt16> StoredPosition() {
    std::pair<SInt16, SInt16> p;
    WithPrefs([&](RecordBytes all) { p = {PREF_ALL::kWindowTop.get(all), PREF_ALL::kWindowLeft.get(all)}; });
    return p;
  }
};

TEST_F(MainWindowTest, QuittingThroughTheCloseBoxStoresPositionAndNames) {
  StartSelected();
  MoveWindow(Window()->GetMacWindow(), 40, 100, false);
  Rename('Sc1c', "Photos");
  Rename('Sc2c', "Fax");
  wxdriver::Click(Centre(Window()->FindPaneByID('Wcls')));
  PumpEvents();
  EXPECT_EQ(programState_Quitting, mApp->GetState());
  EXPECT_EQ(std::make_pair(SInt16(100), SInt16(40)), StoredPosition());
  EXPECT_EQ("Photos", StoredName(PREF_ALL::kScan1));
  EXPECT_EQ("Fax", StoredName(PREF_ALL::kScan2));
}

TEST_F(MainWindowTest, ACaptionEditIsStoredBeforeTheNextMessage) {
  StartSelected();
  Rename('Sc2c', "Fax");
  EXPECT_NE("Fax", StoredName(PREF_ALL::kScan2)) << "not before a message";
  wxdriver::Click(Centre(Window()->FindPaneByID('SAVE')));
  PumpEvents();
  ASSERT_EQ(1u, CStandInDialog::Made().size());
  EXPECT_EQ("Fax", StoredName(PREF_ALL::kScan2));
  delete CStandInDialog::Made().front();
}

TEST_F(MainWindowTest, QuittingWithADialogOpenLosesNothing) {
  StartSelected();
  Window()->ListenToMessage('SCN1', nullptr);
  ASSERT_EQ(1u, CStandInDialog::Made().size());
  MoveWindow(Window()->GetMacWindow(), 60, 120, false);
  Window()->SetScan1ButtonName(reinterpret_cast<ConstStr255Param>("\x04" "Docs"));
  mApp->ProcessCommand(cmd_Quit);
  EXPECT_EQ(programState_Quitting, mApp->GetState());
  // The dialog goes last, writing its older copy of the record.
  delete CStandInDialog::Made().front();
  EXPECT_EQ(std::make_pair(SInt16(120), SInt16(60)), StoredPosition());
  EXPECT_EQ("Docs", StoredName(PREF_ALL::kScan1));
}

TEST_F(MainWindowTest, TheCloseCommandQuits) {
  StartSelected();
  Window()->ProcessCommand(cmd_Close);
  EXPECT_EQ(programState_Quitting, mApp->GetState());
}

TEST_F(MainWindowTest, CaptionsTakeEightPrintingCharactersAndOnlyTheScanNamesEdit) {
  StartSelected();
  Rename('Sc1c', "Holidays 2026\r");
  wxdriver::Click(Centre(Window()->FindPaneByID('Wttl')));
  PumpEvents();
  auto* scan1 = dynamic_cast<CEditableCaption*>(Window()->FindPaneByID('Sc1c'));
  ASSERT_NE(nullptr, scan1);
  Str255 text;
  scan1->GetCurrentText(text);
  EXPECT_EQ("Holidays", PStrToString(text));
  EXPECT_EQ(nullptr, scan1->GetEditField()) << "a click elsewhere ends the editing";
  auto* copy = dynamic_cast<CEditableCaption*>(Window()->FindPaneByID('Cpyc'));
  wxdriver::Click(Centre(copy));
  PumpEvents();
  EXPECT_EQ(nullptr, copy->GetEditField());
}

TEST_F(MainWindowTest, DoubleClickOnTheTitleCollapsesAndExpands) {
  StartSelected();
  const Point title = Centre(Window()->FindPaneByID('Wttl'));
  const Point onCaption = Centre(Window()->FindPaneByID('Wcap'));
  wxdriver::Click(title);
  PumpEvents();
  EXPECT_FALSE(IsWindowCollapsed(Window()->GetMacWindow())) << "a single click does not collapse";
  wxdriver::AdvanceTicks(100);
  wxdriver::Click(onCaption);
  wxdriver::Click(onCaption);
  PumpEvents();
  EXPECT_TRUE(IsWindowCollapsed(Window()->GetMacWindow()));
  wxdriver::AdvanceTicks(100);
  wxdriver::Click(onCaption);
  wxdriver::Click(onCaption);
  PumpEvents();
  EXPECT_FALSE(IsWindowCollapsed(Window()->GetMacWindow()));
}

TEST_F(MainWindowTest, DisableWindowCoversTheButtons) {
  StartSelected();
  Window()->DisableWindow();
  wxdriver::Click(Centre(Window()->FindPaneByID('COPY')));
  PumpEvents();
  EXPECT_TRUE(CStandInDialog::Made().empty());
  Window()->EnableWindow();
  wxdriver::Click(Centre(Window()->FindPaneByID('COPY')));
  PumpEvents();
  ASSERT_EQ(1u, CStandInDialog::Made().size());
  delete CStandInDialog::Made().front();
}

}  // namespace
}  // namespace wxapp

namespace wxapp {
namespace {

class HelpTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    AHForgetHelpBooks();
    std::ofstream(mRoot.path() / "opener") << "#!/bin/sh\necho \"$1\" >> '" << (mRoot.path() / "opened.txt").string()
                                            << "'\n";
    std::filesystem::permissions(mRoot.path() / "opener", std::filesystem::perms::owner_all);
    setenv("WX_OPENER", (mRoot.path() / "opener").c_str(), 1);
  }
  void TearDown() override {
    unsetenv("WX_OPENER");
    FolderSetInstallPrefix("");
    AHForgetHelpBooks();
    MainWindowTest::TearDown();
  }
  // The help pages of the build's language in a runtime tree of the test's own.
  void WriteHelp() {
    FolderSetInstallPrefix(mTree.path().string());
    const std::filesystem::path folder = mTree / "share/wendrix/help" / std::string(1, LanguageLetter());
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "index.html") << "<html>help</html>";
  }
  std::string Opened() {
    for (int i = 0; i < 300; ++i) {
      std::ifstream in(mRoot.path() / "opened.txt");
      std::string line;
      if (std::getline(in, line)) return line;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return "";
  }
  wxtest::ScratchDir mTree;
};

TEST_F(HelpTest, TheHelpPagesEnableTheButtonAndAClickOpensThem) {
  WriteHelp();
  StartSelected();
  LPane* help = Window()->FindPaneByID('Whlp');
  ASSERT_TRUE(help->IsEnabled());
  wxdriver::Click(Centre(help));
  PumpEvents();
  EXPECT_EQ("file://" + (mTree / "share/wendrix/help" / std::string(1, LanguageLetter()) / "index.html").string(), Opened());
}

TEST_F(HelpTest, WithoutTheHelpPagesTheButtonIsDisabled) {
  FolderSetInstallPrefix(mTree.path().string());
  StartSelected();
  EXPECT_FALSE(Window()->FindPaneByID('Whlp')->IsEnabled());
}

TEST_F(HelpTest, AModelWithoutAHelpBookOfItsOwnStillHasTheHelp) {
  WriteHelp();
  Configure("");
  StartSelected();
  EXPECT_TRUE(Window()->FindPaneByID('Whlp')->IsEnabled());
}

}  // namespace
}  // namespace wxapp
