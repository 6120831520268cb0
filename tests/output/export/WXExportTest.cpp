#include "output/export/WXExport.h"

#include <gtest/gtest.h>

#include "framework/LException.h"
#include "framework/LWindow.h"
#include "output/hub/WXFolders.h"
#include "scanner/CThreadChecker.h"
#include "scanner/CTWAIN.h"
#include "scanner/Scanner.h"
#include "support/TestEnv.h"
#include "tests/app/prefs/PrefsTestEnv.h"
#include "tests/output/DialogTestEnv.h"
#include "tests/output/export/RawPages.h"
#include "toolbox/Files.h"
#include "toolbox/TextUtils.h"

namespace fs = std::filesystem;
using wxtest::PagePattern;
using wxtest::RawPage;

namespace {

std::string NameOf(const FSSpec& spec) { return PStrToString(spec.name); }

class Export : public wxtest::DialogTest {
 protected:
  void SetUp() override {
    wxtest::DialogTest::SetUp();
    fs::create_directories(Out());
    folder = wxtest::SpecOf(Out());
    SInt16 vRef = 0;
    SInt32 dirID = 0;
    ASSERT_TRUE(CWXUtility::FindTempFolder(&vRef, &dirID));
    FSSpec temp{};
    FSMakeFSSpec(vRef, dirID, nullptr, &temp);
    std::string path;
    FSpGetPOSIXPath(&temp, &path);
    tempDir = path;
  }
  void TearDown() override {
    FSTestSetWriteLimit(-1);
    FSTestSetReadLimit(-1);
    checker.reset();
    twain.reset();
    wxtest::DialogTest::TearDown();
  }

  fs::path Out() const { return env.root() / "Out"; }

  // A finished TWAIN scan of these pages: raw files in the temporary folder.
  void Scan(const std::vector<RawPage>& pages, long dpi = 100, long caller = 5, long imageMode = 2) {
    twain = std::make_unique<CTWAIN>();
    Rect area{0, 0, 100, 100};
    twain->Setup_Parameter(caller, 'JPEG', 0, 0, imageMode, dpi, area, 0, 0);
    for (size_t i = 0; i < pages.size(); ++i) {
      const fs::path raw = tempDir / ("tmp0000" + std::to_string(i) + ".dat");
      wxtest::WriteRaw(raw, pages[i]);
      raws.push_back(raw);
      twain->GetTempFileArray()->AddItem(wxtest::SpecOf(raw));
      TW_IMAGEINFO info{};
      info.XResolution.Whole = TW_INT16(dpi);
      info.YResolution.Whole = TW_INT16(dpi);
      info.ImageWidth = pages[i].width;
      info.ImageLength = pages[i].height;
      info.BitsPerPixel = TW_INT16(pages[i].bits == 32 ? 24 : pages[i].bits);
      twain->GetImageInfoArray()->AddItem(info);
    }
    checker = std::make_unique<CThreadChecker>(nullptr, twain.get());
  }

  TArray<FSSpec>* Run(OSType format, unsigned char numberFlag = 0, long mailLimit = 0, unsigned char adobe = 0) {
    Str255 base;
    PStrFromString("Base", base);
    return CWXUtility::ExportToFile(1, checker.get(), format, base, folder, 0, pdf, jpeg, pict, tiff, 0, 'QlWX',
                                    numberFlag, mailLimit, adobe);
  }

  // Answers up to `most` error alerts; the number shown.
  size_t CountAlerts(const std::function<void()>& run, int most = 3) {
    size_t shown = 0;
    for (int i = 0; i < most; ++i) {
      wxframework::QueueDialogAction([&](LWindow*) { ++shown; });
      wxframework::AnswerNextDialog(900);
    }
    run();
    wxframework::ClearDialogActions();
    return shown;
  }

  std::vector<std::string> Names(TArray<FSSpec>* list) {
    std::vector<std::string> names;
    FSSpec spec;
    for (ArrayIndexT i = 1; list && list->FetchItemAt(i, spec); ++i) names.push_back(NameOf(spec));
    return names;
  }

  std::string Exif(const std::string& name, const std::string& tags) {
    std::string out;
    wxtest::Run("exiftool -s3 " + tags + " '" + (Out() / name).string() + "'", &out);
    return out;
  }

  wxtest::PrefsEnv env;
  FSSpec folder{};
  fs::path tempDir;
  std::vector<fs::path> raws;
  std::unique_ptr<CTWAIN> twain;
  std::unique_ptr<CThreadChecker> checker;
  StPDFDialog pdf;
  StJPEGDialog jpeg;
  StOtherDialog pict, tiff;
};

TEST_F(Export, EveryFormatGivesNumberedFilesInScanOrderAndTheRawFilesGo) {
  WX_REQUIRE_TOOL("exiftool");
  struct Case {
    OSType format;
    unsigned char numberFlag;
    std::vector<std::string> names;
  } cases[] = {
      {'JPEG', 0, {"Base.JPG", "Base0001.JPG", "Base0002.JPG"}},
      {'JPEG', 1, {"Base0001.JPG", "Base0002.JPG", "Base0003.JPG"}},
      {'TIFF', 0, {"Base.TIF", "Base0001.TIF", "Base0002.TIF"}},
      {'PICT', 1, {"Base0001.PIC", "Base0002.PIC", "Base0003.PIC"}},
      {'PDF ', 0, {"Base.PDF", "Base0001.PDF", "Base0002.PDF"}},
  };
  for (const Case& c : cases) {
    fs::remove_all(Out());
    fs::create_directories(Out());
    raws.clear();
    Scan({wxtest::MakePage(32, 30, 20), wxtest::MakePage(8, 31, 21), wxtest::MakePage(1, 33, 22)});
    std::unique_ptr<TArray<FSSpec>> list(Run(c.format, c.numberFlag));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(Names(list.get()), c.names);
    for (const auto& raw : raws) EXPECT_FALSE(fs::exists(raw)) << raw;
    if (c.format == 'JPEG') {
      EXPECT_EQ(Exif(c.names[0], "-ExifImageWidth -ExifImageHeight -XResolution"), "30\n20\n100\n");
      EXPECT_EQ(Exif(c.names[1], "-ExifImageWidth -ExifImageHeight"), "31\n21\n");
      std::string out;
      EXPECT_EQ(wxtest::Run("exiftool -validate -warning -a '" + (Out() / c.names[2]).string() + "'", &out), 0) << out;
    }
  }
}

TEST_F(Export, AllPagesInOnePDFGiveOneFile) {
  WX_REQUIRE_TOOL("pdfinfo");
  Scan({wxtest::MakePage(32, 30, 20), wxtest::MakePage(8, 31, 21), wxtest::MakePage(1, 33, 22)});
  pdf.view().setU32(4, 1);
  std::unique_ptr<TArray<FSSpec>> list(Run('PDF '));
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(Names(list.get()), std::vector<std::string>{"Base.PDF"});
  std::string out;
  ASSERT_EQ(wxtest::Run("pdfinfo '" + (Out() / "Base.PDF").string() + "'", &out), 0) << out;
  EXPECT_NE(out.find("Pages:           3\n"), std::string::npos) << out;
  for (const auto& raw : raws) EXPECT_FALSE(fs::exists(raw)) << raw;
}

TEST_F(Export, AFailingPageKeepsItsRawFileAndTheOthersGoOn) {
  for (OSType format : {'JPEG', 'TIFF', 'PICT'}) {
    fs::remove_all(Out());
    fs::create_directories(Out());
    raws.clear();
    const RawPage bad = wxtest::MakePage(8, 20, 20);
    Scan({wxtest::MakePage(8, 20, 20), bad, wxtest::MakePage(8, 20, 20)});
    fs::resize_file(raws[1], bad.rows.size() - 7);  // a page cut short
    const auto cut = wxtest::ReadBytes(raws[1]);
    std::unique_ptr<TArray<FSSpec>> list;
    EXPECT_EQ(CountAlerts([&] { list.reset(Run(format, 1)); }), 1u);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->GetCount(), 2);
    EXPECT_FALSE(fs::exists(raws[0]));
    EXPECT_EQ(wxtest::ReadBytes(raws[1]), cut) << "the failed page's raw file stays as it was";
    EXPECT_FALSE(fs::exists(raws[2]));
    for (const auto& name : Names(list.get())) EXPECT_TRUE(fs::exists(Out() / name));
  }
}

TEST_F(Export, NothingWrittenGivesNull) {
  Scan({wxtest::MakePage(8, 20, 20)});
  fs::resize_file(raws[0], 10);
  std::unique_ptr<TArray<FSSpec>> list;
  EXPECT_EQ(CountAlerts([&] { list.reset(Run('JPEG')); }), 1u);
  EXPECT_EQ(list, nullptr);
  Scan({});
  EXPECT_EQ(Run('JPEG'), nullptr);
  EXPECT_EQ(Run('GIFf'), nullptr) << "an unknown format writes nothing";
}

TEST_F(Export, ACheckerWithoutScannerIsAnError) {
  CThreadChecker empty(nullptr, static_cast<CTWAIN*>(nullptr));
  Str255 base;
  PStrFromString("Base", base);
  for (long kind : {0L, 1L}) {
    try {
      CWXUtility::ExportToFile(kind, &empty, 'JPEG', base, folder, 0, pdf, jpeg, pict, tiff, 0, 'QlWX', 0, 0, 0);
      FAIL() << "no exception";
    } catch (const LException& e) {
      EXPECT_EQ(e.GetErrorCode(), err_AssertFailed);
    }
  }
}

TEST(MailBudget, GivesTheFirstResolutionToTry) {
  struct Case {
    long limit, width, height, dpi, expected;
  } cases[] = {
      {100000, 1000, 1000, 300, 193},
      {10, 1000, 1000, 300, 75},
      {100000000, 1000, 1000, 300, 6123},  // not below R: the caller keeps R
      {100000, 0, 1000, 300, 300},
      {100000, 1000, 1000, 0, 0},
      {0, 1000, 1000, 300, 300},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CWXUtility::MailBudgetResolution(c.limit, 24, 0.08, c.width, c.height, c.dpi), c.expected) << c.limit;
}

TEST_F(Export, AMailPageIsWrittenAtTheResolutionWhoseFileFits) {
  WX_REQUIRE_TOOL("exiftool");
  // Smooth colour fits at the first estimate; noisy pages and grey ones are written again
  // lower until they fit (the Exif thumbnail takes some 7 KB of each file).
  struct Case {
    long bits, width, height;
    PagePattern pattern;
    long limit;
  } cases[] = {{32, 600, 400, PagePattern::Smooth, 30000},
               {32, 300, 200, PagePattern::Noisy, 20000},
               {8, 300, 200, PagePattern::Noisy, 14000},
               {1, 300, 200, PagePattern::Smooth, 25000}};
  for (const Case& c : cases) {
    fs::remove_all(Out());
    fs::create_directories(Out());
    raws.clear();
    Scan({wxtest::MakePage(c.bits, c.width, c.height, c.pattern)}, 300, 3, 5);
    std::unique_ptr<TArray<FSSpec>> list;
    EXPECT_EQ(CountAlerts([&] { list.reset(Run('JPEG', 0, c.limit)); }), 0u) << c.bits;
    ASSERT_NE(list, nullptr);
    EXPECT_LE(fs::file_size(Out() / "Base.JPG"), uintmax_t(c.limit));
    const long dpi = std::stol(Exif("Base.JPG", "-XResolution"));
    const long estimate = CWXUtility::MailBudgetResolution(c.limit, 24, 0.08, c.width, c.height, 300);
    EXPECT_LE(dpi, c.bits == 32 ? std::min(estimate, 299L) : 299) << c.bits;
    if (c.pattern == PagePattern::Smooth && c.bits == 32) {
      EXPECT_EQ(dpi, estimate);
    }
    EXPECT_GE(dpi, 75);
    EXPECT_EQ(Exif("Base.JPG", "-ExifImageWidth"), std::to_string(c.width * dpi / 300) + "\n");
    EXPECT_FALSE(fs::exists(raws[0]));
    for (const auto& entry : fs::directory_iterator(tempDir)) ADD_FAILURE() << "left behind: " << entry.path();
  }
}

TEST_F(Export, AMailPageThatCannotFitIsNotWritten) {
  Scan({wxtest::MakePage(32, 300, 200, PagePattern::Noisy)}, 300, 3, 5);
  const auto before = wxtest::ReadBytes(raws[0]);
  std::unique_ptr<TArray<FSSpec>> list;
  EXPECT_EQ(CountAlerts([&] { list.reset(Run('JPEG', 0, 500)); }), 1u);
  EXPECT_EQ(list, nullptr);
  EXPECT_FALSE(fs::exists(Out() / "Base.JPG"));
  EXPECT_EQ(wxtest::ReadBytes(raws[0]), before);
  size_t left = 0;
  for (const auto& entry : fs::directory_iterator(tempDir)) left += entry.path() != raws[0];
  EXPECT_EQ(left, 0u) << "no reduced copy is left";
}

TEST_F(Export, AdobeRGBPagesAreLabelledSo) {
  WX_REQUIRE_TOOL("exiftool");
  Scan({wxtest::MakePage(32, 30, 20)});
  std::unique_ptr<TArray<FSSpec>> list(Run('JPEG', 0, 0, 1));
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(Names(list.get()), std::vector<std::string>{"_Base.JPG"});
  EXPECT_EQ(Exif("_Base.JPG", "-ColorSpace"), "Uncalibrated\n");
  EXPECT_NE(Exif("_Base.JPG", "-Gamma"), "");
  Scan({wxtest::MakePage(32, 30, 20)});
  list.reset(Run('JPEG', 0, 0, 0));
  EXPECT_EQ(Exif("Base.JPG", "-ColorSpace"), "sRGB\n");
}

TEST_F(Export, ARotatedPageEqualsTheOutsideRotation) {
  WX_REQUIRE_TOOL("convert");
  for (long bits : {1L, 8L, 32L}) {
    const RawPage page = wxtest::MakePage(bits, 13, 7, PagePattern::Noisy);
    wxtest::WriteRaw(env.root() / "page.dat", page);
    FSSpec out{};
    long width = 0, height = 0;
    ASSERT_EQ(CWXUtility::ExportToFile_EditFileForUSER(wxtest::SpecOf(env.root() / "page.dat"), &out, bits, 13, 7,
                                                       IntToFixed(100), 'JPEG', 0, 0, 1, 90, 'QlWX', &width, &height),
              1);
    EXPECT_EQ(width, 7);
    EXPECT_EQ(height, 13);
    std::string path;
    FSpGetPOSIXPath(&out, &path);
    const std::string ext = bits == 32 ? ".ppm" : bits == 8 ? ".pgm" : ".pbm";
    wxtest::WritePnm(env.root() / ("page" + ext), wxtest::ToPnm(page));
    ASSERT_EQ(wxtest::Run("convert '" + (env.root() / ("page" + ext)).string() + "' -rotate 90 '" +
                          (env.root() / ("turned" + ext)).string() + "'"),
              0);
    wxtest::Pnm turned;
    ASSERT_TRUE(wxtest::ReadPnm(env.root() / ("turned" + ext), &turned));
    EXPECT_EQ(wxtest::ReadBytes(path), wxtest::FromPnm(turned, bits).rows) << bits;
    FSpDelete(&out);
    EXPECT_TRUE(fs::is_empty(tempDir)) << "the TIFF copy is gone";
  }
}

}  // namespace
