#include "output/export/CFileExporter.h"

#include <gtest/gtest.h>

#include <fstream>

#include "output/hub/WXFolders.h"
#include "support/TestEnv.h"
#include "tests/prefs/PrefsTestEnv.h"
#include "tests/output/DialogTestEnv.h"
#include "tests/output/export/Alerts.h"
#include "tests/output/export/RawPages.h"
#include "toolbox/Files.h"
#include "toolbox/FolderLocations.h"
#include "toolbox/Folders.h"
#include "toolbox/MacMemory.h"
#include "toolbox/RecordAccess.h"
#include "toolbox/TextUtils.h"
#include "framework/LWindow.h"

namespace fs = std::filesystem;
using wxtest::PagePattern;
using wxtest::RawPage;

namespace {

class Exporter : public wxtest::DialogTest {
 protected:
  void TearDown() override {
    FSTestSetWriteLimit(-1);
    FSTestSetReadLimit(-1);
    MemSetHeapLimit(0);
    wxtest::DialogTest::TearDown();
  }

  fs::path Path(const std::string& name) const { return env.root() / name; }

  // One page through a fresh exporter; the exporter's answer.
  long Export(OSType format, const RawPage& page, const std::string& out, long quality = 2, long dpi = 150) {
    wxtest::WriteRaw(Path("page.dat"), page);
    CFileExporter exporter;
    exporter.SetParam(format, wxtest::SpecOf(Path("page.dat")), wxtest::SpecOf(Path(out)), page.bits, page.width,
                      page.height, IntToFixed(int(dpi)), quality, 'QlWX', 0);
    return exporter.DoExport();
  }

  static std::vector<std::string> AnswerAlerts(const std::function<void()>& run) { return wxtest::AnswerAlerts(run, 2); }

  wxtest::PrefsEnv env;
};

// The kept sample of each kind of file.
void Keep(const fs::path& file) {
  fs::copy_file(file, wxtest::OutputDir("export") / file.filename(), fs::copy_options::overwrite_existing);
}

TEST_F(Exporter, JPEGPagesDecodeCloseToTheirRawPixels) {
  WX_REQUIRE_TOOL("djpeg");
  WX_REQUIRE_TOOL("exiftool");
  struct Case {
    long bits, width;
    long quality;
    double floor;
  } cases[] = {{32, 37, 1, 30}, {32, 40, 2, 32}, {32, 33, 3, 38}, {8, 37, 1, 30}, {8, 21, 3, 38}, {1, 37, 2, 18}, {1, 9, 3, 20}};
  for (const Case& c : cases) {
    const RawPage page = wxtest::MakePage(c.bits, c.width, 35);
    const std::string name = "page-" + std::to_string(c.bits) + "-" + std::to_string(c.width) + "-q" + std::to_string(c.quality) + ".jpg";
    ASSERT_EQ(Export('JPEG', page, name, c.quality), 1) << name;
    ASSERT_EQ(wxtest::Run("djpeg -pnm '" + Path(name).string() + "' > '" + Path("decoded.pnm").string() + "'"), 0);
    wxtest::Pnm decoded;
    ASSERT_TRUE(wxtest::ReadPnm(Path("decoded.pnm"), &decoded)) << name;
    EXPECT_EQ(decoded.kind, c.bits == 32 ? 6 : 5) << name;
    EXPECT_GT(wxtest::PSNR(decoded, wxtest::ToPnm(page)), c.floor) << name;
    std::string out;
    wxtest::Run("exiftool -s3 -JFIF:XResolution '" + Path(name).string() + "'", &out);
    EXPECT_EQ(out, "150\n") << name;
    FInfo info{};
    const FSSpec spec = wxtest::SpecOf(Path(name));
    ASSERT_EQ(FSpGetFInfo(&spec, &info), noErr);
    EXPECT_EQ(info.fdType, OSType('JPEG'));
    EXPECT_EQ(info.fdCreator, OSType('QlWX'));
    Keep(Path(name));
  }
}

TEST_F(Exporter, TIFFPagesHoldTheRawRowsWithoutTheirPad) {
  WX_REQUIRE_TOOL("tiffinfo");
  for (long bits : {1L, 8L, 32L}) {
    for (long width : {9L, 10L}) {
      const RawPage page = wxtest::MakePage(bits, width, 7, PagePattern::Noisy);
      const std::string name = "page-" + std::to_string(bits) + "-" + std::to_string(width) + ".tif";
      ASSERT_EQ(Export('TIFF', page, name), 1) << name;
      const auto bytes = wxtest::ReadBytes(Path(name));
      ASSERT_GT(bytes.size(), 204u);
      EXPECT_EQ(BEGetU16(bytes.data() + 8), 14) << name;
      EXPECT_EQ(BEGetU32(bytes.data() + 10 + 12 * 5 + 8), 204u) << name;
      const long rowBytes = bits == 1 ? (width + 7) / 8 : bits == 8 ? width : 3 * width;
      ASSERT_EQ(long(bytes.size()), 204 + rowBytes * 7) << name;
      for (long y = 0; y < 7; ++y)
        EXPECT_TRUE(std::equal(bytes.begin() + 204 + y * rowBytes, bytes.begin() + 204 + (y + 1) * rowBytes,
                               page.rows.begin() + y * page.RowBytes()))
            << name << " row " << y;
      std::string out;
      EXPECT_EQ(wxtest::Run("tiffinfo -D '" + Path(name).string() + "' 2>&1", &out), 0) << out;
      EXPECT_EQ(out.find("Warning"), std::string::npos) << out;
      Keep(Path(name));
    }
  }
}

TEST_F(Exporter, PICTPagesCarryTheirHeaderAndReadBackExactly) {
  WX_REQUIRE_TOOL("convert");
  struct Case {
    long bits, width, height;
  } cases[] = {{1, 37, 5}, {8, 37, 5}, {32, 37, 5}, {8, 4003, 3}, {1, 4010, 2}, {32, 4001, 2}};
  for (const Case& c : cases) {
    const RawPage page = wxtest::MakePage(c.bits, c.width, c.height, PagePattern::Noisy);
    const std::string name = "page-" + std::to_string(c.bits) + "-" + std::to_string(c.width) + ".pict";
    ASSERT_EQ(Export('PICT', page, name), 1) << name;
    const auto bytes = wxtest::ReadBytes(Path(name));
    ASSERT_GT(bytes.size(), 522u);
    EXPECT_TRUE(std::all_of(bytes.begin(), bytes.begin() + 512, [](uint8_t b) { return b == 0; })) << name;
    EXPECT_EQ(BEGetU16(bytes.data() + 512), uint16_t(bytes.size() - 512)) << name;
    EXPECT_EQ(BEGetU16(bytes.data() + 518), c.height) << name;
    EXPECT_EQ(BEGetU16(bytes.data() + 520), c.width) << name;
    const std::string ext = c.bits == 32 ? ".ppm" : c.bits == 8 ? ".pgm" : ".pbm";
    std::string out;
    ASSERT_EQ(wxtest::Run("convert 'PICT:" + Path(name).string() + "' '" + Path("read" + ext).string() + "' 2>&1", &out), 0) << out;
    wxtest::Pnm read;
    ASSERT_TRUE(wxtest::ReadPnm(Path("read" + ext), &read)) << name;
    EXPECT_EQ(wxtest::Samples(read), wxtest::Samples(wxtest::ToPnm(page))) << name;
    if (c.width < 100) Keep(Path(name));
  }
}

TEST_F(Exporter, AnUnknownFormatWritesNothing) {
  EXPECT_EQ(Export('GIFf', wxtest::MakePage(8, 10, 10), "page.gif"), 0);
  EXPECT_FALSE(fs::exists(Path("page.gif")));
}

// Each writer with a disk that fills part-way and with a raw file that cannot be read to
// its end: one alert, no destination, the raw file as it was.
TEST_F(Exporter, AFailingWriterLeavesNothingBehind) {
  struct Case {
    OSType format;
    long bits;
    bool write;
  } cases[] = {{'JPEG', 32, true}, {'JPEG', 8, false}, {'JPEG', 1, true}, {'TIFF', 8, true}, {'TIFF', 32, false},
               {'PICT', 32, true}, {'PICT', 8, false}, {'PICT', 1, true}};
  for (const Case& c : cases) {
    const RawPage page = wxtest::MakePage(c.bits, 64, 48, PagePattern::Noisy);
    const std::string what = std::string(reinterpret_cast<const char*>(&c.format), 4) + " " + std::to_string(c.bits) +
                             (c.write ? " write" : " read");
    long result = -1;
    const auto alerts = AnswerAlerts([&] {
      wxtest::WriteRaw(Path("page.dat"), page);
      CFileExporter exporter;
      exporter.SetParam(c.format, wxtest::SpecOf(Path("page.dat")), wxtest::SpecOf(Path("out")), page.bits,
                        page.width, page.height, IntToFixed(150), 2, 'QlWX', 0);
      if (c.write) FSTestSetWriteLimit(700);
      else FSTestSetReadLimit(page.RowBytes() * 20 + 3);
      result = exporter.DoExport();
      FSTestSetWriteLimit(-1);
      FSTestSetReadLimit(-1);
    });
    EXPECT_EQ(result, 0) << what;
    ASSERT_EQ(alerts.size(), 1u) << what;
    EXPECT_EQ(alerts[0], wxtest::ResourceText(400, 3)) << what;
    EXPECT_FALSE(fs::exists(Path("out"))) << what;
    EXPECT_EQ(wxtest::ReadBytes(Path("page.dat")), page.rows) << what;
  }
}

TEST_F(Exporter, ARawFileShorterThanItsRowsFails) {
  RawPage page = wxtest::MakePage(8, 20, 20);
  for (OSType format : {'JPEG', 'TIFF', 'PICT'}) {
    long result = -1;
    const auto alerts = AnswerAlerts([&] {
      wxtest::WriteRaw(Path("page.dat"), page);
      fs::resize_file(Path("page.dat"), page.rows.size() - 5);
      CFileExporter exporter;
      exporter.SetParam(format, wxtest::SpecOf(Path("page.dat")), wxtest::SpecOf(Path("out")), 8, 20, 20,
                        IntToFixed(150), 2, 'QlWX', 0);
      result = exporter.DoExport();
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(alerts.size(), 1u);
    EXPECT_FALSE(fs::exists(Path("out")));
  }
}

TEST_F(Exporter, MailPagesAreReducedFromACopy) {
  WX_REQUIRE_TOOL("djpeg");
  for (long bits : {32L, 8L, 1L}) {
    const RawPage page = wxtest::MakePage(bits, 101, 80);
    wxtest::WriteRaw(Path("page.dat"), page);
    FSSpec source = wxtest::SpecOf(Path("page.dat"));
    CFileExporter exporter;
    ASSERT_EQ(exporter.SetParamForMail('JPEG', source, wxtest::SpecOf(Path("mail.jpg")), bits, 101, 80,
                                       IntToFixed(300), 150, 'QlWX', 2),
              noErr);
    EXPECT_NE(PStrToString(source.name), "page.dat") << "the source is the reduced copy";
    EXPECT_EQ(exporter.GetImageWidth(), 50);
    EXPECT_EQ(exporter.GetImageLength(), 40);
    EXPECT_EQ(exporter.GetResolution(), IntToFixed(150));
    EXPECT_EQ(exporter.Bits(), bits == 32 ? 32 : 8);
    ASSERT_EQ(exporter.DoExport(), 1);
    std::string out;
    wxtest::Run("djpeg -pnm '" + Path("mail.jpg").string() + "' | head -c 20", &out);
    EXPECT_NE(out.find("50 40"), std::string::npos) << out;
    EXPECT_EQ(FSpDelete(&source), noErr);
    EXPECT_EQ(wxtest::ReadBytes(Path("page.dat")), page.rows) << "the raw page is untouched";
  }
  // Not above the new resolution: the page as it is.
  wxtest::WriteRaw(Path("page.dat"), wxtest::MakePage(32, 20, 20));
  FSSpec source = wxtest::SpecOf(Path("page.dat"));
  CFileExporter exporter;
  ASSERT_EQ(exporter.SetParamForMail('JPEG', source, wxtest::SpecOf(Path("mail.jpg")), 32, 20, 20, IntToFixed(150),
                                     150, 'QlWX', 2),
            noErr);
  EXPECT_EQ(PStrToString(source.name), "page.dat");
  EXPECT_EQ(exporter.GetImageWidth(), 20);
}

TEST_F(Exporter, AMailReductionThatCannotBeWrittenLeavesNoCopy) {
  const fs::path tempPath = wxtest::PathOf(wxtest::TemporaryFolder());
  const RawPage page = wxtest::MakePage(32, 101, 80);
  wxtest::WriteRaw(Path("page.dat"), page);
  FSSpec source = wxtest::SpecOf(Path("page.dat"));
  OSErr err = noErr;
  const auto alerts = AnswerAlerts([&] {
    CFileExporter exporter;
    FSTestSetWriteLimit(1000);
    err = exporter.SetParamForMail('JPEG', source, wxtest::SpecOf(Path("mail.jpg")), 32, 101, 80, IntToFixed(300),
                                   150, 'QlWX', 2);
    FSTestSetWriteLimit(-1);
  });
  EXPECT_NE(err, noErr);
  EXPECT_EQ(alerts.size(), 1u);
  EXPECT_EQ(PStrToString(source.name), "page.dat");
  EXPECT_TRUE(fs::is_empty(tempPath)) << "no reduced copy is left";
  EXPECT_FALSE(fs::exists(Path("mail.jpg")));
}

TEST_F(Exporter, TheInvertedGreyTableShowsZeroAsWhite) {
  CTabHandle table = GetCTable(1024);
  ASSERT_NE(table, nullptr);
  ASSERT_EQ((**table).ctSize, 255);
  EXPECT_EQ((**table).ctTable[0].rgb.red, 0xFFFF);
  EXPECT_EQ((**table).ctTable[255].rgb.green, 0);
  EXPECT_EQ((**table).ctTable[128].rgb.blue, 0xFFFF - 128 * 0xFFFF / 255);
  DisposeCTable(table);
}

}  // namespace

namespace {

TEST_F(Exporter, PDFPagesHoldTheScanAtItsSizeAndResolution) {
  WX_REQUIRE_TOOL("qpdf");
  WX_REQUIRE_TOOL("pdfimages");
  for (long bits : {1L, 8L, 32L}) {
    const RawPage page = wxtest::MakePage(bits, 40, 30);
    wxtest::WriteRaw(Path("page.dat"), page);
    const std::string name = "page-" + std::to_string(bits) + ".pdf";
    {
      CFileExporter exporter;
      exporter.SetParam('PDF ', wxtest::SpecOf(Path("page.dat")), wxtest::SpecOf(Path(name)), bits, 40, 30,
                        IntToFixed(100), 2, 'QlWX', 0);
      StPDFDialog settings;
      ASSERT_EQ(exporter.PDF_Open(settings, 0), 1) << name;
      ASSERT_EQ(exporter.DoExport(), 1) << name;
      ASSERT_EQ(exporter.PDF_Close(), 1) << name;
    }
    std::string out;
    EXPECT_EQ(wxtest::Run("qpdf --check '" + Path(name).string() + "' 2>&1", &out), 0) << out;
    ASSERT_EQ(wxtest::Run("pdfimages -list '" + Path(name).string() + "' 2>&1", &out), 0) << out;
    EXPECT_NE(out.find("   40    30 "), std::string::npos) << out;
    EXPECT_NE(out.find(bits == 32 ? " rgb " : " gray "), std::string::npos) << out;
    EXPECT_NE(out.find("   100   100 "), std::string::npos) << out;
    // Lossless pages give the raw pixels back exactly, JPEG pages closely.
    const bool lossy = out.find(" jpeg ") != std::string::npos;
    ASSERT_EQ(wxtest::Run("pdfimages '" + Path(name).string() + "' '" + Path("img").string() + "'"), 0);
    wxtest::Pnm image;
    for (const char* ext : {".ppm", ".pgm", ".pbm"})
      if (fs::exists(Path(std::string("img-000") + ext))) {
        ASSERT_TRUE(wxtest::ReadPnm(Path(std::string("img-000") + ext), &image));
      }
    if (lossy) {
      EXPECT_GT(wxtest::PSNR(wxtest::ToPnm(wxtest::FromPnm(image, bits)), wxtest::ToPnm(page)), 28) << name;
    } else {
      EXPECT_EQ(wxtest::FromPnm(image, bits).rows, page.rows) << name;
    }
    for (const char* ext : {".ppm", ".pgm", ".pbm"}) fs::remove(Path(std::string("img-000") + ext));
    Keep(Path(name));
  }
}

}  // namespace

namespace {

// A PDF viewer for the extension "PDF" in the desktop's tables below the scratch root.
void InstallViewer(const fs::path& root) {
  std::string apps;
  ASSERT_EQ(FindFolderPath(kSystemDomain, kApplicationsFolderType, kCreateFolder, &apps), noErr);
  const auto write = [](const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text;
  };
  write(root / "bin" / "viewer", "#!/bin/sh\nexit 0\n");
  fs::permissions(root / "bin" / "viewer", fs::perms::owner_all);
  write(fs::path(apps) / "viewer.desktop", "[Desktop Entry]\nType=Application\nExec=" + (root / "bin" / "viewer").string() + " %f\n");
  write(root / "usr/share/mime/globs2", "50:application/pdf:*.pdf\n");
  write(fs::path(apps) / "mimeapps.list", "[Default Applications]\napplication/pdf=viewer.desktop\n");
}

TEST_F(Exporter, APDFIsTypedOnlyWhenAViewerExists) {
  for (bool viewer : {false, true}) {
    if (viewer) InstallViewer(env.root());
    wxtest::WriteRaw(Path("page.dat"), wxtest::MakePage(8, 20, 20));
    const std::string name = viewer ? "viewed.pdf" : "plain.pdf";
    {
      CFileExporter exporter;
      exporter.SetParam('PDF ', wxtest::SpecOf(Path("page.dat")), wxtest::SpecOf(Path(name)), 8, 20, 20,
                        IntToFixed(100), 2, 'QlWX', 0);
      StPDFDialog settings;
      ASSERT_EQ(exporter.PDF_Open(settings, 0), 1);
      ASSERT_EQ(exporter.DoExport(), 1);
      ASSERT_EQ(exporter.PDF_Close(), 1);
    }
    FInfo info{};
    const FSSpec spec = wxtest::SpecOf(Path(name));
    ASSERT_EQ(FSpGetFInfo(&spec, &info), noErr);
    EXPECT_EQ(info.fdType == OSType('PDF ') && info.fdCreator == OSType('QlWX'), viewer) << name;
  }
}

}  // namespace
