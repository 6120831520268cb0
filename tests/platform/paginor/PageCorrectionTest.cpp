// Skew and orientation: what QSRD_spdetect finds on pages turned by known angles, what
// QSRF_spcorrect makes of them, and output jobs that straighten every page.
#include "paginor/Paginor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "PageFixtures.h"
#include "paginor/PageCorrection.h"
#include "paginor/PageImage.h"
#include "support/TestEnv.h"
#include "toolbox/MacErrors.h"

namespace fs = std::filesystem;
using namespace paginortest;

namespace {

const std::vector<std::string> kLines = {"The quick brown fox jumps over the lazy dog.",
                                         "Pack my box with five dozen liquor jugs.",
                                         "Sphinx of black quartz, judge my vow today."};

const char* KindOption(int32_t type) {
  return type == kPATIMGBilevel ? "-monochrome" : type == kPATIMGGrey ? "-colorspace gray" : "-type truecolor";
}
const char* KindExtension(int32_t type) {
  return type == kPATIMGBilevel ? "pbm" : type == kPATIMGGrey ? "pgm" : "ppm";
}

class PageCorrection : public ::testing::Test {
 protected:
  void TearDown() override {
    while (QSRC_close() != kPaginorSequenceErr) {
    }
  }
  // The text page of `type`, turned by ImageMagick's `-rotate degrees` (clockwise).
  TestPage TurnedPage(int32_t type, double degrees, const std::string& name = "page") {
    std::ostringstream after;
    // Thresholded before the turn, so quarter turns of a bilevel page stay pixel for pixel.
    after << KindOption(type) << " -background white -rotate " << degrees;
    const fs::path pnm = dir / (name + "." + KindExtension(type));
    EXPECT_TRUE(RenderText(kLines, kLatinFont, 40, 1300, 420, after.str(), pnm));
    return ReadPNM(pnm, 300);
  }
  wxtest::ScratchDir dir;
};

// A page of `type` turned clockwise by ImageMagick.
struct TurnCase {
  int32_t type;
  double turn;
};

class PageSkew : public PageCorrection, public ::testing::WithParamInterface<TurnCase> {};

TEST_P(PageSkew, IsFoundWithinHalfADegreeAndCorrected) {
  WX_REQUIRE_TOOL("convert");
  const TurnCase c = GetParam();
  const TestPage page = TurnedPage(c.type, c.turn);
  SInt32 orientation = -1;
  double skew = 99;
  ASSERT_GE(QSRD_spdetect(&page.image, &orientation, &skew), 0);
  EXPECT_EQ(orientation, 0);
  // A clockwise turn is undone by a counter-clockwise one: the opposite sign.
  EXPECT_NEAR(skew, -c.turn, 0.5);

  PATIMG corrected{};
  ASSERT_EQ(QSRF_spcorrect(&page.image, &corrected, 0, skew), noErr);
  EXPECT_EQ(corrected.type, c.type);
  EXPECT_EQ(corrected.width, page.image.width);
  EXPECT_EQ(corrected.height, page.image.height);
  double residual = 99;
  ASSERT_GE(QSRD_spdetect(&corrected, nullptr, &residual), 0);
  EXPECT_NEAR(residual, 0.0, 0.5);
  WritePNM(corrected, wxtest::OutputDir("paginor") / ("deskewed-" + std::to_string(c.type) + "." + KindExtension(c.type)));
  EXPECT_EQ(QSRF_spfreeimage(&corrected), noErr);
}

std::vector<TurnCase> SkewCases() {
  std::vector<TurnCase> cases;
  for (int32_t type : {kPATIMGBilevel, kPATIMGGrey, kPATIMGColour})
    for (double turn : {-4.5, -1.5, 2.0, 3.5}) cases.push_back({type, turn});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Table, PageSkew, ::testing::ValuesIn(SkewCases()), [](const auto& info) {
  std::string name = "Type" + std::to_string(info.param.type) + "Turn" + std::to_string(int(info.param.turn * 10));
  for (char& ch : name)
    if (ch == '-') ch = 'm';
  return name;
});

class PageOrientation : public PageCorrection, public ::testing::WithParamInterface<TurnCase> {};

TEST_P(PageOrientation, ComesBackUprightPixelForPixel) {
  WX_REQUIRE_TOOL("convert");
  const TurnCase c = GetParam();
  const int turn = int(c.turn);
  const TestPage upright = TurnedPage(c.type, 0, "upright");
  const TestPage turned = TurnedPage(c.type, c.turn, "turned");
  SInt32 orientation = -1;
  ASSERT_GE(QSRD_spdetect(&turned.image, &orientation, nullptr), 0);
  EXPECT_EQ(orientation, (360 - turn) % 360);
  PATIMG corrected{};
  ASSERT_EQ(QSRF_spcorrect(&turned.image, &corrected, orientation, 0.0), noErr);
  ASSERT_EQ(corrected.width, upright.image.width);
  ASSERT_EQ(corrected.height, upright.image.height);
  EXPECT_EQ(corrected.rowBytes, upright.image.rowBytes);
  EXPECT_EQ(std::memcmp(corrected.data, upright.image.data, upright.bytes.size()), 0);
  QSRF_spfreeimage(&corrected);
}

INSTANTIATE_TEST_SUITE_P(Table, PageOrientation,
                         ::testing::Values(TurnCase{kPATIMGBilevel, 90}, TurnCase{kPATIMGGrey, 180},
                                           TurnCase{kPATIMGColour, 270}, TurnCase{kPATIMGBilevel, 270},
                                           TurnCase{kPATIMGGrey, 90}, TurnCase{kPATIMGColour, 180}),
                         [](const auto& info) {
                           return "Type" + std::to_string(info.param.type) + "Turn" + std::to_string(int(info.param.turn));
                         });

TEST_F(PageCorrection, APhotographIsLeftAsItIs) {
  WX_REQUIRE_TOOL("convert");
  const fs::path photo = dir / "photo.ppm";
  ASSERT_EQ(wxtest::Run("convert -size 500x350 -seed 7 plasma:fractal -blur 0x2 -depth 8 '" + photo.string() + "'"), 0);
  const TestPage page = ReadPNM(photo, 200);
  SInt32 orientation = -1;
  double skew = 99;
  EXPECT_GE(QSRD_spdetect(&page.image, &orientation, &skew), 0);
  EXPECT_EQ(orientation, 0);
  EXPECT_EQ(skew, 0.0);
  EXPECT_EQ(QSRD_spdetect(&page.image, nullptr, nullptr), noErr);
}

TEST_F(PageCorrection, NoTurnGivesAnUnpaddedExactCopy) {
  for (int32_t type : {kPATIMGBilevel, kPATIMGGrey, kPATIMGColour}) {
    const TestPage page = MakePage(type, 37, 11, 300, 1, [](int x, int y) {
      return std::array<uint8_t, 3>{uint8_t(x * 9), uint8_t(y * 20), uint8_t(x + y)};
    });
    PATIMG copy{};
    ASSERT_EQ(QSRF_spcorrect(&page.image, &copy, 0, 0.0), noErr);
    const int32_t length = page.image.rowBytes - 1;
    EXPECT_EQ(copy.rowBytes, length);
    EXPECT_EQ(copy.type, type);
    EXPECT_EQ(copy.xResolution, 300);
    for (int y = 0; y < 11; ++y)
      EXPECT_EQ(std::memcmp(copy.data + y * length, page.image.data + y * page.image.rowBytes, length), 0);
    EXPECT_EQ(QSRF_spfreeimage(&copy), noErr);
    EXPECT_EQ(copy.data, nullptr);
    EXPECT_EQ(QSRF_spfreeimage(&copy), noErr);
  }
}

// A grey or colour page is turned and measured without a Leptonica copy of it; the pixels
// and the skew found are still Leptonica's own, to the bit, at any angle, odd size and row
// padding.
TEST_F(PageCorrection, AGreyOrColourPageIsTurnedAndMeasuredAsLeptonicaDoesIt) {
  const LeptonicaCalls& lept = Leptonica();
  for (const int32_t type : {kPATIMGGrey, kPATIMGColour}) {
    SCOPED_TRACE(type);
    const TestPage page = MakePage(type, 331, 207, 300, 5, [](int x, int y) {
      return std::array<uint8_t, 3>{uint8_t(x * 7 ^ y * 3), uint8_t(x * y), uint8_t((x / 9 + y / 5) % 2 * 255)};
    });
    for (const double degrees : {-44.9, -7.3, -0.05, 0.06, 2.0, 3.5, 30.0}) {
      SCOPED_TRACE(degrees);
      PATIMG ours{};
      ASSERT_EQ(QSRF_spcorrect(&page.image, &ours, 0, degrees), noErr);
      PixPtr pix = PageToPix(page.image);
      PixPtr turned(
          lept.pixRotate(pix.get(), float(degrees * M_PI / 180.0), L_ROTATE_AREA_MAP, L_BRING_IN_WHITE, 0, 0));
      PATIMG theirs{};
      ASSERT_EQ(PageFromPix(turned.get(), type, 300, 300, &theirs), noErr);
      ASSERT_EQ(ours.rowBytes, theirs.rowBytes);
      EXPECT_EQ(std::memcmp(ours.data, theirs.data, size_t(ours.rowBytes) * size_t(ours.height)), 0);
      QSRF_spfreeimage(&ours);
      QSRF_spfreeimage(&theirs);
    }
    const TestPage text = TurnedPage(type, 2.5);
    double found = 0.0, expected = 0.0;
    ASSERT_EQ(QSRD_spdetect(&text.image, nullptr, &found), noErr);
    PixPtr pix = PageToPix(text.image);
    PixPtr binary(lept.pixConvertTo1(pix.get(), 128));
    ASSERT_EQ(DetectSkew(binary.get(), &expected), noErr);
    EXPECT_NE(found, 0.0);
    EXPECT_EQ(found, expected);
  }
}

TEST_F(PageCorrection, QuarterTurnsSwapSizeAndResolutionAndUncoveredAreasAreWhite) {
  for (int32_t type : {kPATIMGBilevel, kPATIMGGrey, kPATIMGColour}) {
    TestPage page = MakePage(type, 60, 40, 300, 1, [](int, int) { return std::array<uint8_t, 3>{0, 0, 0}; });
    page.image.yResolution = 150;
    PATIMG turned{};
    ASSERT_EQ(QSRF_spcorrect(&page.image, &turned, 90, 0.0), noErr);
    EXPECT_EQ(turned.width, 40);
    EXPECT_EQ(turned.height, 60);
    EXPECT_EQ(turned.xResolution, 150);
    EXPECT_EQ(turned.yResolution, 300);
    QSRF_spfreeimage(&turned);
    ASSERT_EQ(QSRF_spcorrect(&page.image, &turned, 180, 10.0), noErr);
    EXPECT_EQ(turned.width, 60);
    EXPECT_EQ(turned.height, 40);
    EXPECT_EQ(turned.xResolution, 300);
    // The top left corner was outside the black page before the turn.
    const int white = type == kPATIMGBilevel ? !(turned.data[0] & 0x80)
                      : type == kPATIMGGrey  ? turned.data[0] == 255
                                             : turned.data[0] + turned.data[1] + turned.data[2] == 3 * 255;
    EXPECT_TRUE(white) << "type " << type;
    QSRF_spfreeimage(&turned);
  }
}

TEST_F(PageCorrection, TurnsItCannotMakeAreRefused) {
  const TestPage page = MakePage(kPATIMGGrey, 20, 20, 300, 0, [](int, int) { return std::array<uint8_t, 3>{}; });
  PATIMG result{};
  EXPECT_EQ(QSRF_spcorrect(&page.image, &result, 45, 0.0), paramErr);
  EXPECT_EQ(QSRF_spcorrect(&page.image, &result, -90, 0.0), paramErr);
  EXPECT_EQ(QSRF_spcorrect(&page.image, &result, 360, 0.0), paramErr);
  EXPECT_EQ(QSRF_spcorrect(&page.image, &result, 0, std::nan("")), paramErr);
  EXPECT_EQ(QSRF_spcorrect(&page.image, &result, 0, 91.0), paramErr);
  EXPECT_EQ(QSRF_spcorrect(&page.image, nullptr, 0, 0.0), kPaginorBadImageErr);
  EXPECT_EQ(result.data, nullptr);
  EXPECT_EQ(QSRF_spfreeimage(nullptr), paramErr);
}

TEST_F(PageCorrection, MissingOrientationDataFailsTheOpen) {
  // A fresh process: the detector, once loaded, stays loaded.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        const fs::path empty = dir / "no-data";
        fs::create_directories(empty);
        setenv("TESSDATA_PREFIX", empty.c_str(), 1);
        const TestPage page = MakePage(kPATIMGGrey, 40, 30, 300, 0, [](int, int) { return std::array<uint8_t, 3>{}; });
        SInt32 orientation = 0;
        const bool refused = QSRC_exopen(nullptr, kPaginorFlagOrientation, 0) == kPaginorLanguageDataErr &&
                             QSRC_exopen((dir / "a.pdf").c_str(), kPaginorFlagOrientation, 0) == kPaginorLanguageDataErr &&
                             QSRC_close() == kPaginorSequenceErr &&
                             QSRD_spdetect(&page.image, &orientation, nullptr) == kPaginorLanguageDataErr;
        const bool skewStillWorks = QSRC_exopen(nullptr, kPaginorFlagSkew, 0) == noErr && QSRC_close() == noErr;
        std::exit(refused && skewStillWorks ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST_F(PageCorrection, AnOutputJobStraightensEveryPage) {
  WX_REQUIRE_TOOL("pdfimages");
  const fs::path pdf = dir / "straight.pdf";
  QSRC_exmodeset(kPaginorModeNormal, kPaginorLanguageOff, 0);
  ASSERT_EQ(QSRC_exopen(pdf.c_str(), kPaginorFlagSkew | kPaginorFlagOrientation, 0), noErr);
  const TestPage first = TurnedPage(kPATIMGGrey, 3.0, "first");
  const TestPage second = TurnedPage(kPATIMGGrey, -2.5, "second");
  const TestPage third = TurnedPage(kPATIMGBilevel, 90, "third");
  for (const TestPage* page : {&first, &second, &third}) ASSERT_EQ(QSRC_spmake(&page->image, 0), noErr);
  ASSERT_EQ(QSRC_close(), noErr);
  EXPECT_TRUE(QpdfCheck(pdf));
  const auto sizes = PageSizes(pdf);
  ASSERT_EQ(sizes.size(), 3u);
  // The third page came in on its side and is stored upright.
  EXPECT_GT(sizes[2][0], sizes[2][1]);
  for (int page = 1; page <= 3; ++page) {
    const fs::path root = dir / "out";
    ASSERT_EQ(wxtest::Run("pdfimages -f " + std::to_string(page) + " -l " + std::to_string(page) + " '" +
                          pdf.string() + "' '" + root.string() + "'"),
              0);
    const fs::path file = fs::exists(root.string() + "-000.pbm") ? root.string() + "-000.pbm" : root.string() + "-000.ppm";
    const TestPage stored = ReadPNM(file, 300);
    fs::remove(file);
    SInt32 orientation = -1;
    double skew = 99;
    ASSERT_GE(QSRD_spdetect(&stored.image, &orientation, &skew), 0);
    EXPECT_EQ(orientation, 0) << "page " << page;
    EXPECT_NEAR(skew, 0.0, 0.5) << "page " << page;
  }
  fs::copy_file(pdf, wxtest::OutputDir("paginor") / "straightened.pdf", fs::copy_options::overwrite_existing);
}

}  // namespace
