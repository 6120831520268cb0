#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "ScanTestSupport.h"
#include "plugin/PlugInPixel.h"
#include "scanner/RawScanFile.h"
#include "scanner/RawScanPage.h"
#include "scanner/Scanner.h"
#include "support/TestEnv.h"
#include "toolbox/Folders.h"
#include "toolbox/MacMemory.h"
#include "toolbox/Resources.h"
#include "toolbox/TextConvert.h"
#include "tests/scanner/TestPlugIn.h"

namespace wxscan {
namespace {

namespace fs = std::filesystem;

class ScannerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FolderSetApplicationDir(mApp.path().string());
    fs::create_directories(mApp / "Plug-Ins");
    mScript = mApp / "plugin.txt";
    mLog = mApp / "plugin.log";
    setenv("WX_TEST_PLUGIN", mScript.c_str(), 1);
  }
  void TearDown() override { FolderSetApplicationDir(""); }

  void Script(const std::string& lines) {
    std::ofstream(mScript) << lines << "\nlog=" << mLog.string() << "\n";
    fs::remove(mLog);
  }
  std::string Selectors() {
    std::ifstream in(mLog);
    std::string line, all;
    while (std::getline(in, line)) all += (all.empty() ? "" : " ") + line;
    return all;
  }

  // Loads the installed plug-in and runs a whole scan; returns the scanner.
  std::unique_ptr<Scanner> RunScan(const std::string& name, long imageMode = 2) {
    auto scanner = std::make_unique<Scanner>();
    scanner->SetTempFolder(FolderSpec(mTemp.path()));
    Str255 pname;
    PStrFromString(name, pname);
    EXPECT_EQ(1, scanner->SetDriverAndOpen(pname));
    Rect area{0, 0, 100, 100};
    scanner->Setup_Parameter(5, 0, 1, imageMode, 150, area, 4);
    EXPECT_EQ(1, scanner->Scan());
    EXPECT_EQ(1, scanner->IsDone());
    return scanner;
  }

  wxtest::ScratchDir mApp, mTemp;
  fs::path mScript, mLog;
};

std::vector<std::string> Names(const TArray<FSSpec>& list) {
  std::vector<std::string> names;
  for (ArrayIndexT i = 1; i <= list.GetCount(); ++i) {
    FSSpec spec{};
    list.FetchItemAt(i, spec);
    names.push_back(PStrToString(spec.name));
  }
  return names;
}

TEST_F(ScannerTest, DiscoveryTakesKnownVersionsAndPassesOverDamagedFiles) {
  InstallPlugIn(mApp.path(), "A good one", {0x08, 0x25});
  InstallPlugIn(mApp.path(), "B newer", {0x08, 0x30});
  InstallPlugIn(mApp.path(), "C nine", {0x09, 0x00});
  InstallPlugIn(mApp.path(), "D short vers", {0x08});
  InstallPlugIn(mApp.path(), "E no vers", {});
  InstallPlugIn(mApp.path(), "F other kind", {0x08, 0x20}, "Filter Plug-in");
  std::ofstream(mApp / "Plug-Ins" / "G damaged") << "garbage";
  std::ofstream(mApp / "Plug-Ins" / "._G damaged") << "not a resource fork at all";
  FSSpec damaged{};
  ASSERT_EQ(noErr, FSpMakeFromPOSIXPath((mApp / "Plug-Ins" / "G damaged").string(), &damaged));
  FInfo info{'8BAM', '8BIM', 0, {0, 0}, 0};
  FSpSetFInfo(&damaged, &info);
  InstallPlugIn(mApp.path(), "H seven", {0x07, 0x10});

  std::unique_ptr<TArray<FSSpec>> list(Scanner::GetPlugIns());
  ASSERT_NE(nullptr, list);
  EXPECT_EQ((std::vector<std::string>{"A good one", "H seven"}), Names(*list));
  FSSpec first{};
  list->FetchItemAt(1, first);
  EXPECT_EQ(0x0820, Scanner::GetDriverVersion(first));
}

TEST_F(ScannerTest, MissingPlugInFolderIsCreated) {
  fs::remove_all(mApp / "Plug-Ins");
  std::unique_ptr<TArray<FSSpec>> list(Scanner::GetPlugIns());
  ASSERT_NE(nullptr, list);
  EXPECT_EQ(0, list->GetCount());
  EXPECT_TRUE(fs::is_directory(mApp / "Plug-Ins"));
}

struct PageCase {
  const char* name;
  long imageMode;  // the dialogs' code
  int recordMode, width;
};

TEST_F(ScannerTest, PagesLandAsRawFilesWithTheirRecords) {
  InstallPlugIn(mApp.path(), "Test Scanner", {0x08, 0x20});
  const PageCase cases[] = {{"bitmap", 1, 0, 10}, {"grey", 2, 1, 24}, {"colour", 3, 3, 101}};
  for (const PageCase& c : cases) {
    SCOPED_TRACE(c.name);
    Script("pages=2\nheight=9\nbandrows=4\nmode=" + std::to_string(c.recordMode) + "\nwidth=" + std::to_string(c.width));
    auto scanner = RunScan("Test Scanner", c.imageMode);
    EXPECT_EQ("4 1 2 2 2 3 1 2 2 2 3 5", Selectors());
    ASSERT_EQ(2, scanner->GetImageCount());
    ASSERT_EQ(2, scanner->GetAcquireOstrelArray()->GetCount());
    EXPECT_EQ(1, scanner->LastPageSaved());
    for (ArrayIndexT page = 1; page <= 2; ++page) {
      OstrelScannerRecord record{};
      scanner->GetAcquireOstrelArray()->FetchItemAt(page, record);
      EXPECT_EQ(9, record.view().i16(OstrelField::kImageRows));
      EXPECT_EQ(c.width, record.view().i16(OstrelField::kImageColumns));
      EXPECT_EQ(150 * 65536, record.view().i32(OstrelField::kHResolution));
      FSSpec spec{};
      scanner->GetTempFileArray()->FetchItemAt(page, spec);
      std::vector<unsigned char> raw = wxtest::ReadBytes(PathOf(spec));
      int rowLength = c.recordMode == 0 ? (c.width + 7) / 8 : c.recordMode == 3 ? 3 * c.width : c.width;
      size_t stride = RawScanFile_PaddedRowBytes(rowLength);
      ASSERT_EQ(stride * 9, raw.size());
      RawScanPage described;
      ASSERT_TRUE(RawScanPage_FromOstrelRecord(record, &described));
      EXPECT_EQ(described.FileBytes(), int64_t(raw.size())) << "the page record describes the file written";
      for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < rowLength; ++x) {
          unsigned char want = PlugInPixel(page, y, x);
          if (c.recordMode == 1) want = static_cast<unsigned char>(~want);
          ASSERT_EQ(want, raw[y * stride + x]) << "page " << page << " row " << y << " byte " << x;
        }
        if (stride != size_t(rowLength)) {
          ASSERT_EQ(0, raw[y * stride + stride - 1]);
        }
      }
      if (page == 1) fs::copy_file(PathOf(spec), wxtest::OutputDir("scanner") / (std::string("plugin-") + c.name + ".dat"),
                                   fs::copy_options::overwrite_existing);
    }
  }
}

struct Fault {
  const char* what;
  const char* script;
  const char* selectors;
};

TEST_F(ScannerTest, AFaultyPlugInEndsThePageUnsavedWithoutHanging) {
  InstallPlugIn(mApp.path(), "Test Scanner", {0x08, 0x20});
  const Fault faults[] = {
      {"empty band", "empty_band=2\nbandrows=3", "4 1 2 2 3 5"},
      {"band past the page", "short_band=1", "4 1 2 3 5"},
      {"error while continuing", "error=2", "4 1 2 3 5"},
      {"error at the start", "error=1", "4 1 3 5"},
      {"error while preparing", "error=4", "4 5"},
  };
  for (const Fault& f : faults) {
    SCOPED_TRACE(f.what);
    Script(std::string("height=9\npages=2\n") + f.script);
    auto scanner = RunScan("Test Scanner");
    EXPECT_EQ(f.selectors, Selectors());
    EXPECT_EQ(0, scanner->GetImageCount());
    EXPECT_EQ(0, scanner->LastPageSaved());
  }
}

TEST_F(ScannerTest, AFileThatIsNoSharedObjectDoesNotLoad) {
  InstallPlugIn(mApp.path(), "Test Scanner", {0x08, 0x20});
  std::ofstream(mApp / "Plug-Ins" / "Test Scanner", std::ios::trunc) << "not code";
  Scanner scanner;
  Str255 name = "\x0c" "Test Scanner";
  EXPECT_EQ(0, scanner.SetDriverAndOpen(name));
}

struct SignatureCase {
  long caller;
  unsigned char showUI;
  long source, mode;
  OSType sig;
};

TEST_F(ScannerTest, HostSignatureFollowsCallerInterfaceSourceAndMode) {
  const SignatureCase cases[] = {
      {4, 1, 1, 1, 'Dd%#'}, {5, 1, 1, 1, 'Dd%^'}, {2, 1, 1, 1, 0},         {1, 0, 1, 5, 'Aa%+'},
      {1, 0, 1, 6, 'Aa%-'}, {1, 0, 1, 3, 'Aa%^'}, {1, 0, 2, 1, 'Ff%+'},    {1, 0, 2, 2, 'Ff%-'},
      {1, 0, 2, 3, 'Ff%^'}, {1, 0, 2, 12, 0},     {1, 0, 3, 1, 'Gg%+'},    {5, 0, 3, 1, 'Gg%-'},
  };
  for (const SignatureCase& c : cases) {
    Scanner scanner;
    Rect area{0, 0, 10, 10};
    scanner.Setup_Parameter(c.caller, c.showUI, c.source, c.mode, 100, area, 4);
    EXPECT_EQ(c.sig, scanner.LiveRecord().view().u32(OstrelField::kHostSig))
        << c.caller << " " << int(c.showUI) << " " << c.source << " " << c.mode;
  }
}

struct LevelCase {
  long caller, mode, level;
  int thresholdOn, threshold, brightnessOn, brightness;
};

TEST_F(ScannerTest, LevelsOutsideTheTableTakeTheNeutralLevel) {
  const LevelCase cases[] = {
      {1, 1, 1, 1, 50, 0, 0},    {1, 1, 10, 1, 0, 0, 0},  {1, 1, 0, 1, 128, 0, 0}, {1, 1, 11, 1, 128, 0, 0},
      {1, 2, 1, 0, 0, 1, -400},  {1, 3, -5, 0, 0, 1, 0},  {5, 1, 1, 1, 128, 0, 0}, {5, 2, 1, 0, 0, 0, 0},
  };
  for (const LevelCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "caller " << c.caller << " mode " << c.mode << " level " << c.level);
    Scanner scanner;
    Rect area{0, 0, 10, 10};
    scanner.Setup_Parameter(c.caller, 0, 1, c.mode, 100, area, c.level);
    RecordBytes r = scanner.LiveRecord().view();
    EXPECT_EQ(c.thresholdOn, r.u8(OstrelField::kThresholdOn));
    EXPECT_EQ(c.threshold, r.u16(OstrelField::kThreshold));
    EXPECT_EQ(c.brightnessOn, r.u8(OstrelField::kBrightnessOn));
    EXPECT_EQ(c.brightness, r.i16(OstrelField::kBrightness));
  }
}

}  // namespace
}  // namespace wxscan
