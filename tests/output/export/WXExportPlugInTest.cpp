// The export of pages a driver plug-in delivered through the plug-in host.
#include <gtest/gtest.h>

#include <fstream>

#include "output/export/WXExport.h"
#include "output/hub/WXFolders.h"
#include "scanner/CThreadChecker.h"
#include "scanner/Scanner.h"
#include "support/TestEnv.h"
#include "tests/prefs/PrefsTestEnv.h"
#include "tests/output/DialogTestEnv.h"
#include "tests/output/export/RawPages.h"
#include "framework/LWindow.h"
#include "toolbox/FolderLocations.h"
#include "toolbox/Files.h"
#include "toolbox/Resources.h"
#include "toolbox/TextUtils.h"
#include "tests/scanner/TestPlugIn.h"

namespace fs = std::filesystem;

namespace {

class PlugInExport : public wxtest::DialogTest {
 protected:
  void SetUp() override {
    wxtest::DialogTest::SetUp();
    FolderSetApplicationDir(app.path().string());
    fs::create_directories(app / "Plug-Ins");
    fs::create_directories(Out());
    setenv("WX_TEST_PLUGIN", (app / "plugin.txt").c_str(), 1);
    temp = wxtest::TemporaryFolder();
    tempDir = wxtest::PathOf(temp);
    InstallPlugIn(app.path(), "Test", {0x08, 0x25});
  }
  void TearDown() override {
    checker.reset();
    scanner.reset();
    FolderSetApplicationDir("");
    unsetenv("WX_TEST_PLUGIN");
    wxtest::DialogTest::TearDown();
  }

  fs::path Out() const { return env.root() / "Out"; }


  // A finished plug-in scan of `pages` pages of width x height in `mode`.
  void Scan(int mode, int width, int height, int pages) {
    std::ofstream(app / "plugin.txt") << "width=" << width << "\nheight=" << height << "\nmode=" << mode
                                      << "\nbandrows=8\npages=" << pages << "\n";
    scanner = std::make_unique<Scanner>();
    scanner->SetTempFolder(temp);
    Str255 name;
    PStrFromString("Test", name);
    ASSERT_EQ(1, scanner->SetDriverAndOpen(name));
    Rect area{0, 0, 100, 100};
    scanner->Setup_Parameter(5, 0, 1, mode == 3 ? 2 : mode, 150, area, 4);
    ASSERT_EQ(1, scanner->Scan());
    checker = std::make_unique<CThreadChecker>(nullptr, scanner.get());
  }

  TArray<FSSpec>* Run(OSType format) {
    Str255 base;
    PStrFromString("Base", base);
    const FSSpec folder = wxtest::SpecOf(Out());
    return CWXUtility::ExportToFile(0, checker.get(), format, base, folder, 0, pdf, jpeg, pict, tiff, 0, 'QlWX', 1,
                                    0, 1);
  }

  wxtest::PrefsEnv env;
  wxtest::ScratchDir app;
  FSSpec temp{};
  fs::path tempDir;
  std::unique_ptr<Scanner> scanner;
  std::unique_ptr<CThreadChecker> checker;
  StPDFDialog pdf;
  StJPEGDialog jpeg;
  StOtherDialog pict, tiff;
};

TEST_F(PlugInExport, PagesBecomeFilesWithoutExif) {
  WX_REQUIRE_TOOL("exiftool");
  struct Case {
    int mode;
    OSType format;
    const char* ext;
  } cases[] = {{3, 'JPEG', ".JPG"}, {1, 'TIFF', ".TIF"}, {0, 'PDF ', ".PDF"}};
  for (const Case& c : cases) {
    fs::remove_all(Out());
    fs::create_directories(Out());
    Scan(c.mode, 40, 30, 2);
    ASSERT_EQ(scanner->GetTempFileArray()->GetCount(), 2);
    std::unique_ptr<TArray<FSSpec>> list(Run(c.format));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->GetCount(), 2);
    for (ArrayIndexT i = 1; i <= 2; ++i) {
      FSSpec spec;
      list->FetchItemAt(i, spec);
      EXPECT_EQ(PStrToString(spec.name), "Base000" + std::to_string(i) + c.ext) << "no underscore on this path";
    }
    EXPECT_TRUE(fs::is_empty(tempDir)) << "the raw pages are gone";
    if (c.format == 'JPEG') {
      std::string out;
      wxtest::Run("exiftool -s3 -ExifImageWidth '" + (Out() / "Base0001.JPG").string() + "'", &out);
      EXPECT_EQ(out, "") << "no Exif on this path";
    }
  }
}

TEST_F(PlugInExport, AllPagesInOneStraightenedPDFAreThere) {
  WX_REQUIRE_TOOL("pdfinfo");
  Scan(1, 200, 150, 3);
  pdf.view().setU32(4, 1);
  pdf.view().setU32(96, 1);
  std::unique_ptr<TArray<FSSpec>> list;
  for (int i = 0; i < 3; ++i) {
    wxframework::QueueDialogAction([](LWindow*) {});
    wxframework::AnswerNextDialog(900);
  }
  list.reset(Run('PDF '));
  wxframework::ClearDialogActions();
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->GetCount(), 1);
  std::string out;
  ASSERT_EQ(wxtest::Run("pdfinfo '" + (Out() / "Base0001.PDF").string() + "'", &out), 0);
  EXPECT_NE(out.find("Pages:           3\n"), std::string::npos) << out;
}

}  // namespace
