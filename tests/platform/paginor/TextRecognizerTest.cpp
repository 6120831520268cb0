// The invisible text layer: words Tesseract reads on the page, found again by pdftotext, in
// each script the language popup offers; nothing visible changes.
#include "paginor/TextRecognizer.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "PageFixtures.h"
#include "paginor/Paginor.h"
#include "support/TestEnv.h"
#include "toolbox/MacErrors.h"

namespace fs = std::filesystem;
using namespace paginortest;

namespace {

std::string WithoutSpaces(const std::string& text) {
  std::string out;
  for (char c : text)
    if (!std::isspace(static_cast<unsigned char>(c))) out += c;
  return out;
}

class TextLayer : public ::testing::Test {
 protected:
  void TearDown() override {
    while (QSRC_close() != kPaginorSequenceErr) {
    }
    QSRC_changepath("");
    unsetenv("TESSDATA_PREFIX");
  }
  // A one-page PDF of `page` with the text option as given; the status of the first failure.
  OSErr WritePDF(const fs::path& pdf, const TestPage& page, UInt32 language, SInt32 codePageClass, SInt32 flags) {
    QSRC_exmodeset(kPaginorModeNormal, language, codePageClass);
    OSErr err = QSRC_exopen(pdf.c_str(), flags, 0);
    if (err != noErr) return err;
    err = QSRC_spmake(&page.image, 0);
    const OSErr closed = QSRC_close();
    return err != noErr ? err : closed;
  }
  TestPage TextPage(const std::vector<std::string>& lines, const char* font, const char* kind = "-monochrome") {
    const fs::path pnm = dir / (std::string("page.") + (kind[1] == 'm' ? "pbm" : "ppm"));
    EXPECT_TRUE(RenderText(lines, font, 48, 1300, 48 * 2 * (int(lines.size()) + 1), kind, pnm));
    return ReadPNM(pnm, 300);
  }
  wxtest::ScratchDir dir;
};

struct LanguageCase {
  const char* name;
  UInt32 value;
  SInt32 codePageClass;
  const char* font;
  std::vector<std::string> lines;
};

class TextLayerLanguages : public TextLayer, public ::testing::WithParamInterface<LanguageCase> {};

TEST_P(TextLayerLanguages, PdftotextFindsEveryWord) {
  WX_REQUIRE_TOOL("pdftotext");
  const LanguageCase& c = GetParam();
  EXPECT_STREQ(TextLanguage(c.value, c.codePageClass), c.name);
  const TestPage page = TextPage(c.lines, c.font, "-type truecolor");
  const fs::path pdf = dir / "text.pdf";
  ASSERT_EQ(WritePDF(pdf, page, c.value, c.codePageClass, kPaginorFlagText), noErr);
  EXPECT_TRUE(QpdfCheck(pdf));
  const std::string found = WithoutSpaces(PdfText(pdf));
  for (const std::string& line : c.lines) EXPECT_NE(found.find(WithoutSpaces(line)), std::string::npos) << line << "\nin: " << found;
  fs::copy_file(pdf, wxtest::OutputDir("paginor") / (std::string("text-layer-") + c.name + ".pdf"),
                fs::copy_options::overwrite_existing);
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, TextLayerLanguages,
    ::testing::Values(
        LanguageCase{"eng", 2, 0, kLatinFont, {"The quick brown fox jumps", "over the lazy dog"}},
        LanguageCase{"fra", 8, 0, kLatinFont, {"Le garçon français", "mange une crème brûlée"}},
        LanguageCase{"rus", 8, 3, kLatinFont, {"Съешь же ещё этих", "мягких булок"}},
        LanguageCase{"jpn", 3, 0, kJapaneseFont, {"日本語の文章", "東京都"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TextLayer, TheLanguageTableFallsBackToEnglish) {
  struct Row {
    UInt32 value;
    SInt32 codePageClass;
    const char* language;
  };
  for (const Row& row : {Row{16, 0, "ita"}, Row{32, 0, "deu"}, Row{64, 0, "spa"}, Row{128, 0, "nld"},
                         Row{256, 0, "por"}, Row{64, 1, "pol"}, Row{16, 1, "ces"}, Row{32, 1, "hun"},
                         Row{8, 1, "eng"}, Row{3, 3, "eng"}, Row{0, 0, "eng"}, Row{12345, 7, "eng"}})
    EXPECT_STREQ(TextLanguage(row.value, row.codePageClass), row.language) << row.value << "/" << row.codePageClass;
}

TEST_F(TextLayer, WithTheOptionOffThereIsNoTextAndThePagesLookTheSame) {
  WX_REQUIRE_TOOL("pdftoppm");
  const TestPage page = TextPage({"Nothing to find here"}, kLatinFont);
  ASSERT_EQ(WritePDF(dir / "with.pdf", page, 2, 0, kPaginorFlagText), noErr);
  ASSERT_EQ(WritePDF(dir / "off.pdf", page, 2 | kPaginorLanguageOff, 0, kPaginorFlagText), noErr);
  ASSERT_EQ(WritePDF(dir / "noflag.pdf", page, 2, 0, 0), noErr);
  EXPECT_NE(WithoutSpaces(PdfText(dir / "with.pdf")).find("Nothingtofind"), std::string::npos);
  EXPECT_EQ(WithoutSpaces(PdfText(dir / "off.pdf")), "");
  EXPECT_EQ(WithoutSpaces(PdfText(dir / "noflag.pdf")), "");
  std::vector<uint8_t> with, without;
  int w1 = 0, h1 = 0, w2 = 0, h2 = 0;
  ASSERT_TRUE(RenderPDFPage(dir / "with.pdf", 1, 100, &with, &w1, &h1));
  ASSERT_TRUE(RenderPDFPage(dir / "off.pdf", 1, 100, &without, &w2, &h2));
  EXPECT_EQ(w1, w2);
  EXPECT_EQ(h1, h2);
  EXPECT_TRUE(with == without);
}

TEST_F(TextLayer, MissingLanguageDataFailsTheOpen) {
  const fs::path empty = dir / "no-data";
  fs::create_directories(empty);
  setenv("TESSDATA_PREFIX", empty.c_str(), 1);
  const TestPage page = TextPage({"Words"}, kLatinFont);
  EXPECT_EQ(WritePDF(dir / "missing.pdf", page, 2, 0, kPaginorFlagText), kPaginorLanguageDataErr);
  EXPECT_FALSE(fs::exists(dir / "missing.pdf"));
  EXPECT_EQ(QSRC_close(), kPaginorSequenceErr);
  // Without the option the same job needs no language data.
  EXPECT_EQ(WritePDF(dir / "plain.pdf", page, 2 | kPaginorLanguageOff, 0, kPaginorFlagText), noErr);
}

TEST_F(TextLayer, LanguageDataInTheFrameworksFolderIsUsed) {
  const fs::path frameworks = dir / "Frameworks";
  fs::create_directories(frameworks / "tessdata");
  fs::create_symlink("/usr/share/tesseract-ocr/5/tessdata/eng.traineddata", frameworks / "tessdata" / "eng.traineddata");
  fs::create_directories(dir / "no-data");
  setenv("TESSDATA_PREFIX", (dir / "no-data").c_str(), 1);
  QSRC_changepath((frameworks.string() + "/").c_str());
  const TestPage page = TextPage({"Bundled words"}, kLatinFont);
  ASSERT_EQ(WritePDF(dir / "bundled.pdf", page, 2, 0, kPaginorFlagText), noErr);
  EXPECT_NE(WithoutSpaces(PdfText(dir / "bundled.pdf")).find("Bundledwords"), std::string::npos);
}

}  // namespace
