// PDF and correction jobs driven through the glues as the file exporter drives them, with
// the framework itself and the system's JPEG encoder.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cctype>
#include <cmath>
#include <string>
#include <vector>

#include "prefs/LanguageTables.h"
#include "output/glue/LibraryLoad.h"
#include "output/glue/jpegGlue.h"
#include "output/glue/pdfGlue.h"
#include "support/TestEnv.h"
#include "tests/platform/paginor/PageFixtures.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"
#include "toolbox/RecordAccess.h"

namespace fs = std::filesystem;
using paginortest::TestPage;

namespace {

constexpr int kDpi = 150;

StPDFDialog Settings(uint32_t option, uint32_t item, uint32_t compression) {
  StPDFDialog s;
  BEPutU32(s.bytes.data() + 0, option);
  BEPutU32(s.bytes.data() + 12, item);
  BEPutU32(s.bytes.data() + 16, compression);
  return s;
}

int32_t KindOf(int32_t type) { return type == kPATIMGBilevel ? 1 : type == kPATIMGGrey ? 2 : 3; }

// A page with a red patch top left and a blue one top right over a grey ramp; rows carry
// the scan's pad byte when their length is odd.
TestPage Page(int32_t type, int width = 83, int height = 61) {
  const int length = type == kPATIMGBilevel ? (width + 7) / 8 : type == kPATIMGGrey ? width : 3 * width;
  return paginortest::MakePage(type, width, height, kDpi, length % 2, [width](int x, int y) -> std::array<uint8_t, 3> {
    if (y < 16 && x < 16) return {255, 0, 0};
    if (y < 16 && x >= width - 16) return {0, 0, 255};
    const uint8_t v = static_cast<uint8_t>((x * 255) / width);
    return {v, v, v};
  });
}

tagRAWBITMAP Raw(TestPage& page) {
  return tagRAWBITMAP{page.image.data, page.image.rowBytes, page.image.width, page.image.height, kDpi,
                      KindOf(page.image.type)};
}

class PdfGlue : public ::testing::Test {
 protected:
  void TearDown() override {
    while (pdf_close() == 1) {
    }
    pdf_terminate();
    FSTestSetWriteLimit(-1);
  }
  static FSSpec Spec(const fs::path& path) {
    FSSpec spec{};
    FSpMakeFromPOSIXPath(path.string(), &spec);
    return spec;
  }
  // One whole PDF as the exporter writes it; false when any call fails.
  bool Write(const fs::path& pdf, std::vector<TestPage>& pages, uint32_t compression, unsigned char small) {
    if (pdf_init() != 1) return false;
    const StPDFDialog s = Settings(0, 1, compression);
    FSSpec spec = Spec(pdf);
    bool ok = pdf_modeset(&s, small) == 1 && pdf_open(&spec, &s) == 1;
    for (TestPage& page : pages) {
      tagRAWBITMAP raw = Raw(page);
      ok = ok && pdf_make(&raw) == 1;
    }
    ok = pdf_close() == 1 && ok;
    pdf_terminate();
    return ok;
  }
  wxtest::ScratchDir dir;
};

struct JobCase {
  int32_t type;
  uint32_t compression;  // 1 normal, 2 high
  unsigned char small;
  int pages;
};

void PrintTo(const JobCase& c, std::ostream* out) {
  *out << "type " << c.type << ", compression " << c.compression << ", small " << int(c.small) << ", " << c.pages
       << " pages";
}

class PdfGlueJobs : public PdfGlue, public ::testing::WithParamInterface<JobCase> {};

TEST_P(PdfGlueJobs, WritesEveryPageAsTheFrameworkShows) {
  const JobCase c = GetParam();
  std::vector<TestPage> pages(c.pages, Page(c.type));
  const fs::path pdf = dir / "job.pdf";
  ASSERT_TRUE(Write(pdf, pages, c.compression, c.small));
  EXPECT_TRUE(paginortest::QpdfCheck(pdf));
  const auto sizes = paginortest::PageSizes(pdf);
  ASSERT_EQ(sizes.size(), size_t(c.pages));
  for (const auto& size : sizes) {
    EXPECT_NEAR(size[0], 83 * 72.0 / kDpi, 0.01);
    EXPECT_NEAR(size[1], 61 * 72.0 / kDpi, 0.01);
  }
  const auto images = paginortest::ListImages(pdf);
  ASSERT_EQ(images.size(), size_t(c.pages));
  for (const auto& image : images) {
    EXPECT_EQ(image.width, 83);
    EXPECT_EQ(image.height, 61);
    EXPECT_EQ(image.colour, c.type == kPATIMGColour ? "rgb" : "gray");
    EXPECT_EQ(image.bpc, c.type == kPATIMGBilevel ? 1 : 8);
    EXPECT_EQ(image.xppi, kDpi);
    EXPECT_EQ(image.yppi, kDpi);
    // The system's encoder writes grey and colour pages as DCT.
    EXPECT_EQ(image.encoding, c.type == kPATIMGBilevel ? "image" : "jpeg");
  }
  std::vector<uint8_t> rgb;
  int w = 0, h = 0;
  ASSERT_TRUE(paginortest::RenderPDFPage(pdf, c.pages, kDpi, &rgb, &w, &h));
  ASSERT_EQ(w, 83);
  ASSERT_EQ(h, 61);
  auto at = [&](int x, int y, int channel) { return int(rgb[(size_t(y) * w + x) * 3 + channel]); };
  if (c.type == kPATIMGColour) {
    // The pages went in as B, G, R and come out with their colours.
    EXPECT_GT(at(8, 8, 0), 200);
    EXPECT_LT(at(8, 8, 2), 60);
    EXPECT_LT(at(w - 8, 8, 0), 60);
    EXPECT_GT(at(w - 8, 8, 2), 200);
  }
  if (c.type == kPATIMGBilevel) {
    // Flate pages give the pixels back exactly: the ramp's left half black.
    // (The renderer smooths the pixels beside an edge.)
    auto black = [](int x) { return (x * 255) / 83 < 128; };
    for (int x = 1; x + 1 < w; ++x) {
      if (black(x - 1) == black(x) && black(x + 1) == black(x)) {
        EXPECT_EQ(at(x, 40, 0), black(x) ? 0 : 255) << x;
      }
    }
  }
  const std::string name = std::string(c.type == kPATIMGBilevel ? "bilevel" : c.type == kPATIMGGrey ? "grey" : "colour") +
                           (c.small ? "-small" : c.compression == 2 ? "-high" : "-normal") + "-" +
                           std::to_string(c.pages) + ".pdf";
  fs::copy_file(pdf, wxtest::OutputDir("glue") / name, fs::copy_options::overwrite_existing);
}

std::vector<JobCase> JobCases() {
  std::vector<JobCase> cases;
  for (int32_t type : {kPATIMGBilevel, kPATIMGGrey, kPATIMGColour})
    for (int mode = 0; mode < 3; ++mode)
      for (int pages : {1, 2, 5}) cases.push_back({type, mode == 1 ? 2u : 1u, static_cast<unsigned char>(mode == 2), pages});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Table, PdfGlueJobs, ::testing::ValuesIn(JobCases()), [](const auto& info) {
  const JobCase& c = info.param;
  return std::string(c.type == kPATIMGBilevel ? "Bilevel" : c.type == kPATIMGGrey ? "Grey" : "Colour") +
         (c.small ? "Small" : c.compression == 2 ? "High" : "Normal") + std::to_string(c.pages);
});

TEST_F(PdfGlue, HighCompressionMakesAColourPageAboutHalfTheSize) {
  // A photograph-like page: smooth colour with fine detail.
  TestPage photo = paginortest::MakePage(kPATIMGColour, 640, 480, 300, 0, [](int x, int y) -> std::array<uint8_t, 3> {
    const double v = 128 + 60 * std::sin(x * 0.05) * std::cos(y * 0.07) + 30 * std::sin((x + y) * 0.9);
    return {uint8_t(v), uint8_t(255 - v), uint8_t((x * y) % 256)};
  });
  std::vector<TestPage> pages{photo};
  ASSERT_TRUE(Write(dir / "normal.pdf", pages, 1, 0));
  ASSERT_TRUE(Write(dir / "high.pdf", pages, 2, 0));
  const auto normal = fs::file_size(dir / "normal.pdf"), high = fs::file_size(dir / "high.pdf");
  EXPECT_LE(double(high), 0.55 * double(normal)) << high << " vs " << normal;
}

TEST_F(PdfGlue, AJPEGJobNeverTouchesTheFileTheExporterWrites) {
  const fs::path jpeg = dir / "page.jpg";
  FSSpec spec = Spec(jpeg);
  ASSERT_EQ(jpeg_init(), 1);
  ASSERT_EQ(jpeg_modeset(1, 0), 1);
  ASSERT_EQ(jpeg_open(&spec, 1, 1), 1);
  EXPECT_TRUE(fs::is_empty(dir.path()));  // opening created nothing
  wxtest::WriteBytes(jpeg, {0xFF, 0xD8, 1, 2, 3, 0xFF, 0xD9});
  struct stat before {};
  ASSERT_EQ(stat(jpeg.c_str(), &before), 0);
  EXPECT_EQ(jpeg_close(), 1);
  struct stat after {};
  ASSERT_EQ(stat(jpeg.c_str(), &after), 0);
  EXPECT_EQ(wxtest::ReadBytes(jpeg), (std::vector<uint8_t>{0xFF, 0xD8, 1, 2, 3, 0xFF, 0xD9}));
  EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
  EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
  EXPECT_EQ(jpeg_terminate(), 1);
}

TEST_F(PdfGlue, ThePDFTakesItsNameAtTheCloseAndSurvivesACorrectionJob) {
  const fs::path pdf = dir / "multi.pdf";
  FSSpec spec = Spec(pdf);
  const StPDFDialog s = Settings(0, 1, 1);
  ASSERT_EQ(pdf_init(), 1);
  ASSERT_EQ(pdf_modeset(&s, 0), 1);
  ASSERT_EQ(pdf_open(&spec, &s), 1);
  EXPECT_FALSE(fs::exists(pdf));
  TestPage page = Page(kPATIMGGrey);
  tagRAWBITMAP raw = Raw(page);
  ASSERT_EQ(pdf_make(&raw), 1);
  EXPECT_FALSE(fs::exists(pdf)) << "an unfinished PDF never has its name";
  // The exporter straightens the next page in a correction job of its own meanwhile.
  ASSERT_EQ(QSRC_exmodeset(kPaginorModeHighCompression, 3, 0), noErr);
  ASSERT_EQ(QSRC_exopen(nullptr, kPaginorFlagSkew, 0), noErr);
  double skew = 1;
  EXPECT_GE(QSRD_spdetect(&page.image, nullptr, &skew), 0);
  ASSERT_EQ(QSRC_close(), noErr);
  ASSERT_EQ(pdf_make(&raw), 1);
  ASSERT_EQ(pdf_close(), 1);
  EXPECT_TRUE(paginortest::QpdfCheck(pdf));
  EXPECT_EQ(paginortest::PageSizes(pdf).size(), 2u);
  for (const auto& image : paginortest::ListImages(pdf)) EXPECT_EQ(image.encoding, "jpeg");
}

TEST_F(PdfGlue, OutOfSequenceAndBadPagesAnswerFailure) {
  ASSERT_EQ(pdf_init(), 1);
  TestPage page = Page(kPATIMGColour);
  tagRAWBITMAP raw = Raw(page);
  EXPECT_EQ(pdf_make(&raw), 0);  // no job
  EXPECT_EQ(pdf_close(), 0);
  const fs::path pdf = dir / "bad.pdf";
  FSSpec spec = Spec(pdf);
  const StPDFDialog s = Settings(0, 1, 1);
  ASSERT_EQ(pdf_open(&spec, &s), 1);
  EXPECT_EQ(pdf_open(&spec, &s), 0);  // a second output job
  raw.kind = 4;
  EXPECT_EQ(pdf_make(&raw), 0);
  raw = Raw(page);
  raw.rowBytes = 10;  // shorter than a row
  EXPECT_EQ(pdf_make(&raw), 0);
  raw = Raw(page);
  raw.resolution = 0;
  EXPECT_EQ(pdf_make(&raw), 0);
  EXPECT_FALSE(fs::exists(pdf));
  pdf_close();  // a refused page may have ended the job; nothing was added either way
  EXPECT_FALSE(fs::exists(pdf));
  // A destination whose folder went away.
  fs::create_directories(dir / "gone");
  FSSpec missing = Spec(dir / "gone" / "x.pdf");
  fs::remove(dir / "gone");
  EXPECT_EQ(pdf_open(&missing, &s), 0);
  EXPECT_EQ(pdf_close(), 0);
}

std::string WithoutSpaces(const std::string& text) {
  std::string out;
  for (char c : text)
    if (!std::isspace(static_cast<unsigned char>(c))) out += c;
  return out;
}

// The language popup's item reaches the text layer: every word comes back out of the PDF
// (Japanese from the J build's table).
TEST_F(PdfGlue, TheTextOptionGivesTheWordsInTheChosenLanguage) {
  WX_REQUIRE_TOOL("pdftotext");
  struct Case {
    const char* name;
    int32_t isJ;
    uint32_t item;
    const char* font;
    std::vector<std::string> lines;
  } cases[] = {
      {"english", 0, 1, paginortest::kLatinFont, {"The quick brown fox jumps", "over the lazy dog"}},
      {"french", 0, 2, paginortest::kLatinFont, {"Le garçon français", "mange une crème brûlée"}},
      {"russian", 0, 8, paginortest::kLatinFont, {"Съешь же ещё этих", "мягких булок"}},
      {"japanese", 1, 1, paginortest::kJapaneseFont, {"日本語の文章", "東京都"}},
  };
  const int32_t savedJ = IS_J;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path pnm = dir / "text.ppm";
    ASSERT_TRUE(paginortest::RenderText(c.lines, c.font, 48, 1300, 48 * 2 * 3, "-type truecolor", pnm));
    TestPage page = paginortest::ReadPNM(pnm, 300);
    IS_J = c.isJ;
    for (uint32_t option : {1u, 0u}) {
      const fs::path pdf = dir / (std::string(c.name) + (option ? "-text.pdf" : "-plain.pdf"));
      const StPDFDialog s = Settings(option, c.item, 1);
      FSSpec spec = Spec(pdf);
      tagRAWBITMAP raw{page.image.data, page.image.rowBytes, page.image.width, page.image.height, 300, 3};
      ASSERT_EQ(pdf_init(), 1);
      ASSERT_EQ(pdf_modeset(&s, 0), 1);
      ASSERT_EQ(pdf_open(&spec, &s), 1);
      ASSERT_EQ(pdf_make(&raw), 1);
      ASSERT_EQ(pdf_close(), 1);
      pdf_terminate();
    }
    const fs::path text = dir / (std::string(c.name) + "-text.pdf"), plain = dir / (std::string(c.name) + "-plain.pdf");
    const std::string found = WithoutSpaces(paginortest::PdfText(text));
    for (const std::string& line : c.lines) EXPECT_NE(found.find(WithoutSpaces(line)), std::string::npos) << line;
    EXPECT_EQ(WithoutSpaces(paginortest::PdfText(plain)), "");
    std::vector<uint8_t> with, without;
    int w1 = 0, h1 = 0, w2 = 0, h2 = 0;
    ASSERT_TRUE(paginortest::RenderPDFPage(text, 1, 100, &with, &w1, &h1));
    ASSERT_TRUE(paginortest::RenderPDFPage(plain, 1, 100, &without, &w2, &h2));
    EXPECT_TRUE(with == without) << "the text layer is visible";
    fs::copy_file(text, wxtest::OutputDir("glue") / ("text-layer-" + std::string(c.name) + ".pdf"),
                  fs::copy_options::overwrite_existing);
  }
  IS_J = savedJ;
}

enum class FailAt { FirstPage, LaterPage, Close };

void PrintTo(FailAt at, std::ostream* out) { *out << static_cast<int>(at); }

class PdfGlueFullDisk : public PdfGlue, public ::testing::WithParamInterface<FailAt> {};

TEST_P(PdfGlueFullDisk, LeavesNoBrokenPDFAndTheNextJobWorks) {
  const fs::path pdf = dir / "full.pdf";
  FSSpec spec = Spec(pdf);
  const StPDFDialog s = Settings(0, 1, 1);
  TestPage page = Page(kPATIMGColour);
  tagRAWBITMAP raw = Raw(page);
  ASSERT_EQ(pdf_init(), 1);
  ASSERT_EQ(pdf_modeset(&s, 0), 1);
  ASSERT_EQ(pdf_open(&spec, &s), 1);
  switch (GetParam()) {
    case FailAt::FirstPage:
      FSTestSetWriteLimit(100);
      EXPECT_EQ(pdf_make(&raw), 0);
      FSTestSetWriteLimit(-1);
      pdf_close();
      EXPECT_FALSE(fs::exists(pdf));
      break;
    case FailAt::LaterPage:
      ASSERT_EQ(pdf_make(&raw), 1);
      FSTestSetWriteLimit(100);
      EXPECT_EQ(pdf_make(&raw), 0);
      FSTestSetWriteLimit(-1);
      EXPECT_EQ(pdf_close(), 1);
      EXPECT_TRUE(paginortest::QpdfCheck(pdf));
      EXPECT_EQ(paginortest::PageSizes(pdf).size(), 1u);
      break;
    case FailAt::Close:
      ASSERT_EQ(pdf_make(&raw), 1);
      FSTestSetWriteLimit(50);
      EXPECT_EQ(pdf_close(), 0);
      FSTestSetWriteLimit(-1);
      EXPECT_FALSE(fs::exists(pdf));
      break;
  }
  pdf_terminate();
  fs::remove(pdf);
  std::vector<TestPage> pages{page, page};
  ASSERT_TRUE(Write(pdf, pages, 1, 0));
  EXPECT_TRUE(paginortest::QpdfCheck(pdf));
  EXPECT_EQ(paginortest::PageSizes(pdf).size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Faults, PdfGlueFullDisk, ::testing::Values(FailAt::FirstPage, FailAt::LaterPage, FailAt::Close),
                         [](const auto& info) {
                           return info.param == FailAt::FirstPage   ? std::string("FirstPage")
                                  : info.param == FailAt::LaterPage ? std::string("LaterPage")
                                                                    : std::string("Close");
                         });

}  // namespace
