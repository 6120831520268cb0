// The invisible text layer: words Tesseract reads on the page, found again by pdftotext, in
// each script the language popup offers; nothing visible changes.
#include "paginor/TextRecognizer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <sstream>

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

// The page's lines, each with its words one space apart, as pdftotext with `options` gives them.
std::vector<std::string> PdfLines(const fs::path& pdf, const std::string& options) {
  std::string out;
  wxtest::Run("pdftotext -enc UTF-8 " + options + " '" + pdf.string() + "' - 2>/dev/null", &out);
  std::vector<std::string> lines;
  std::istringstream in(out);
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    std::string joined, word;
    while (words >> word) joined += (joined.empty() ? "" : " ") + word;
    if (!joined.empty()) lines.push_back(joined);
  }
  return lines;
}

struct BoxedWord {
  std::string text;
  double xMin, yMin, xMax, yMax;  // points, from the top left
};

std::vector<BoxedWord> PdfWordBoxes(const fs::path& pdf) {
  std::string out;
  wxtest::Run("pdftotext -bbox -enc UTF-8 '" + pdf.string() + "' - 2>/dev/null", &out);
  static const std::regex kWord(
      R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">([^<]*)</word>)re");
  std::vector<BoxedWord> words;
  for (std::sregex_iterator it(out.begin(), out.end(), kWord), end; it != end; ++it)
    words.push_back({(*it)[5], std::stod((*it)[1]), std::stod((*it)[2]), std::stod((*it)[3]), std::stod((*it)[4])});
  return words;
}

// A page of prose, single spaced: pdftotext gives its lines in order, with and without its
// layout mode, and puts each word's box over the word's ink.
TEST_F(TextLayer, APageOfProseReadsBackLineByLineWithEachWordOverItsInk) {
  WX_REQUIRE_TOOL("pdftotext");
  const std::vector<std::string> prose = {
      "When the morning train left the valley the fog was still lying",
      "low over the fields, and the river ran grey beside the track.",
      "Nobody in the carriage spoke for a long time; a woman near",
      "the window folded her newspaper twice and then put it away.",
      "At the third station a boy with a basket of apples came in",
      "and sat down opposite me, looking at the hills as they rose",
      "out of the mist one after another like the backs of animals.",
      "He offered me an apple without a word, and we ate together.",
      "By noon the sun had burned through, the fields were green",
      "again, and the whole carriage seemed to wake up at once.",
      "People began to talk about the harvest, the price of bread,",
      "the weather in the mountains and the long winter to come.",
  };
  const int pixels = 40, step = 50, dpi = 300;
  const fs::path pnm = dir / "prose.pbm";
  ASSERT_TRUE(RenderText(prose, kLatinFont, pixels, 1500, 2 * pixels + step * int(prose.size()), "-monochrome", pnm,
                         step));
  const TestPage page = ReadPNM(pnm, dpi);
  const fs::path pdf = dir / "prose.pdf";
  ASSERT_EQ(WritePDF(pdf, page, 2, 0, kPaginorFlagText), noErr);
  fs::copy_file(pdf, wxtest::OutputDir("paginor") / "text-layer-prose.pdf", fs::copy_options::overwrite_existing);

  EXPECT_EQ(PdfLines(pdf, ""), prose);
  EXPECT_EQ(PdfLines(pdf, "-layout"), prose);

  std::vector<std::string> expected;
  std::vector<int> lineOf;
  for (size_t i = 0; i < prose.size(); ++i) {
    std::istringstream words(prose[i]);
    for (std::string word; words >> word;) expected.push_back(word), lineOf.push_back(int(i));
  }
  const std::vector<BoxedWord> boxes = PdfWordBoxes(pdf);
  ASSERT_EQ(boxes.size(), expected.size());
  const double toPixels = dpi / 72.0;
  auto ink = [&](int x, int y) { return (page.image.data[y * page.image.rowBytes + x / 8] >> (7 - x % 8)) & 1; };
  for (size_t i = 0; i < boxes.size(); ++i) {
    const BoxedWord& box = boxes[i];
    EXPECT_EQ(box.text, expected[i]);
    // The box lies on its line: between the line's cap height and its baseline, give or take.
    const int baseline = 2 * pixels + step * lineOf[i];
    const double centreY = (box.yMin + box.yMax) / 2 * toPixels;
    EXPECT_GT(centreY, baseline - pixels) << box.text;
    EXPECT_LT(centreY, baseline) << box.text;
    // And over the word's ink: a third of the columns of the box have some at least (the
    // engine's box of a short word can be narrower than its letters).
    const int left = int(box.xMin * toPixels), right = int(box.xMax * toPixels);
    int inked = 0;
    for (int x = left; x < right; ++x)
      for (int y = baseline - pixels; y < baseline; ++y)
        if (x >= 0 && x < page.image.width && ink(x, y)) {
          ++inked;
          break;
        }
    EXPECT_GE(3 * inked, right - left) << box.text;
  }
}

}  // namespace
