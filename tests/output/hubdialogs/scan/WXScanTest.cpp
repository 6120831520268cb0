#include "output/hubdialogs/WXScan.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "prefs/LanguageTables.h"
#include "framework/FrameworkDriver.h"
#include "framework/LListener.h"
#include "framework/LThread.h"
#include "framework/LWindow.h"
#include "tests/output/DialogTestEnv.h"
#include "platform/twain/fake/FakeScript.h"
#include "scanner/CThreadChecker.h"
#include "scanner/CTWAIN.h"
#include "scanner/ScanTestSupport.h"
#include "scanner/Scanner.h"
#include "support/TestEnv.h"
#include "toolbox/Folders.h"
#include "toolbox/MacMemory.h"
#include "toolbox/Resources.h"
#include "toolbox/TextUtils.h"
#include "tests/scanner/TestPlugIn.h"

namespace {

namespace fs = std::filesystem;
using namespace wxframework;

// Counts the scan-end messages and remembers the watcher that sent them.
struct EndListener : LListener {
  void ListenToMessage(MessageT message, void* param) override {
    if (message != msg_ScanEnded) return;
    ++ends;
    checker = static_cast<CThreadChecker*>(param);
  }
  int ends = 0;
  CThreadChecker* checker = nullptr;
};

// A connection whose acquisition never starts.
struct NoStartTWAIN : CTWAIN {
  long Scan() override { return 0; }
};

class ScanEntryTest : public wxtest::DialogTest {
 protected:
  void SetUp() override {
    wxfake::UseFakeSource();
    DialogTest::SetUp();
    SelectLanguage(reinterpret_cast<ConstStr255Param>("\x01" "E"));
    CTWAIN::SetApplicationHost(mApp);
    FolderSetApplicationDir(mAppDir.path().string());
    fs::create_directories(mAppDir / "Plug-Ins");
    setenv("WX_TEST_PLUGIN", (mAppDir / "plugin.txt").c_str(), 1);
    std::ofstream(mAppDir / "plugin.txt") << "pages=2\nheight=9\nbandrows=4\nmode=1\nwidth=24\n";
  }
  void TearDown() override {
    FolderSetApplicationDir("");
    DialogTest::TearDown();
  }


  // Runs the scan entry with the settings every case shares; the alert it shows, if any, is
  // answered and its text kept in mAlertText.
  long Import(unsigned char isTWAIN, CThreadChecker* checker, const char* driver) {
    mAlertText.clear();
    QueueDialogAction([this](LWindow* dialog) { mAlertText = PaneText(dialog, 'TXMS'); });
    AnswerNextDialog(900);
    Str255 name;
    PStrFromString(driver, name);
    long result = CWXUtility::ImportFromDevice(5, isTWAIN, checker, name, SDimension16{0, 0}, 'JPEG', 1, 2, 0,
                                               Paper_Size_A4, 50, mApp, 4, 0);
    if (mAlertText.empty()) ClearDialogActions();
    return result;
  }

  void Pass() {
    mApp->ProcessNextEvent();
    LThread::Yield();
  }

  wxtest::ScratchDir mAppDir, mTemp, mScripts;
  std::string mAlertText;
};

TEST_F(ScanEntryTest, PlugInScanIsAnnouncedOnTheFirstPassAfterTheEntry) {
  InstallPlugIn(mAppDir.path(), "Test Scanner");
  Scanner scanner;
  scanner.SetTempFolder(wxscan::FolderSpec(mTemp.path()));
  EndListener dialog;
  CThreadChecker checker(nullptr, &scanner);
  checker.AddListener(&dialog);
  EXPECT_EQ(1, Import(0, &checker, "Test Scanner"));
  EXPECT_EQ("", mAlertText);
  EXPECT_EQ(0, dialog.ends);
  Pass();
  EXPECT_EQ(1, dialog.ends);
  EXPECT_EQ(&checker, dialog.checker);
  for (int i = 0; i < 5; ++i) Pass();
  EXPECT_EQ(1, dialog.ends) << "a watcher announces its scan once";
  EXPECT_EQ(2, scanner.GetImageCount());
  EXPECT_EQ(2u, wxscan::FilesIn(mTemp.path()));

  // One page already gone does not stop the deletion of the others.
  FSSpec first = (*scanner.GetTempFileArray())[1];
  ASSERT_EQ(noErr, FSpDelete(&first));
  CWXUtility::DeleteAllTempFile(&checker);
  EXPECT_EQ(0u, wxscan::FilesIn(mTemp.path()));
  checker.DataInitialize();
  EXPECT_EQ(0, scanner.GetImageCount());
}

TEST_F(ScanEntryTest, FailuresShowTheirItemAndReturnZero) {
  wxfake::WriteFakeScript(mScripts.path(), "pages=1\nwidth=8\nheight=4\ndepth=8");
  enum Watched { kPlugIn, kTWAIN, kTWAINThatDoesNotStart, kNothing };
  struct Case {
    const char* name;
    Watched watched;
    unsigned char isTWAIN;
    const char* driver;
    SInt16 item;
  } cases[] = {
      {"a source that does not exist", kTWAIN, 1, "No Such Scanner", 6},
      {"a watcher without a connection", kPlugIn, 1, "Fake Scanner", 6},
      {"a watcher without a plug-in host", kTWAIN, 0, "Test Scanner", 6},
      {"no watcher at all", kNothing, 1, "Fake Scanner", 6},
      {"a plug-in that is not installed", kPlugIn, 0, "Missing Scanner", 6},
      {"an acquisition that does not start", kTWAINThatDoesNotStart, 1, "Fake Scanner", 3},
      {"no scanner chosen, through a source", kTWAIN, 1, "", 50},
      {"no scanner chosen, through a plug-in", kPlugIn, 0, "", 50},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Scanner scanner;
    CTWAIN twain;
    NoStartTWAIN noStart;
    std::unique_ptr<CThreadChecker> checker;
    if (c.watched == kPlugIn) checker = std::make_unique<CThreadChecker>(nullptr, &scanner);
    if (c.watched == kTWAIN) checker = std::make_unique<CThreadChecker>(nullptr, &twain);
    if (c.watched == kTWAINThatDoesNotStart) checker = std::make_unique<CThreadChecker>(nullptr, &noStart);
    EXPECT_EQ(0, Import(c.isTWAIN, checker.get(), c.driver));
    EXPECT_EQ(wxtest::ResourceText(400, c.item), mAlertText);
  }
}

// The check made before a scan that does not go through the entry names the same items.
TEST_F(ScanEntryTest, SourceOpenFaultNamesTheEntrysItems) {
  wxfake::WriteFakeScript(mScripts.path(), "pages=1\nwidth=8\nheight=4\ndepth=8");
  const struct {
    const char* driver;
    SInt32 item;
  } cases[] = {{"", 50}, {"No Such Scanner", 6}, {"Fake Scanner", 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.driver);
    Str255 name;
    PStrFromString(c.driver, name);
    EXPECT_EQ(c.item, CWXUtility::SourceOpenFault(name));
  }
}

TEST_F(ScanEntryTest, FakeSourceScanEndsOnceWithItsPages) {
  wxfake::WriteFakeScript(mScripts.path(), "pages=2\nwidth=8\nheight=4\ndepth=8");
  CTWAIN twain;
  twain.SetTempFolder(wxscan::FolderSpec(mTemp.path()));
  EndListener dialog;
  CThreadChecker checker(nullptr, &twain);
  checker.AddListener(&dialog);
  EXPECT_EQ(1, Import(1, &checker, "Fake Scanner"));
  for (int i = 0; i < 100 && dialog.ends == 0; ++i) Pass();
  for (int i = 0; i < 5; ++i) Pass();
  EXPECT_EQ(1, dialog.ends);
  EXPECT_EQ(2, twain.GetImageCount());
  EXPECT_EQ(2, twain.GetTempFileArray()->GetCount());
  CWXUtility::DeleteAllTempFile(&checker);
  EXPECT_EQ(0u, wxscan::FilesIn(mTemp.path()));
}

TEST_F(ScanEntryTest, ProductIDAndButtonCountByModel) {
  InstallPlugIn(mAppDir.path(), "Test Scanner");
  std::unique_ptr<TArray<FSSpec>> plugIns(Scanner::GetPlugIns());
  ASSERT_TRUE(plugIns);
  struct Case {
    unsigned char isTWAIN;
    const char* model;
    bool withList;
    long productID;
    long buttons;
  } cases[] = {
      {1, "Dremlo Model A", true, 0x1200, 7}, {1, "Dremlo Model B", true, 0x1230, 7},
      {1, "Dremlo Model C", true, 0x1250, 7}, {1, "Dremlo Model D", true, 0x1240, 4},
      {1, "dremlo model a", true, 0, 4},      {1, "Other Scanner", false, 0, 4},
      {0, "Test Scanner", true, 0x0820, 0},   {0, "Test Scanner", false, 0, 0},
      {0, "Dremlo Model A", true, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.model);
    Str255 name;
    PStrFromString(c.model, name);
    const TArray<FSSpec>* list = c.withList ? plugIns.get() : nullptr;
    EXPECT_EQ(c.productID, CWXUtility::GetDriverVersion(c.isTWAIN, list, nullptr, name));
    EXPECT_EQ(c.buttons, CWXUtility::GetScannerButtonNum(c.isTWAIN, list, nullptr, name));
  }
}

}  // namespace
