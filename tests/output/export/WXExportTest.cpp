#include "output/export/WXExport.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <csignal>
#include <map>
#include <sstream>

#include "framework/LApplication.h"
#include "framework/LException.h"
#include "framework/LWindow.h"
#include "output/glue/CAddPDFFile.h"
#include "output/hub/WXExif.h"
#include "output/hub/WXFolders.h"
#include "prefs/CPreferences.h"
#include "scanner/CThreadChecker.h"
#include "scanner/CTWAIN.h"
#include "scanner/Scanner.h"
#include "support/ReferenceJpeg.h"
#include "support/TestEnv.h"
#include "tests/prefs/PrefsTestEnv.h"
#include "tests/output/DialogTestEnv.h"
#include "tests/output/export/Alerts.h"
#include "tests/output/export/RawPages.h"
#include "toolbox/Files.h"
#include "toolbox/TextUtils.h"

namespace fs = std::filesystem;
using wxtest::PagePattern;
using wxtest::RawPage;

namespace {

std::string NameOf(const FSSpec& spec) { return PStrToString(spec.name); }

// The kept sample of a kind of file.
void Keep(const fs::path& file, const std::string& name) {
  fs::copy_file(file, wxtest::OutputDir("export") / name, fs::copy_options::overwrite_existing);
}

class Export : public wxtest::DialogTest {
 public:  // the fault rows check through a helper of their own
  void SetUp() override {
    wxtest::DialogTest::SetUp();
    fs::create_directories(Out());
    folder = wxtest::SpecOf(Out());
    tempDir = wxtest::PathOf(wxtest::TemporaryFolder());
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

  // Answers up to `most` alerts; the number shown.
  size_t CountAlerts(const std::function<void()>& run, int most = 3) { return wxtest::AnswerAlerts(run, most).size(); }

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

TEST_F(Export, APageOfAnUnknownDepthIsLeftWhereItIs) {
  Scan({wxtest::MakePage(8, 20, 20), wxtest::MakePage(8, 20, 20)});
  TW_IMAGEINFO info{};
  twain->GetImageInfoArray()->FetchItemAt(1, info);
  info.BitsPerPixel = 16;
  twain->GetImageInfoArray()->AssignItemsAt(1, 1, info);
  std::unique_ptr<TArray<FSSpec>> list;
  EXPECT_EQ(CountAlerts([&] { list.reset(Run('TIFF')); }), 1u);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(Names(list.get()), std::vector<std::string>{"Base.TIF"});
  EXPECT_TRUE(fs::exists(raws[0]));
  EXPECT_FALSE(fs::exists(raws[1]));
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

// The thumbnail sampled from a page's rows while its JPEG is written looks like the one
// drawn by decoding the written file: same box, same black bands, no shift in brightness.
TEST_F(Export, TheSampledThumbnailLooksLikeTheDecodedFile) {
  WX_REQUIRE_TOOL("exiftool");
  WX_REQUIRE_TOOL("djpeg");
  struct Case {
    long bits, width, height;
    PagePattern pattern;
  } cases[] = {{32, 400, 300, PagePattern::Smooth}, {32, 301, 517, PagePattern::Noisy},
               {8, 700, 90, PagePattern::Smooth}, {1, 90, 70, PagePattern::Smooth}};
  for (const Case& c : cases) {
    const std::string what = std::to_string(c.bits) + " bits " + std::to_string(c.width) + " x " + std::to_string(c.height);
    fs::remove_all(Out());
    fs::create_directories(Out());
    Scan({wxtest::MakePage(c.bits, c.width, c.height, c.pattern)});
    std::unique_ptr<TArray<FSSpec>> list(Run('JPEG'));
    ASSERT_NE(list, nullptr) << what;
    const fs::path file = Out() / "Base.JPG";
    ASSERT_EQ(wxtest::Run("exiftool -b -ThumbnailImage '" + file.string() + "' > '" + (Out() / "sampled.jpg").string() + "'"), 0);
    FSSpec jpeg = wxtest::SpecOf(file), decodedThumb{};
    ASSERT_EQ(CWXUtility::CreateThumbnailtempFile(jpeg, &decodedThumb), noErr) << what;
    wxtest::RGBPicture sampled, decoded;
    ASSERT_TRUE(wxtest::DjpegRead(Out() / "sampled.jpg", &sampled)) << what;
    ASSERT_TRUE(wxtest::DjpegRead(wxtest::PathOf(decodedThumb), &decoded)) << what;
    FSpDelete(&decodedThumb);
    ASSERT_EQ(sampled.width, 160);
    ASSERT_EQ(sampled.height, 120);
    ASSERT_EQ(sampled.rgb.size(), decoded.rgb.size()) << what;
    double bias = 0, squares = 0;
    for (size_t i = 0; i < sampled.rgb.size(); ++i) {
      const int d = int(sampled.rgb[i]) - int(decoded.rgb[i]);
      bias += d;
      squares += double(d) * d;
    }
    const double n = double(sampled.rgb.size());
    EXPECT_LT(std::fabs(bias / n), 1.5) << what << ": no shift in brightness";
    // A noisy page's cells average what the JPEG partly dropped: a little further apart.
    const double floor = c.pattern == PagePattern::Noisy ? 27.0 : 30.0;
    EXPECT_GT(10 * std::log10(255.0 * 255.0 / std::max(squares / n, 1e-9)), floor) << what << ": PSNR";
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

// A colour page as large as an A4 scan at 200 dpi, noisy, is still written within the limit.
TEST_F(Export, AMailPageOfAFullSheetIsWrittenWithinTheLimit) {
  WX_REQUIRE_TOOL("djpeg");
  WX_REQUIRE_TOOL("exiftool");
  const long limit = 307200;
  Scan({wxtest::MakePage(32, 1654, 2339, PagePattern::Noisy)}, 200, 3, 5);
  std::unique_ptr<TArray<FSSpec>> list;
  EXPECT_EQ(CountAlerts([&] { list.reset(Run('JPEG', 0, limit)); }), 0u);
  ASSERT_NE(list, nullptr);
  const fs::path file = Out() / "Base.JPG";
  EXPECT_LE(fs::file_size(file), uintmax_t(limit));
  wxtest::RGBPicture decoded;
  ASSERT_TRUE(wxtest::DjpegRead(file, &decoded));
  const long dpi = std::stol(Exif("Base.JPG", "-XResolution"));
  EXPECT_GE(dpi, 75);
  EXPECT_LT(dpi, 200);
  EXPECT_EQ(decoded.width, 1654 * dpi / 200);
  EXPECT_EQ(decoded.height, 2339 * dpi / 200);
  EXPECT_FALSE(fs::exists(raws[0]));
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

namespace {

class Preview : public Export {
 protected:
  void Write() {
    Str255 base;
    PStrFromString("Page", base);
    CWXUtility::ExportToFileForPreview(1, checker.get(), base, &pages, &exifs, &pdf, &jpeg, &pict, &tiff, 0, 'JPEG',
                                       'QlWX');
  }
  TArray<FSSpec>* Save(OSType format, unsigned char deleteSources) {
    return CWXUtility::ExportToFileUseScanDataPlus(&pages, format, folder, 0, pdf, jpeg, pict, tiff, &exifs, 0,
                                                   deleteSources, 0, 0, 0, 'QlWX');
  }
  ScanDataPlus Page(ArrayIndexT i) {
    ScanDataPlus p;
    pages.FetchItemAt(i, p);
    return p;
  }
  TArray<ScanDataPlus> pages;
  TArray<EXIF_PREF> exifs;
};

TEST_F(Preview, EachPageGetsItsTIFFAndRecords) {
  Scan({wxtest::MakePage(32, 30, 20), wxtest::MakePage(8, 31, 21)});
  Write();
  ASSERT_EQ(pages.GetCount(), 2);
  ASSERT_EQ(exifs.GetCount(), 2);
  for (ArrayIndexT i = 1; i <= 2; ++i) {
    const ScanDataPlus p = Page(i);
    EXPECT_EQ(p.written, 1);
    EXPECT_EQ(p.rotation, 0);
    EXPECT_EQ(p.bitsPerPixel, i == 1 ? 32 : 8);
    EXPECT_EQ(NameOf(p.imageFile), PStrToString(p.displayName) + ".TIF");
    EXPECT_EQ(NameOf(p.rawFile), raws[size_t(i - 1)].filename().string());
    EXPECT_TRUE(fs::exists(raws[size_t(i - 1)])) << "the raw files stay";
    EXIF_PREF e;
    exifs.FetchItemAt(i, e);
    EXPECT_EQ(EXIF_PREF::kColourPage.get(e.view()) == 2, i == 2);
    Str255 time;
    EXIF_PREF::kDateTime.get(e.view(), time);
    EXPECT_EQ(PStrToString(time), "2026:12:10 09:30:00");
  }
  EXPECT_EQ(PStrToString(Page(1).displayName), "Page0001");
}

TEST_F(Preview, AStitchPageMustExist) {
  Scan({wxtest::MakePage(8, 20, 20)});
  Str255 base;
  PStrFromString("Page", base);
  try {
    CWXUtility::ExportToFileForStitch(1, checker.get(), base, &pages, &exifs, &pdf, &jpeg, &pict, &tiff, 0, 'JPEG',
                                      'QlWX', 2);
    FAIL() << "no exception";
  } catch (const LException& e) {
    EXPECT_EQ(e.GetErrorCode(), err_AssertFailed);
  }
  CWXUtility::ExportToFileForStitch(1, checker.get(), base, &pages, &exifs, &pdf, &jpeg, &pict, &tiff, 0, 'JPEG',
                                    'QlWX', 1);
  EXPECT_EQ(pages.GetCount(), 1);
}

TEST_F(Preview, TheFinalSaveWritesTheFlaggedPagesTurnedAsRecorded) {
  WX_REQUIRE_TOOL("exiftool");
  Scan({wxtest::MakePage(32, 30, 20), wxtest::MakePage(8, 31, 21), wxtest::MakePage(8, 10, 10)});
  Write();
  ASSERT_EQ(pages.GetCount(), 3);
  ScanDataPlus p = Page(2);
  p.rotation = 90;
  pages.AssignItemsAt(1, 2, p);
  p = Page(3);
  p.written = 0;
  pages.AssignItemsAt(1, 3, p);
  std::unique_ptr<TArray<FSSpec>> list(Save('JPEG', 1));
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(Names(list.get()), (std::vector<std::string>{"Page0001.JPG", "Page0002.JPG"}));
  EXPECT_EQ(Exif("Page0002.JPG", "-ExifImageWidth -ExifImageHeight"), "21\n31\n");
  std::string out;
  wxtest::Run("djpeg -pnm '" + (Out() / "Page0002.JPG").string() + "' | head -c 12", &out);
  EXPECT_NE(out.find("21 31"), std::string::npos) << out;
  EXPECT_FALSE(fs::exists(raws[0]));
  EXPECT_FALSE(fs::exists(raws[1]));
  EXPECT_TRUE(fs::exists(raws[2])) << "an unflagged page is not saved";
  size_t left = 0;
  for (const auto& entry : fs::directory_iterator(tempDir)) left += entry.path() != raws[2] && entry.path().extension() != ".TIF";
  EXPECT_EQ(left, 0u) << "no turned copy is left";
}

TEST_F(Preview, AFailureEndsTheSaveAndKeepsThatPage) {
  Scan({wxtest::MakePage(8, 20, 20), wxtest::MakePage(8, 20, 20), wxtest::MakePage(8, 20, 20)});
  Write();
  ASSERT_EQ(pages.GetCount(), 3);
  ScanDataPlus p = Page(2);
  p.rotation = 180;
  pages.AssignItemsAt(1, 2, p);
  fs::resize_file(raws[1], 30);  // the second page cannot be read whole
  std::unique_ptr<TArray<FSSpec>> list;
  EXPECT_EQ(CountAlerts([&] { list.reset(Save('TIFF', 1)); }), 1u);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(Names(list.get()), std::vector<std::string>{"Page0001.TIF"});
  EXPECT_FALSE(fs::exists(raws[0]));
  EXPECT_TRUE(fs::exists(raws[1]));
  std::string preview;
  const FSSpec previewFile = Page(2).imageFile;
  FSpGetPOSIXPath(&previewFile, &preview);
  EXPECT_TRUE(fs::exists(preview)) << "its preview stays";
  EXPECT_TRUE(fs::exists(raws[2]));
  for (const auto& entry : fs::directory_iterator(tempDir)) {
    const bool known = entry.path() == raws[1] || entry.path() == raws[2] || entry.path().extension() == ".TIF";
    EXPECT_TRUE(known) << "left behind: " << entry.path();
  }
}

TEST_F(Preview, PagesForAppendingGoIntoOneTemporaryPDF) {
  WX_REQUIRE_TOOL("pdfinfo");
  Scan({wxtest::MakePage(8, 20, 20), wxtest::MakePage(32, 20, 20)});
  Write();
  std::unique_ptr<TArray<FSSpec>> list(
      CWXUtility::ExportToFileUseScanDataPlus_AddPDFFile(&pages, 'PDF ', folder, 0, pdf, &exifs, 0, 0, 'QlWX'));
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->GetCount(), 1);
  FSSpec file;
  list->FetchItemAt(1, file);
  EXPECT_EQ(NameOf(file).substr(0, 3), "tmp");
  EXPECT_EQ(NameOf(file).substr(8), ".PDF");
  std::string path, out;
  FSpGetPOSIXPath(&file, &path);
  ASSERT_EQ(wxtest::Run("pdfinfo '" + path + "'", &out), 0);
  EXPECT_NE(out.find("Pages:           2\n"), std::string::npos) << out;
  EXPECT_TRUE(fs::exists(raws[0]) && fs::exists(raws[1])) << "the pages stay until the append succeeded";
}

TEST_F(Export, ANewPDFTakesTheFreeNameThenTheNextSerial) {
  const FSSpec original = env.MakeFile(env.root() / "Old.pdf", "%PDF-1.4 test");
  StPDFDialog::kAppendTo.set(pdf.view(), original);
  Str255 base;
  PStrFromString("Report", base);
  for (const char* expected : {"Report.PDF", "Report0001.PDF", "Report0002.PDF"}) {
    const FSSpec made = CWXUtility::CreateNewPDFFile(base, folder, pdf);
    EXPECT_EQ(NameOf(made), expected);
    EXPECT_EQ(wxtest::ReadBytes(Out() / expected), wxtest::ReadBytes(env.root() / "Old.pdf"));
  }
}

TEST_F(Export, PagesForAppendingFromAScanGoIntoOneTemporaryPDF) {
  WX_REQUIRE_TOOL("pdfinfo");
  Scan({wxtest::MakePage(8, 20, 20), wxtest::MakePage(1, 20, 20), wxtest::MakePage(32, 20, 20)});
  std::unique_ptr<TArray<FSSpec>> list(CWXUtility::ExportToFile_AddPDFFile(1, checker.get(), 'PDF ', pdf, 0, 0, 'QlWX'));
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->GetCount(), 1);
  FSSpec file;
  list->FetchItemAt(1, file);
  std::string path, out;
  FSpGetPOSIXPath(&file, &path);
  ASSERT_EQ(wxtest::Run("pdfinfo '" + path + "'", &out), 0);
  EXPECT_NE(out.find("Pages:           3\n"), std::string::npos) << out;
  for (const auto& raw : raws) EXPECT_TRUE(fs::exists(raw));
  EXPECT_EQ(CWXUtility::ExportToFile_AddPDFFile(0, checker.get(), 'PDF ', pdf, 0, 0, 'QlWX'), nullptr);
}

}  // namespace

namespace {

// Three lines of text turned by `degrees`, as a raw grey page.
bool TurnedTextPage(const fs::path& dir, double degrees, RawPage* page) {
  const fs::path pnm = dir / "turned.pgm";
  std::ostringstream command;
  command << "convert -size 1300x420 xc:white -font /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf -pointsize 40"
          << " -fill black -annotate +40+80 'The quick brown fox jumps over the lazy dog.'"
          << " -annotate +40+160 'Pack my box with five dozen liquor jugs.'"
          << " -annotate +40+240 'Sphinx of black quartz, judge my vow today.'"
          << " -background white -rotate " << degrees << " -colorspace gray -depth 8 '" << pnm.string() << "' 2>&1";
  wxtest::Pnm image;
  if (wxtest::Run(command.str()) != 0 || !wxtest::ReadPnm(pnm, &image)) return false;
  *page = wxtest::FromPnm(image, 8);
  return true;
}

double DeskewAngle(const fs::path& file) {
  std::string out;
  wxtest::Run("convert '" + file.string() + "' -deskew 40% -format '%[deskew:angle]' info: 2>/dev/null", &out);
  return std::fabs(std::atof(out.c_str()));
}

TEST_F(Export, AStraightenedPageComesOutStraight) {
  WX_REQUIRE_TOOL("convert");
  if (!fs::exists("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf")) GTEST_SKIP() << "no DejaVu font";
  RawPage page;
  ASSERT_TRUE(TurnedTextPage(env.root(), 3, &page));
  ASSERT_GT(DeskewAngle(env.root() / "turned.pgm"), 2.0);
  Scan({page}, 300);
  jpeg.view().setU32(8, 1);  // skew option
  std::unique_ptr<TArray<FSSpec>> list;
  // The straightening tells of its success in a note.
  EXPECT_EQ(CountAlerts([&] { list.reset(Run('JPEG')); }), 1u);
  ASSERT_NE(list, nullptr);
  EXPECT_LT(DeskewAngle(Out() / "Base.JPG"), 0.5);
  EXPECT_FALSE(fs::exists(raws[0]));
  EXPECT_TRUE(fs::is_empty(tempDir)) << "no corrected copy is left";
  Keep(Out() / "Base.JPG", "straightened.jpg");
}

TEST_F(Export, EveryPageOfAStraightenedPDFIsThere) {
  WX_REQUIRE_TOOL("pdfinfo");
  if (!fs::exists("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf")) GTEST_SKIP() << "no DejaVu font";
  RawPage a, b;
  ASSERT_TRUE(TurnedTextPage(env.root(), 2, &a));
  ASSERT_TRUE(TurnedTextPage(env.root(), -3, &b));
  Scan({a, b}, 300);
  pdf.view().setU32(4, 1);
  pdf.view().setU32(96, 1);  // skew option
  std::unique_ptr<TArray<FSSpec>> list;
  EXPECT_LE(CountAlerts([&] { list.reset(Run('PDF ')); }), 2u);
  ASSERT_NE(list, nullptr);
  std::string out;
  ASSERT_EQ(wxtest::Run("pdfinfo '" + (Out() / "Base.PDF").string() + "'", &out), 0);
  EXPECT_NE(out.find("Pages:           2\n"), std::string::npos) << out;
  EXPECT_TRUE(fs::is_empty(tempDir));
}

}  // namespace

namespace {

// A disk that fills while the pages go into one PDF: either the PDF holds the pages that
// were written, or it is gone and every page keeps its raw file.
TEST_F(Export, ASharedPDFThatCannotBeFinishedIsRemovedAndThePagesStay) {
  for (long limit : {200L, 3000L, 6000L}) {
    fs::remove_all(Out());
    fs::create_directories(Out());
    raws.clear();
    Scan({wxtest::MakePage(8, 60, 40, PagePattern::Noisy), wxtest::MakePage(8, 60, 40, PagePattern::Noisy),
          wxtest::MakePage(8, 60, 40, PagePattern::Noisy)});
    std::vector<std::vector<uint8_t>> before;
    for (const auto& raw : raws) before.push_back(wxtest::ReadBytes(raw));
    pdf.view().setU32(4, 1);
    std::unique_ptr<TArray<FSSpec>> list;
    const size_t alerts = CountAlerts([&] {
      FSTestSetWriteLimit(limit);
      list.reset(Run('PDF '));
      FSTestSetWriteLimit(-1);
    }, 4);
    EXPECT_GE(alerts, 1u) << limit;
    if (!list) {
      EXPECT_TRUE(fs::is_empty(Out())) << limit << ": no partial PDF";
      for (size_t i = 0; i < raws.size(); ++i) EXPECT_EQ(wxtest::ReadBytes(raws[i]), before[i]) << limit;
    } else {
      EXPECT_EQ(Names(list.get()), std::vector<std::string>{"Base.PDF"}) << limit;
      EXPECT_EQ(wxtest::Run("qpdf --check '" + (Out() / "Base.PDF").string() + "' >/dev/null 2>&1"), 0) << limit;
    }
    Scan({wxtest::MakePage(8, 20, 20)});
    std::unique_ptr<TArray<FSSpec>> next(Run('PDF '));
    EXPECT_NE(next, nullptr) << limit << ": the next export works";
  }
}

}  // namespace

namespace {

// The write limit falls inside the second of two like pages: that page's alert shows
// once, nothing of it is left or listed and its raw file stays byte for byte; the first
// page is whole (`firstSize` bytes) and the next export works.
void ExpectSecondPageFails(Export& t, OSType format, long limit, size_t firstSize, const std::function<RawPage()>& page,
                           const std::string& first, long mailLimit = 0) {
  const long dpi = mailLimit ? 300 : 100, caller = mailLimit ? 3 : 5, imageMode = mailLimit ? 5 : 2;
  SCOPED_TRACE(std::string(reinterpret_cast<const char*>(&format), 4) + " limit " + std::to_string(limit));
  fs::remove_all(t.Out());
  fs::create_directories(t.Out());
  t.raws.clear();
  t.Scan({page(), page()}, dpi, caller, imageMode);
  const auto second = wxtest::ReadBytes(t.raws[1]);
  std::unique_ptr<TArray<FSSpec>> list;
  EXPECT_EQ(t.CountAlerts([&] {
    FSTestSetWriteLimit(limit);
    list.reset(t.Run(format, 0, mailLimit));
    FSTestSetWriteLimit(-1);
  }), 1u);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(t.Names(list.get()), std::vector<std::string>{first});
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(t.Out())) left.push_back(entry.path().filename().string());
  EXPECT_EQ(left, std::vector<std::string>{first}) << "no partial or working file";
  EXPECT_EQ(wxtest::ReadBytes(t.Out() / first).size(), firstSize);
  EXPECT_FALSE(fs::exists(t.raws[0]));
  EXPECT_EQ(wxtest::ReadBytes(t.raws[1]), second) << "the failed page's raw file stays";
  t.Scan({page()}, dpi, caller, imageMode);
  std::unique_ptr<TArray<FSSpec>> next(t.Run(format, 1, mailLimit));
  EXPECT_NE(next, nullptr) << "the next export works";
}

// A disk that fills in the middle of a page's file, for every writer.
TEST_F(Export, AWriterFailingAtTheSecondPageKeepsTheFirstAndTheSecondsRawFile) {
  const auto page = [] { return wxtest::MakePage(32, 60, 40, PagePattern::Noisy); };
  struct Case {
    OSType format;
    const char* first;
  } cases[] = {{'TIFF', "Base.TIF"}, {'PICT', "Base.PIC"}, {'PDF ', "Base.PDF"}};
  for (const Case& c : cases) {
    fs::remove_all(Out());
    fs::create_directories(Out());
    Scan({page()});
    std::unique_ptr<TArray<FSSpec>> probe(Run(c.format));
    ASSERT_NE(probe, nullptr);
    const long size = long(fs::file_size(Out() / c.first));
    ExpectSecondPageFails(*this, c.format, size + size / 2, size_t(size), page, c.first);
  }
}

// A disk that fills while a page's Exif segment is made (its thumbnail) or written: that
// page is not finished, so nothing of it is left or listed and its raw file stays; the page
// before it is whole and the next export works.
TEST_F(Export, APageWhoseExifSegmentCannotBeWrittenIsNotKept) {
  WX_REQUIRE_TOOL("exiftool");
  const auto page = [] { return wxtest::MakePage(8, 60, 40, PagePattern::Noisy); };
  // What one page writes: the encoded file, its thumbnail, then the file with its segment.
  Scan({page()});
  std::unique_ptr<TArray<FSSpec>> probe(Run('JPEG'));
  ASSERT_NE(probe, nullptr);
  const auto whole = wxtest::ReadBytes(Out() / "Base.JPG");
  size_t at = 2;  // the segments before the image data, up to the Exif one
  while (at + 4 <= whole.size() && whole[at] == 0xFF && whole[at + 1] != 0xE1)
    at += 2 + size_t(whole[at + 2] << 8 | whole[at + 3]);
  ASSERT_LT(at + 4, whole.size());
  ASSERT_EQ(whole[at + 1], 0xE1);
  const long encoded = long(whole.size()) - 2 - long(whole[at + 2] << 8 | whole[at + 3]);
  const long thumbnail = std::stol(Exif("Base.JPG", "-ThumbnailLength"));
  const long first = encoded + thumbnail + long(whole.size());
  // Inside the encoded file, inside the thumbnail, inside the rewritten file.
  for (long limit : {first + encoded / 2, first + encoded + 16, first + encoded + thumbnail + 16})
    ExpectSecondPageFails(*this, 'JPEG', limit, whole.size(), page, "Base.JPG");
}

// A disk that fills inside the TIFF working copy that straightening makes: the page cannot
// be written either, so it shows the write error once, leaves no working copy and no
// partial file, and keeps its raw file; the next export, still straightened, works and
// shows only the straightening's own note.
TEST_F(Export, ADiskFillingInsideTheStraighteningCopyKeepsThePage) {
  const RawPage page = wxtest::MakePage(32, 60, 40, PagePattern::Noisy);
  Scan({page});
  const auto before = wxtest::ReadBytes(raws[0]);
  jpeg.view().setU32(8, 1);  // skew option
  std::unique_ptr<TArray<FSSpec>> list;
  const auto alerts = wxtest::AnswerAlerts([&] {
    FSTestSetWriteLimit(page.RowBytes() * page.height / 2);
    list.reset(Run('JPEG'));
    FSTestSetWriteLimit(-1);
  });
  EXPECT_EQ(list, nullptr);
  ASSERT_EQ(alerts.size(), 1u);
  EXPECT_EQ(alerts[0], wxtest::ResourceText(400, 3));
  EXPECT_TRUE(fs::is_empty(Out())) << "no partial file";
  std::vector<fs::path> left;
  for (const auto& entry : fs::directory_iterator(tempDir)) left.push_back(entry.path());
  EXPECT_EQ(left, std::vector<fs::path>{raws[0]}) << "no working copy";
  EXPECT_EQ(wxtest::ReadBytes(raws[0]), before) << "the raw file stays";
  Scan({wxtest::MakePage(32, 20, 20)});
  std::unique_ptr<TArray<FSSpec>> next;
  const auto notes = wxtest::AnswerAlerts([&] { next.reset(Run('JPEG', 1)); });
  EXPECT_EQ(notes, std::vector<std::string>{""}) << "only the straightening's note";
  EXPECT_NE(next, nullptr) << "the next export works";
}

// A disk that fills while the second page's reduced copy for mail is written.
TEST_F(Export, AMailCopyFailingAtTheSecondPageKeepsTheFirstAndTheSecondsRawFile) {
  WX_REQUIRE_TOOL("exiftool");
  const long mailLimit = 30000;
  const auto page = [] { return wxtest::MakePage(32, 600, 400, PagePattern::Smooth); };
  Scan({page()}, 300, 3, 5);
  std::unique_ptr<TArray<FSSpec>> probe(Run('JPEG', 0, mailLimit));
  ASSERT_NE(probe, nullptr);
  const auto whole = wxtest::ReadBytes(Out() / "Base.JPG");
  const long dpi = std::stol(Exif("Base.JPG", "-XResolution"));
  const long width = 600 * dpi / 300, height = 400 * dpi / 300;
  const long copy = (3 * width + (3 * width & 1)) * height;
  // Page 1 writes its copy and less than three times its file (encoded, thumbnail,
  // rewritten): with a copy this much larger, page 2's copy is what runs out.
  ASSERT_GT(copy, 8 * long(whole.size()));
  ExpectSecondPageFails(*this, 'JPEG', copy / 2 + copy + long(whole.size()) * 3, whole.size(), page, "Base.JPG",
                        mailLimit);
}

// ---- Writers killed half way ----------------------------------------------------------------

int gStoppedPipe = -1;
int gStopSignal = SIGKILL;

// The write hook's stop in the child: tell the parent, then wait for its signal. A SIGKILL
// ends the child there; a SIGTERM, noted as the program's quit request, lets the write go on.
void WaitForSignal() {
  sigset_t term, unblocked;
  sigemptyset(&term);
  sigaddset(&term, SIGTERM);
  sigprocmask(SIG_BLOCK, &term, &unblocked);
  const char stopped = 's';
  if (write(gStoppedPipe, &stopped, 1) != 1) _exit(2);
  if (gStopSignal != SIGTERM) {
    for (;;) pause();
  }
  sigdelset(&unblocked, SIGTERM);
  while (!LApplication::QuitRequested()) sigsuspend(&unblocked);
  sigprocmask(SIG_UNBLOCK, &term, nullptr);
}

// Runs `run` in a child process sent `signal` once `bytes` of what it writes are on the disk;
// false when it never got that far, or did not end as that signal asks (a SIGTERM as the
// program takes it: the run goes on, then the child quits).
bool StopHalfway(const std::function<void()>& run, SInt64 bytes, int signal) {
  int fds[2];
  if (pipe(fds) != 0) return false;
  const pid_t child = fork();
  if (child == 0) {
    close(fds[0]);
    gStoppedPipe = fds[1];
    gStopSignal = signal;
    if (signal == SIGTERM) LApplication::InstallQuitSignalHandlers();
    FSTestSetWriteStop(bytes, WaitForSignal);
    run();
    _exit(LApplication::QuitRequested() ? 0 : 1);
  }
  close(fds[1]);
  pollfd stopped{fds[0], POLLIN, 0};
  char byte = 0;
  const bool reached = poll(&stopped, 1, 120000) == 1 && read(fds[0], &byte, 1) == 1;
  kill(child, reached ? signal : SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);
  close(fds[0]);
  if (signal == SIGTERM) return reached && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return reached;
}

std::map<std::string, std::vector<uint8_t>> FolderBytes(const fs::path& folder) {
  std::map<std::string, std::vector<uint8_t>> files;
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.is_regular_file()) files[entry.path().filename().string()] = wxtest::ReadBytes(entry.path());
  return files;
}

// A whole file of its kind, checked by the outside tools.
bool Whole(const fs::path& file) {
  const std::string name = file.filename().string(), quoted = "'" + file.string() + "'";
  if (name.starts_with(".")) return false;
  if (name.ends_with(".PDF") || name.ends_with(".pdf")) return wxtest::Run("qpdf --check " + quoted + " >/dev/null 2>&1") == 0;
  if (name.ends_with(".TIF")) {
    std::string errors;
    return wxtest::Run("tiffinfo -D " + quoted + " 2>&1 >/dev/null", &errors) == 0 && errors.empty();
  }
  return name == wxtest::FromP(PREFS_FILE_NAME) && fs::file_size(file) == PREF_ALL::kSize;
}

// Every file in `folder` is one of `old` byte for byte, or whole; hidden temporary files are
// let be when `temporaries`.
void ExpectOldOrWhole(const fs::path& folder, const std::map<std::string, std::vector<uint8_t>>& old,
                      const std::string& when, bool temporaries) {
  for (const auto& [name, bytes] : FolderBytes(folder)) {
    if (temporaries && name.starts_with(".")) continue;
    const auto was = old.find(name);
    if (was != old.end() && was->second == bytes) continue;
    EXPECT_TRUE(Whole(folder / name)) << when << ": " << name << " is neither the old file nor a whole one";
  }
}

// Each kind of long write is killed half way (the hook stops it once half of what a whole
// run writes is on the disk). Every file under its final name is then the old one or whole,
// and the next write into the folder leaves only such files. Sent SIGTERM half way instead,
// the write is finished before the quit and leaves no temporary file.
TEST_F(Export, AWriterKilledHalfwayLeavesOldOrWholeFilesAndTheNextWriteTidiesUp) {
  WX_REQUIRE_TOOL("qpdf");
  WX_REQUIRE_TOOL("tiffinfo");
  const fs::path appendFolder = env.root() / "Append";
  fs::create_directories(appendFolder);
  UInt8 prefsChange = 0;
  struct Row {
    const char* name;
    fs::path folder;
    std::function<void()> write;
  };
  const std::vector<Row> rows = {
      {"multi-page PDF", Out(),
       [&] {
         std::vector<RawPage> pages;
         for (int i = 0; i < 6; ++i) pages.push_back(wxtest::MakePage(32, 300, 200, PagePattern::Noisy));
         Scan(pages);
         pdf.view().setU32(4, 1);
         std::unique_ptr<TArray<FSSpec>> list(Run('PDF '));
       }},
      {"TIFF", Out(),
       [&] {
         Scan({wxtest::MakePage(32, 900, 700, PagePattern::Noisy)});
         std::unique_ptr<TArray<FSSpec>> list(Run('TIFF'));
       }},
      {"PDF append", appendFolder,
       [&] {
         FSSpec target = wxtest::SpecOf(appendFolder / "Target.pdf"), source = wxtest::SpecOf(appendFolder / "Pages.pdf");
         CAddPDFFile(target, source).AddToSourceFile();
       }},
      {"preferences", env.PrefsFolder(),
       [&] {
         CPreferences prefs(PREFS_FILE_NAME, 0);
         prefs.PrefAll().setU8(PREF_ALL::kSize - 1, ++prefsChange);
         prefs.Save();
       }},
  };
  // The append's target and pages, from the PDF writer.
  Scan({wxtest::MakePage(32, 300, 200, PagePattern::Noisy), wxtest::MakePage(8, 300, 200, PagePattern::Noisy)});
  pdf.view().setU32(4, 1);
  std::unique_ptr<TArray<FSSpec>> made(Run('PDF '));
  fs::rename(Out() / "Base.PDF", appendFolder / "Target.pdf");
  fs::copy_file(appendFolder / "Target.pdf", appendFolder / "Pages.pdf");
  { CPreferences prefs(PREFS_FILE_NAME, 0); }

  for (const Row& row : rows) {
    // A whole run gives the size of what one writes.
    auto before = FolderBytes(row.folder);
    row.write();
    size_t written = 0;
    for (const auto& [name, bytes] : FolderBytes(row.folder))
      if (!before.count(name) || before[name] != bytes) written = std::max(written, bytes.size());
    ASSERT_GT(written, 0u) << row.name;

    before = FolderBytes(row.folder);
    ASSERT_TRUE(StopHalfway(row.write, SInt64(written / 2), SIGKILL)) << row.name << ": the write never got half way";
    ExpectOldOrWhole(row.folder, before, std::string(row.name) + " killed", true);

    row.write();
    ExpectOldOrWhole(row.folder, before, std::string(row.name) + " written again", false);

    // A quit request half way: the write ends whole, nothing of it left aside.
    before = FolderBytes(row.folder);
    ASSERT_TRUE(StopHalfway(row.write, SInt64(written / 2), SIGTERM)) << row.name << ": no quit after SIGTERM";
    ExpectOldOrWhole(row.folder, before, std::string(row.name) + " asked to quit", false);
  }
}

}  // namespace
