// The scan-information window built from its layouts and filled from File records: the
// texts come from the application's menus and tab titles, whatever the build's language.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/wendrix/DialogClasses.h"
#include "dialogs/file/CScanInfoWindow.h"
#include "display/Display.h"
#include "framework/LException.h"
#include "framework/LTabsControl.h"
#include "framework/TRegistrar.h"
#include "framework/URegistrar.h"
#include "framework/UTextTraits.h"
#include "output/hub/WXDialogFlags.h"
#include "quickdraw/QuickDrawText.h"
#include "support/TestEnv.h"
#include "support/WindowScreenshot.h"
#include "support/Xvfb.h"
#include "tests/output/DialogTestEnv.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"
#include "toolbox/TextUtils.h"
#include "windows/Menus.h"

namespace {

constexpr SInt16 kNoTabLayout = 803;

class ScanInfoWindow : public wxtest::HeadlessApp {
 protected:
  void RegisterClasses() override { RegisterClass_(CScanInfoWindow); }
  void TearDown() override {
    delete mWindow;
    CWXUtility::sIsQuellaneOpened = 0;
    wxtest::HeadlessApp::TearDown();
  }

  // The window of the tab's layout, filled from `record` as the File dialog fills it.
  CScanInfoWindow* Open(PREF_FILE& record) {
    const UInt32 tab = PREF_FILE::kCurrentTab.get(record.view());
    const SInt16 layout = (tab >= 1 && tab <= 3) ? SInt16(800 + tab - 1) : kNoTabLayout;
    mWindow = dynamic_cast<CScanInfoWindow*>(LWindow::CreateWindow(layout, mApp));
    if (!mWindow) throw std::runtime_error("layout " + std::to_string(layout) + " made no scan-information window");
    mWindow->SetDisplayData(&record, &record, &record, &record, &record);
    return mWindow;
  }

  std::string Text(PaneIDT id) const {
    Str255 text;
    mWindow->FindPaneByID(id)->GetDescriptor(text);
    return PStrToString(text);
  }
  std::string Title() const {
    Str255 text;
    mWindow->GetDescriptor(text);
    return PStrToString(text);
  }
  bool Enabled(PaneIDT id) const { return mWindow->FindPaneByID(id)->IsEnabled(); }

  CScanInfoWindow* mWindow = nullptr;
};

std::string MenuItem(SInt16 menuID, UInt16 item) {
  MenuRef menu = GetMenu(menuID);
  if (!menu) throw std::runtime_error("no menu " + std::to_string(menuID));
  Str255 text;
  GetMenuItemText(menu, item, text);
  return PStrToString(text);
}

PREF_FILE Record(UInt32 tab, UInt32 mode, UInt32 resolution, UInt32 size, UInt32 fileType) {
  PREF_FILE record;
  RecordBytes r = record.view();
  PREF_FILE::kCurrentTab.set(r, tab);
  PREF_FILE::kSetting4.set(r, mode);
  PREF_FILE::kSetting8.set(r, resolution);
  PREF_FILE::kPaperSize.set(r, size);
  PREF_FILE::kSetting16.set(r, fileType);
  Str255 name;
  PStrFromString("Receipts", name);
  PREF_FILE::kDefaultFileName.set(r, name);
  PStrFromString("Ledger", name);
  PREF_FILE::kFileName.set(r, name);
  return record;
}

FSSpec SpecOf(const std::filesystem::path& path) {
  FSSpec spec{};
  if (FSpMakeFromPOSIXPath(path.string(), &spec) != noErr) throw std::runtime_error("no FSSpec for " + path.string());
  return spec;
}

// ---- The scan-mode item of each code, by menu kind -------------------------------------

struct ScanModeRow {
  long kind;
  SInt16 items[8];  // by code 0..7
};

TEST(ScanInfoScanMode, ItemOfEachCodeByMenuKind) {
  const ScanModeRow rows[] = {
      {1, {0, 0, 0, 1, 2, 3, 4, 0}},
      {2, {0, 1, 2, 0, 0, 0, 0, 3}},
      {0, {0, 1, 2, 4, 5, 6, 7, 3}},
      {3, {0, 1, 2, 4, 5, 6, 7, 3}},
  };
  for (const ScanModeRow& row : rows)
    for (long code = 0; code <= 7; ++code)
      EXPECT_EQ(CScanInfoWindow::GetPopupScanMode(row.kind, code), row.items[code])
          << "kind " << row.kind << ", code " << code;
  EXPECT_EQ(CScanInfoWindow::GetPopupScanMode(0, 8), 0);
  EXPECT_EQ(CScanInfoWindow::GetPopupScanMode(1, -1), 0);
}

// ---- Panes by tab and image mode -------------------------------------------------------

struct PaneRow {
  UInt32 tab;
  UInt32 mode;
  SInt16 modeMenu;
  UInt16 modeItem;  // 0: the pane is empty
  bool sizeEnabled;
};

TEST_F(ScanInfoWindow, PanesFollowTheTabAndTheImageMode) {
  const PaneRow rows[] = {
      {0, 1, 5003, 1, true},  {0, 7, 5003, 3, true},  {0, 3, 5003, 4, true},  {0, 5, 5003, 6, false},
      {0, 6, 5003, 7, false}, {1, 3, 5001, 1, true},  {1, 5, 5001, 3, false}, {1, 6, 5001, 4, false},
      {1, 1, 5001, 0, true},  {2, 1, 5002, 1, true},  {2, 7, 5002, 3, true},  {2, 5, 5002, 0, true},
      {2, 6, 5002, 0, true},  {3, 4, 5003, 5, true},  {3, 5, 5003, 6, false}, {3, 9, 5003, 0, true},
  };
  for (const PaneRow& row : rows) {
    SCOPED_TRACE("tab " + std::to_string(row.tab) + ", mode " + std::to_string(row.mode));
    PREF_FILE record = Record(row.tab, row.mode, 0x00070005, 0xFFFF0002, 1);
    Open(record);
    EXPECT_EQ(Text(100), row.modeItem ? MenuItem(row.modeMenu, row.modeItem) : "");
    EXPECT_EQ(Text(101), MenuItem(5004, 5)) << "the low 16 bits name the item";
    EXPECT_EQ(Text(102), MenuItem(5005, 2));
    EXPECT_EQ(Text(104), MenuItem(5006, 1));
    EXPECT_EQ(Text(103), "Receipts");
    EXPECT_EQ(Enabled(102), row.sizeEnabled);
    EXPECT_EQ(Enabled(202), row.sizeEnabled);
    delete mWindow;
    mWindow = nullptr;
  }
}

TEST_F(ScanInfoWindow, EnglishTexts) {
  if (wxtest::BuildLanguage() != 'E') GTEST_SKIP() << "exact texts are English";
  PREF_FILE record = Record(0, 2, 5, 1, 2);
  Open(record);
  EXPECT_EQ(Title(), "Scan Information");
  EXPECT_EQ(Text(100), "Greyscale");
  EXPECT_EQ(Text(101), "300 dpi");
  EXPECT_EQ(Text(102), "A4");
  EXPECT_EQ(Text(104), "Multi-page PDF");
}

// ---- Titles ----------------------------------------------------------------------------

TEST_F(ScanInfoWindow, ATabTakesItsTitleAndNoTabKeepsTheLayouts) {
  const std::vector<std::string> titles = LTabsControl::ReadTabTitles(5100);
  ASSERT_EQ(titles.size(), 3u);
  for (UInt32 tab = 1; tab <= 3; ++tab) {
    PREF_FILE record = Record(tab, 3, 1, 1, 1);
    Open(record);
    EXPECT_EQ(Title(), titles[tab - 1]) << "tab " << tab;
    delete mWindow;
    mWindow = nullptr;
  }
  PREF_FILE record = Record(0, 3, 1, 1, 1);
  LWindow* plain = LWindow::CreateWindow(kNoTabLayout, mApp);
  Str255 layoutTitle;
  plain->GetDescriptor(layoutTitle);
  delete plain;
  Open(record);
  EXPECT_EQ(Title(), PStrToString(layoutTitle));
}

TEST_F(ScanInfoWindow, AnotherTabValueShowsNothing) {
  PREF_FILE record = Record(4, 3, 1, 1, 1);
  mWindow = dynamic_cast<CScanInfoWindow*>(LWindow::CreateWindow(kNoTabLayout, mApp));
  ASSERT_NE(mWindow, nullptr);
  Str255 before;
  mWindow->GetDescriptor(before);
  mWindow->SetDisplayData(&record, &record, &record, &record, &record);
  EXPECT_EQ(Title(), PStrToString(before));
  for (PaneIDT id : {100, 101, 102, 103, 104, 105}) EXPECT_EQ(Text(id), "") << id;
}

// A 'tab#' list shorter than the tab leaves the title; an item past its menu the pane.
TEST_F(ScanInfoWindow, EntriesOutOfRangeLeaveTheirPanes) {
  wxtest::ScratchDir scratch;
  const std::string path = (scratch / "short-tabs.rsrc").string();
  ASSERT_EQ(CreateResFilePath(path), noErr);
  const SInt16 shortTabs = OpenResFilePath(path, fsRdWrPerm);
  ASSERT_NE(shortTabs, -1);
  const UInt8 oneTab[] = {0, 1, 0, 1, 0, 0, 3, 'O', 'n', 'e', 0, 0, 0, 0, 0, 0};
  Handle data = NewHandle(sizeof oneTab);
  std::memcpy(*data, oneTab, sizeof oneTab);
  AddResource(data, 'tab#', 5100, reinterpret_cast<const unsigned char*>(""));
  ASSERT_EQ(ResError(), noErr);

  PREF_FILE record = Record(2, 1, 0x10000 | 99, 0, 200);
  mWindow = dynamic_cast<CScanInfoWindow*>(LWindow::CreateWindow(801, mApp));
  ASSERT_NE(mWindow, nullptr);
  Str255 layoutTitle;
  mWindow->GetDescriptor(layoutTitle);
  Str255 keep;
  PStrFromString("as it was", keep);
  for (PaneIDT id : {101, 102, 104}) mWindow->FindPaneByID(id)->SetDescriptor(keep);
  mWindow->SetDisplayData(&record, &record, &record, &record, &record);
  EXPECT_EQ(Title(), PStrToString(layoutTitle)) << "tab 2 is past a list of one";
  EXPECT_EQ(Text(101), "as it was") << "item 99 is past menu 5004";
  EXPECT_EQ(Text(104), "as it was") << "item 200 is past menu 5006";
  EXPECT_EQ(Text(102), "") << "item 0 shows an empty text";
  EXPECT_EQ(Text(100), MenuItem(5002, 1));
  CloseResFile(shortTabs);
}

// ---- Name and folder -------------------------------------------------------------------

TEST_F(ScanInfoWindow, AppendingShowsTheAppendNameAndThePDFsFolder) {
  wxtest::ScratchDir scratch;
  std::filesystem::create_directories(scratch / "Outbox");
  std::filesystem::create_directories(scratch / "Archive");
  wxtest::WriteBytes(scratch / "Archive" / "Ledger.pdf", {'%', 'P', 'D', 'F'});
  for (UInt32 fileType : {1u, 2u, 3u, 4u}) {
    SCOPED_TRACE("file type " + std::to_string(fileType));
    PREF_FILE record = Record(0, 3, 1, 1, fileType);
    PREF_FILE::kFolder.set(record.view(), SpecOf(scratch / "Outbox"));
    StPDFDialog::kAppendTo.set(PREF_FILE::kPDF.in(record.view()), SpecOf(scratch / "Archive" / "Ledger.pdf"));
    Open(record);
    EXPECT_EQ(Text(103), fileType == 3 ? "Ledger" : "Receipts");
    EXPECT_EQ(Text(105), fileType == 3 ? "Archive" : "Outbox");
    delete mWindow;
    mWindow = nullptr;
  }
}

TEST_F(ScanInfoWindow, LongNamesAreCutToThePaneLessTwenty) {
  wxtest::ScratchDir scratch;
  const std::string longFolder = "Scans of the quarterly accounts for the regional offices";
  std::filesystem::create_directories(scratch / longFolder);
  PREF_FILE record = Record(0, 3, 1, 1, 1);
  Str255 name;
  PStrFromString("A very long base name for every page of the quarterly accounts", name);
  PREF_FILE::kDefaultFileName.set(record.view(), name);
  PREF_FILE::kFolder.set(record.view(), SpecOf(scratch / longFolder));
  Open(record);
  mWindow->FocusDraw();
  UTextTraits::SetPortTextTraits(142);
  for (PaneIDT id : {103, 105}) {
    SCOPED_TRACE(id);
    Str255 shown;
    mWindow->FindPaneByID(id)->GetDescriptor(shown);
    SDimension16 size;
    mWindow->FindPaneByID(id)->GetFrameSize(size);
    ASSERT_GT(shown[0], 0);
    EXPECT_EQ(shown[shown[0]], 0xC9) << "ends with the truncation mark";
    EXPECT_LE(StringWidth(shown), size.width - 20);
    Str255 oneMore;
    std::memcpy(oneMore, shown, shown[0] + 1u);
    oneMore[shown[0]] = 'x';
    oneMore[++oneMore[0]] = 0xC9;
    EXPECT_GT(StringWidth(oneMore), size.width - 20) << "cut no shorter than it must be";
  }
}

// ---- Commands and panes ----------------------------------------------------------------

TEST_F(ScanInfoWindow, EveryCommandIsDisabledWhileTheDriversWindowIsUp) {
  PREF_FILE record = Record(0, 3, 1, 1, 1);
  Open(record);
  bool enabled = true, usesMark = false;
  UInt16 mark = 0;
  Str255 name;
  CWXUtility::sIsQuellaneOpened = 1;
  mWindow->FindCommandStatus(cmd_Close, enabled, usesMark, mark, name);
  EXPECT_FALSE(enabled);
  CWXUtility::sIsQuellaneOpened = 0;
  bool normal = false;
  mWindow->LWindow::FindCommandStatus(cmd_Close, normal, usesMark, mark, name);
  mWindow->FindCommandStatus(cmd_Close, enabled, usesMark, mark, name);
  EXPECT_EQ(enabled, normal);
}

TEST_F(ScanInfoWindow, EveryLayoutHasItsPanes) {
  for (SInt16 layout : {800, 801, 802, 803}) {
    LWindow* window = nullptr;
    EXPECT_NO_THROW(window = LWindow::CreateWindow(layout, mApp)) << layout;
    EXPECT_NE(dynamic_cast<CScanInfoWindow*>(window), nullptr) << layout;
    delete window;
  }
}

// ---- On a screen -----------------------------------------------------------------------

class ScanInfoOnScreen : public ScanInfoWindow {
 protected:
  void SetUp() override {
    WX_REQUIRE_TOOL("xdpyinfo");
    WX_REQUIRE_TOOL("xwd");
    WX_REQUIRE_TOOL("convert");
    WX_REQUIRE_XVFB();
    ScanInfoWindow::SetUp();
    SetSystemScriptForLanguage(wxtest::BuildLanguage());
    ASSERT_TRUE(DpyUseScreen()) << SDL_GetError();
  }
  void TearDown() override {
    ScanInfoWindow::TearDown();
    SetSystemScriptForLanguage('E');
    DpyUseHeadless();
  }
};

TEST_F(ScanInfoOnScreen, TabOneAndNoTab) {
  wxtest::ScratchDir scratch;
  std::filesystem::create_directories(scratch / "Scanned documents");
  for (UInt32 tab : {1u, 0u}) {
    PREF_FILE record = Record(tab, tab == 1 ? 4 : 2, 5, 1, 2);
    PREF_FILE::kFolder.set(record.view(), SpecOf(scratch / "Scanned documents"));
    Open(record);
    const std::string name = tab == 1 ? "scan-information-800.png" : "scan-information-803.png";
    mWindow->Show();
    EXPECT_EQ(wxtest::ShootWindow(mWindow, name), 0) << "the screen does not show what " << name << " drew";
    delete mWindow;
    mWindow = nullptr;
  }
}

}  // namespace

namespace {

// The executable's list registers the window, so the File dialog and the stitch wizard can
// build it from its layouts.
class ScanInfoRegistration : public wxtest::HeadlessApp {
 protected:
  void RegisterClasses() override {
    for (const SAppClassEntry& entry : DialogClasses())
      URegistrar::RegisterClass(entry.classID, entry.creator, entry.parentID);
  }
};

TEST_F(ScanInfoRegistration, TheExecutablesListBuildsTheWindow) {
  LWindow* window = LWindow::CreateWindow(803, mApp);
  EXPECT_NE(dynamic_cast<CScanInfoWindow*>(window), nullptr);
  delete window;
}

}  // namespace
