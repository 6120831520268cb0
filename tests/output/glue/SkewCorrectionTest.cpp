// Straightening written TIFF pages in place, on pages ImageMagick turned by known angles.
#include "output/glue/SkewCorrection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "output/formats/tiffRecognition.h"
#include "output/glue/PATIMGConvert.h"
#include "output/glue/pdfGlue.h"
#include "paginor/Paginor.h"
#include "tests/output/glue/GlueTestEnv.h"
#include "tests/platform/paginor/PageFixtures.h"

namespace {

using gluetest::GlueTest;
using gluetest::Item;
namespace fs = std::filesystem;

constexpr int kDpi = 200;
constexpr int kWidth = 900, kHeight = 700;

enum class Depth { Bilevel, Grey, Colour };

std::string Quote(const std::string& s) { return "'" + s + "'"; }

// The text page with a red patch, turned by `after` (ImageMagick options), as a single-strip
// uncompressed TIFF of `depth`.
bool MakeTIFF(const fs::path& tif, Depth depth, const std::string& after) {
  const fs::path pnm = tif.parent_path() / (tif.stem().string() + ".ppm");
  const std::vector<std::string> lines = {"Straight lines of text make the skew",
                                          "easy to measure for the framework,",
                                          "which finds the angle of each line",
                                          "and turns the page back by it.",
                                          "A page with several lines of words",
                                          "gives a clear answer every time."};
  if (!paginortest::RenderText(lines, paginortest::kLatinFont, 28, kWidth, kHeight,
                               "-fill red -draw 'rectangle 760,560,840,640' -background white " + after +
                                   " -gravity center -extent " + std::to_string(kWidth) + "x" + std::to_string(kHeight),
                               pnm))
    return false;
  const char* kind = depth == Depth::Bilevel ? "-threshold 50% -type bilevel -depth 1 -define quantum:polarity=min-is-white"
                     : depth == Depth::Grey  ? "-colorspace gray -type grayscale -depth 8"
                                             : "-type truecolor -depth 8";
  std::ostringstream command;
  command << "convert " << Quote(pnm.string()) << " " << kind << " -units PixelsPerInch -density " << kDpi
          << " -compress none -define tiff:rows-per-strip=" << kHeight << " " << Quote(tif.string());
  const bool ok = wxtest::Run(command.str()) == 0;
  fs::remove(pnm);
  return ok;
}

// The angle ImageMagick's own deskew finds.
double DeskewAngle(const fs::path& tif) {
  std::string out;
  wxtest::Run("convert " + Quote(tif.string()) + " -deskew 40% -format '%[deskew:angle]' info:", &out);
  return std::atof(out.c_str());
}

// Pixels as 8-bit RGB, for comparing two files.
std::vector<uint8_t> Pixels(const fs::path& tif) {
  wxtest::ScratchDir dir;
  const fs::path rgb = dir / "p.rgb";
  if (wxtest::Run("convert " + Quote(tif.string()) + " -depth 8 rgb:" + Quote(rgb.string())) != 0) return {};
  return wxtest::ReadBytes(rgb);
}

// The framework's view of the page: its detected skew.
double DetectedSkew(const fs::path& tif) {
  std::vector<uint8_t> file = wxtest::ReadBytes(tif);
  tagIMAGEINFO info{};
  if (Recognition_TIFF(file.data(), file.size(), &info) != 1) return 999;
  PATIMG image{};
  if (!FromTIFFToPATIMG(file.data(), &info, &image)) return 999;
  double skew = 999;
  QSRD_spdetect(&image, nullptr, &skew);
  FreePATIMGBuffer(&image);
  return skew;
}

class SkewCorrection : public GlueTest {
 protected:
  void SetUp() override {
    GlueTest::SetUp();
    WX_REQUIRE_TOOL("convert");
    fs::create_directories(pages);
  }
  // Runs the correction as the exporter does and answers its note alert; a stop alert fails
  // the test with its text.
  long Correct(const fs::path& tif, bool skew, bool orientation) {
    FSSpec spec = Spec(tif);
    std::string note;
    ExpectDialog(2, 1, &note);
    const long result = Func_QSRC_Check(spec, skew, orientation, 0);
    if (result == 1) {
      EXPECT_EQ(note, Item(130, 2));
    } else {
      ADD_FAILURE() << "stopped: " << note;
    }
    return result;
  }
  // The folder holds only `name`.
  void ExpectOnly(const std::string& name) { EXPECT_EQ(Names(pages), std::vector<std::string>{name}); }
  fs::path pages = root() / "pages";
};

struct AngleCase {
  Depth depth;
  double degrees;  // ImageMagick's clockwise turn
};

void PrintTo(const AngleCase& c, std::ostream* out) { *out << "depth " << int(c.depth) << ", " << c.degrees << " degrees"; }

class SkewAngles : public SkewCorrection, public ::testing::WithParamInterface<AngleCase> {};

TEST_P(SkewAngles, ThePageComesBackLevelUnderItsOwnName) {
  const AngleCase c = GetParam();
  const fs::path tif = pages / "page0001.tif";
  ASSERT_TRUE(MakeTIFF(tif, c.depth, "-rotate " + std::to_string(c.degrees)));
  EXPECT_NEAR(DetectedSkew(tif), -c.degrees, 0.5);
  ASSERT_EQ(Correct(tif, true, false), 1);
  ExpectOnly("page0001.tif");
  EXPECT_LT(std::fabs(DeskewAngle(tif)), 0.5);

  std::string dump;
  ASSERT_EQ(wxtest::Run("tiffdump " + Quote(tif.string()), &dump), 0);
  int entries = 0;
  std::istringstream dumpLines(dump);
  for (std::string line; std::getline(dumpLines, line);) entries += line.find(") ") != std::string::npos && line.find('<') != std::string::npos;
  EXPECT_EQ(entries, 15) << dump;
  EXPECT_NE(dump.find(c.depth == Depth::Colour ? "StripOffsets (273) LONG (4) 1<216>" : "StripOffsets (273) LONG (4) 1<210>"),
            std::string::npos)
      << dump;
  EXPECT_NE(dump.find("XResolution (282) RATIONAL (5) 1<200>"), std::string::npos) << dump;
  std::string info;
  ASSERT_EQ(wxtest::Run("tiffinfo -D " + Quote(tif.string()), &info), 0);
  std::istringstream lines(info);
  for (std::string line; std::getline(lines, line);) {
    if (line.find("arning") != std::string::npos) {
      EXPECT_NE(line.find("tag 317"), std::string::npos) << line;  // libtiff's note on Predictor
    }
  }
  const std::vector<uint8_t> rgb = Pixels(tif);
  ASSERT_EQ(rgb.size(), size_t(kWidth) * kHeight * 3);
  auto at = [&](int x, int y) { return &rgb[(size_t(y) * kWidth + x) * 3]; };
  for (int c2 = 0; c2 < 3; ++c2) EXPECT_EQ(at(2, 2)[c2], 255) << "the filled corner is white";
  if (c.depth == Depth::Colour) {
    const uint8_t* red = at(800, 600);
    EXPECT_GT(red[0], 200);
    EXPECT_LT(red[1], 60);
    EXPECT_LT(red[2], 60);
  }
  const char* name = c.depth == Depth::Bilevel ? "bilevel" : c.depth == Depth::Grey ? "grey" : "colour";
  fs::copy_file(tif, wxtest::OutputDir("glue") / ("straightened-" + std::string(name) + ".tif"),
                fs::copy_options::overwrite_existing);
}

INSTANTIATE_TEST_SUITE_P(Table, SkewAngles,
                         ::testing::Values(AngleCase{Depth::Grey, -4.0}, AngleCase{Depth::Grey, 2.5},
                                           AngleCase{Depth::Grey, 5.0}, AngleCase{Depth::Bilevel, -3.0},
                                           AngleCase{Depth::Bilevel, 1.5}, AngleCase{Depth::Colour, 3.0},
                                           AngleCase{Depth::Colour, -2.0}),
                         [](const auto& info) {
                           const AngleCase& c = info.param;
                           std::string name = c.depth == Depth::Bilevel ? "Bilevel" : c.depth == Depth::Grey ? "Grey" : "Colour";
                           return name + (c.degrees < 0 ? "Minus" : "Plus") + std::to_string(int(std::fabs(c.degrees) * 10));
                         });

TEST_F(SkewCorrection, TurnedPagesComeBackUprightPixelForPixel) {
  const fs::path upright = root() / "upright.tif";
  ASSERT_TRUE(MakeTIFF(upright, Depth::Grey, ""));
  const std::vector<uint8_t> want = Pixels(upright);
  for (int turn : {90, 180, 270}) {
    SCOPED_TRACE(turn);
    const fs::path tif = pages / "turned.tif";
    ASSERT_EQ(wxtest::Run("convert " + Quote(upright.string()) + " -rotate " + std::to_string(turn) +
                          " -compress none -define tiff:rows-per-strip=" + std::to_string(turn == 180 ? kHeight : kWidth) +
                          " " + Quote(tif.string())),
              0);
    ASSERT_EQ(Correct(tif, false, true), 1);
    ExpectOnly("turned.tif");
    EXPECT_EQ(Pixels(tif), want);
    fs::remove(tif);
  }
}

TEST_F(SkewCorrection, APhotographAndBothOptionsOffKeepThePixels) {
  const fs::path photo = pages / "photo.tif";
  const fs::path ppm = root() / "photo.ppm";
  ASSERT_EQ(wxtest::Run("convert -seed 7 -size 320x240 plasma:fractal " + Quote(ppm.string())), 0);
  ASSERT_EQ(wxtest::Run("convert " + Quote(ppm.string()) +
                        " -type truecolor -depth 8 -units PixelsPerInch -density 200 -compress none "
                        "-define tiff:rows-per-strip=240 " +
                        Quote(photo.string())),
            0);
  const std::vector<uint8_t> before = Pixels(photo);
  ASSERT_EQ(Correct(photo, false, true), 1);
  EXPECT_EQ(Pixels(photo), before);
  ASSERT_EQ(Correct(photo, false, false), 1);
  EXPECT_EQ(Pixels(photo), before);
  ExpectOnly("photo.tif");
}

TEST(ChangeFileName, CutsAtTheFirstDotAndAddsTheSuffix) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {{"page0001.tif", "page0001_correct.tif"}, {"scan", "scan_correct.tif"},
               {"a.b.c", "a_correct.tif"},               {".hidden", "_correct.tif"}};
  for (const Case& c : cases) {
    Str255 in, out;
    in[0] = static_cast<unsigned char>(std::strlen(c.in));
    std::memcpy(in + 1, c.in, in[0]);
    Change_File_Name(out, in);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out + 1), out[0]), c.out);
  }
  Str255 longName, out;
  longName[0] = 250;
  std::memset(longName + 1, 'x', 250);
  Change_File_Name(out, longName);
  EXPECT_EQ(out[0], 255);  // cut to fit, suffix kept
  EXPECT_EQ(std::string(reinterpret_cast<char*>(out + 244), 12), "_correct.tif");
}

// Each failure stops with alert 129 naming its item, leaves the page as it was and no
// corrected file, and leaves the framework ready for the next job.
enum class Fault { MissingInput, TempMemory, ReadLimit, Damaged, WriteLimit, LockedInput };

std::string FaultName(Fault fault) {
  static const char* const kNames[] = {"MissingInput", "TempMemory", "ReadLimit", "Damaged", "WriteLimit", "LockedInput"};
  return kNames[static_cast<int>(fault)];
}

void PrintTo(Fault fault, std::ostream* out) { *out << FaultName(fault); }

class SkewFailures : public SkewCorrection, public ::testing::WithParamInterface<Fault> {};

TEST_P(SkewFailures, StopWithTheirItemAndLeaveThePage) {
  const fs::path tif = pages / "page0002.tif";
  ASSERT_TRUE(MakeTIFF(tif, Depth::Grey, "-rotate 2"));
  SInt16 item = 0;
  bool noteFirst = false;
  switch (GetParam()) {
    case Fault::MissingInput:
      fs::rename(tif, pages / "elsewhere.tif");
      item = 1;
      break;
    case Fault::TempMemory:
      MemSetTempLimit(1000);
      item = 3;
      break;
    case Fault::ReadLimit:
      FSTestSetReadLimit(1000);
      item = 4;
      break;
    case Fault::Damaged: {
      std::vector<uint8_t> bytes = wxtest::ReadBytes(tif);
      bytes.resize(bytes.size() / 2);  // the strip runs past the end
      wxtest::WriteBytes(tif, bytes);
      item = 5;
      break;
    }
    case Fault::WriteLimit:
      FSTestSetWriteLimit(5000);  // the header and a few rows
      item = 13;
      break;
    case Fault::LockedInput:
      fs::permissions(tif, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
      item = 14;
      noteFirst = true;  // the page was straightened before it could not take its place
      break;
  }
  const fs::path present = GetParam() == Fault::MissingInput ? pages / "elsewhere.tif" : tif;
  const std::vector<uint8_t> before = wxtest::ReadBytes(present);
  FSSpec spec = Spec(tif);
  std::string first, second;
  ExpectDialog(2, 1, &first);
  if (noteFirst) ExpectDialog(2, 1, &second);
  EXPECT_EQ(Func_QSRC_Check(spec, 1, 1, 32), 0);
  FSTestSetWriteLimit(-1);
  FSTestSetReadLimit(-1);
  MemSetTempLimit(0);
  const std::string& stop = noteFirst ? second : first;
  EXPECT_EQ(stop.substr(0, Item(129, item).size()), Item(129, item)) << stop;
  EXPECT_EQ(wxtest::ReadBytes(present), before);
  ExpectOnly(present.filename().string());

  // The next PDF job works.
  const fs::path pdf = root() / "after.pdf";
  ASSERT_EQ(QSRC_exopen(pdf.c_str(), 0, 0), noErr);
  paginortest::TestPage page = paginortest::MakePage(kPATIMGGrey, 40, 30, 100, 0, [](int x, int) -> std::array<uint8_t, 3> {
    return {uint8_t(x * 6), 0, 0};
  });
  ASSERT_EQ(QSRC_spmake(&page.image, 0), noErr);
  ASSERT_EQ(QSRC_close(), noErr);
  EXPECT_TRUE(paginortest::QpdfCheck(pdf));
  fs::permissions(present, fs::perms::owner_read | fs::perms::owner_write);
}

INSTANTIATE_TEST_SUITE_P(Table, SkewFailures,
                         ::testing::Values(Fault::MissingInput, Fault::TempMemory, Fault::ReadLimit, Fault::Damaged,
                                           Fault::WriteLimit, Fault::LockedInput),
                         [](const auto& info) { return FaultName(info.param); });

// A TIFF that names no resolution (no denominators) converts at 72 dpi and comes back so.
TEST(PATIMGConvert, APageWithoutResolutionCountsAsSeventyTwoDpi) {
  std::vector<uint8_t> file(8 + 4 * 2, 0x80);
  tagIMAGEINFO info{};
  info.ImageWidth = 4;
  info.ImageLength = 2;
  info.RowsPerStrip = 2;
  info.StripOffsets = 8;
  info.StripByteCounts = 8;
  info.BitsPerSample = 8;
  info.SamplesPerPixel = 1;
  info.PhotometricInterpretation = 1;
  info.Kind = kTIFFKindGray;
  PATIMG image{};
  ASSERT_EQ(FromTIFFToPATIMG(file.data(), &info, &image), 1);
  EXPECT_EQ(image.xResolution, 72);
  EXPECT_EQ(image.yResolution, 72);
  unsigned char* back = nullptr;
  ASSERT_EQ(FromPATIMGToTIFF(&image, &back, &info), 1);
  EXPECT_EQ(info.XResolutionNumerator, 72u);
  EXPECT_EQ(info.XResolutionDenominator, 1u);
  FreeTiffBuffer(back);
  FreePATIMGBuffer(&image);
}

}  // namespace
