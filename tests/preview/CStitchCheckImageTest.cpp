#include <gtest/gtest.h>

#include <functional>

#include "output/formats/InitMakeTIFF.h"
#include "preview/CStitchCheckImage.h"
#include "preview/CStitchCheckStitch.h"
#include "support/TestEnv.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"
#include "toolbox/RecordAccess.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

FSSpec Spec(const fs::path& path) {
  FSSpec spec;
  FSpMakeFromPOSIXPath(path.string(), &spec);
  return spec;
}

// A half as the output services write it: our fixed header, then `rows` strip bytes.
void WriteHalf(const fs::path& path, uint32_t kind, uint32_t photometric, uint32_t width, uint32_t height,
               const Bytes& rows) {
  tagIMAGEINFO info{};
  info.ImageWidth = width;
  info.ImageLength = height;
  info.PhotometricInterpretation = photometric;
  info.StripByteCounts = uint32_t(rows.size());
  info.XResolutionNumerator = info.YResolutionNumerator = 300;
  info.XResolutionDenominator = info.YResolutionDenominator = 1;
  info.Kind = kind;
  const FSSpec spec = Spec(path);
  ASSERT_EQ(FSpCreate(&spec, '8BIM', 'TIFF', smSystemScript), noErr);
  SInt16 ref = 0;
  ASSERT_EQ(FSpOpenDF(&spec, fsWrPerm, &ref), noErr);
  ASSERT_EQ(Init_Make_TIFF(ref, &info), noErr);
  long count = long(rows.size());
  ASSERT_EQ(FSWrite(ref, &count, rows.data()), noErr);
  ASSERT_EQ(FSClose(ref), noErr);
}

// A colour half whose pixel (x, y) is (x mod 251, y mod 241, tag).
Bytes ColourRows(uint32_t width, uint32_t height, uint8_t tag) {
  Bytes rows;
  for (uint32_t y = 0; y < height; ++y)
    for (uint32_t x = 0; x < width; ++x) rows.insert(rows.end(), {uint8_t(x % 251), uint8_t(y % 241), tag});
  return rows;
}

// The strip of a colour TIFF the model wrote, checked to read as RGB.
Bytes StripOf(const fs::path& path, uint32_t* width = nullptr) {
  const Bytes file = wxtest::ReadBytes(path);
  tagIMAGEINFO info{};
  if (Recognition_TIFF(file.data(), file.size(), &info) != 1 || info.Kind != kTIFFKindColor ||
      info.PhotometricInterpretation != 2)
    return {};
  if (width) *width = info.ImageWidth;
  return Bytes(file.begin() + info.StripOffsets, file.begin() + info.StripOffsets + info.StripByteCounts);
}

class StitchImage : public ::testing::Test {
 protected:
  void TearDown() override {
    MemSetTempLimit(0);
    FSTestSetWriteLimit(-1);
  }
  // Both halves loaded and placed; the frame at `framePt` of `frame`, right half on top
  // when `front`.
  OSErr Merge(CStitchCheckImage& left, CStitchCheckImage& right, Point rp, Point framePt, Rect frame,
              unsigned char front) {
    Rect l, r;
    if (!left.GetImageRect(&l) || !right.GetImageRect(&r)) return -1;
    CStitchCheckStitch stitch;
    stitch.CreateStitchScreen(&l, &r);
    stitch.SetRightImagePt(&rp);
    stitch.SetMergeSaveFramePt(&framePt);
    stitch.SetMergeSaveFrameRect(&frame);
    stitch.SetIsRightImageOver(front);
    return left.CreateMergeImage(&stitch, &right);
  }
  Bytes SavedMerge(CStitchCheckImage& left, const std::string& name) {
    const FSSpec out = Spec(dir / name);
    EXPECT_EQ(left.SaveMergeImage(&out), noErr) << name;
    return wxtest::ReadBytes(dir / name);
  }
  wxtest::ScratchDir dir;
};

TEST_F(StitchImage, LoadsEveryDepthAsColour) {
  WX_REQUIRE_TOOL("tiffinfo");
  // 13 pixels a row, each row 4 bytes long in the file: the spare bytes and bits are ignored.
  const Bytes bilevel = {0xA5, 0xF8, 0xFF, 0xFF, 0x00, 0x07, 0x00, 0xFF};
  Bytes bilevelRGB;
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 13; ++x) {
      const bool black = bilevel[size_t(4 * y + x / 8)] & (0x80 >> (x % 8));
      bilevelRGB.insert(bilevelRGB.end(), 3, black ? 0 : 255);
    }
  const Bytes grey = {0, 100, 255};
  struct Case {
    const char* name;
    uint32_t kind, photometric, width, height;
    Bytes rows, rgb;
    short depth;
  };
  const Case cases[] = {
      {"bilevel", kTIFFKindBilevel, 0, 13, 2, bilevel, bilevelRGB, 1},
      {"grey, black is zero", kTIFFKindGray, 1, 3, 1, grey, {0, 0, 0, 100, 100, 100, 255, 255, 255}, 8},
      {"grey, white is zero", kTIFFKindGray, 0, 3, 1, grey, {255, 255, 255, 155, 155, 155, 0, 0, 0}, 8},
      {"colour", kTIFFKindColor, 2, 3, 2, ColourRows(3, 2, 7), ColourRows(3, 2, 7), 24},
  };
  for (const auto& c : cases) {
    const fs::path in = dir / "in.tif", out = dir / "out.tif";
    fs::remove(in);
    WriteHalf(in, c.kind, c.photometric, c.width, c.height, c.rows);
    CStitchCheckImage image;
    const FSSpec inSpec = Spec(in), outSpec = Spec(out);
    ASSERT_EQ(image.SetImage(&inSpec), noErr) << c.name;
    EXPECT_EQ(image.GetDepth(), c.depth) << c.name;
    Rect r{};
    ASSERT_TRUE(image.GetImageRect(&r)) << c.name;
    EXPECT_EQ(r.right, c.width) << c.name;
    EXPECT_EQ(r.bottom, c.height) << c.name;
    ASSERT_EQ(image.GetImage(&outSpec), noErr) << c.name;
    EXPECT_EQ(StripOf(out), c.rgb) << c.name;
    // libtiff notes the fixed header's Predictor entry (1, none); any other warning is a fault.
    std::string report;
    EXPECT_EQ(wxtest::Run("tiffinfo '" + out.string() + "' 2>&1", &report), 0) << c.name;
    const std::string predictorNote = "TIFFReadDirectory: Warning, Unknown field with tag 317 (0x13d) encountered.\n";
    if (const size_t at = report.find(predictorNote); at != std::string::npos) report.erase(at, predictorNote.size());
    EXPECT_NE(report.find("RGB color"), std::string::npos) << c.name << report;
    EXPECT_EQ(report.find("Warning"), std::string::npos) << c.name << report;
    EXPECT_EQ(report.find("rror"), std::string::npos) << c.name << report;
  }
  fs::copy_file(dir / "out.tif", wxtest::OutputDir("stitch") / "half.tif", fs::copy_options::overwrite_existing);
}

TEST_F(StitchImage, EmptyOrDamagedHalvesAreRefused) {
  CStitchCheckImage empty;
  Rect r{1, 2, 3, 4};
  EXPECT_FALSE(empty.GetImageRect(&r));
  EXPECT_EQ(r.right, 4) << "untouched";

  WriteHalf(dir / "good.tif", kTIFFKindColor, 2, 3, 2, ColourRows(3, 2, 0));
  const Bytes good = wxtest::ReadBytes(dir / "good.tif");
  const auto valueOf = [](int entry) { return size_t(10 + 12 * entry + 8); };
  struct Damage {
    const char* what;
    size_t at;
    int bytes;
    uint32_t value;
  };
  const Damage cases[] = {
      {"strip past the end", valueOf(6), 4, 1000},
      {"colour with one sample", valueOf(7), 2, 1},
      {"short strip", valueOf(9), 4, 17},
      {"strip cut off", 216 + 10, 0, 0},
  };
  for (const auto& d : cases) {
    Bytes bad = good;
    if (d.bytes == 0)
      bad.resize(d.at);
    else if (d.bytes == 2)
      BEPutU16(bad.data() + d.at, uint16_t(d.value));
    else
      BEPutU32(bad.data() + d.at, d.value);
    wxtest::WriteBytes(dir / "bad.tif", bad);
    CStitchCheckImage image;
    const FSSpec spec = Spec(dir / "bad.tif");
    EXPECT_EQ(image.SetImage(&spec), CSaveImage::kNotOurTIFF) << d.what;
    EXPECT_FALSE(image.GetImageRect(&r)) << d.what;
  }
}

TEST_F(StitchImage, TwoHalfTurnsRestoreEveryPixel) {
  WriteHalf(dir / "in.tif", kTIFFKindColor, 2, 5, 3, ColourRows(5, 3, 9));
  CStitchCheckImage image;
  const FSSpec in = Spec(dir / "in.tif"), once = Spec(dir / "once.tif"), twice = Spec(dir / "twice.tif");
  ASSERT_EQ(image.SetImage(&in), noErr);
  image.RotateImage(180);
  ASSERT_EQ(image.GetImage(&once), noErr);
  image.RotateImage(180);
  ASSERT_EQ(image.GetImage(&twice), noErr);
  const Bytes original = ColourRows(5, 3, 9);
  Bytes turned;
  for (size_t i = original.size(); i >= 3; i -= 3)
    turned.insert(turned.end(), original.begin() + i - 3, original.begin() + i);
  EXPECT_EQ(StripOf(dir / "once.tif"), turned);
  EXPECT_EQ(StripOf(dir / "twice.tif"), original);
}

// Halves of 1000 x 800; the right one at (900, 900) against the left at (800, 0).
TEST_F(StitchImage, MergesTheWorkedExampleWithEitherHalfOnTop) {
  WriteHalf(dir / "l.tif", kTIFFKindColor, 2, 1000, 800, ColourRows(1000, 800, 1));
  WriteHalf(dir / "r.tif", kTIFFKindColor, 2, 1000, 800, ColourRows(1000, 800, 2));
  for (unsigned char front : {1, 0}) {
    CStitchCheckImage left, right;
    const FSSpec l = Spec(dir / "l.tif"), r = Spec(dir / "r.tif");
    ASSERT_EQ(left.SetImage(&l), noErr);
    ASSERT_EQ(right.SetImage(&r), noErr);
    ASSERT_EQ(Merge(left, right, {900, 900}, {850, 100}, {0, 0, 600, 1700}, front), noErr);
    ASSERT_EQ(left.GetMergeWidth(), 1700);
    ASSERT_EQ(left.GetMergeHeight(), 600);
    const Bytes raw = SavedMerge(left, "merged.raw");
    ASSERT_EQ(raw.size(), 1700u * 3 * 600);
    // Left half: rows 50 + y, columns 100 to 999. Right half, shifted by (100, 900) on the
    // left half's grid: rows y - 50, columns 0 to 899. Elsewhere white.
    size_t wrong = 0;
    for (long y = 0; y < 600; ++y)
      for (long x = 0; x < 1700; ++x) {
        const long h = 100 + x, v = 50 + y;
        const bool inLeft = h < 1000, inRight = h >= 900 && v >= 100;
        uint8_t want[3] = {255, 255, 255};
        if (inRight && (front || !inLeft)) {
          want[0] = uint8_t((h - 900) % 251), want[1] = uint8_t((v - 100) % 241), want[2] = 2;
        } else if (inLeft) {
          want[0] = uint8_t(h % 251), want[1] = uint8_t(v % 241), want[2] = 1;
        }
        const uint8_t* got = raw.data() + 3 * (y * 1700 + x);
        wrong += got[0] != want[0] || got[1] != want[1] || got[2] != want[2];
      }
    EXPECT_EQ(wrong, 0u) << "front " << int(front);
    const uint8_t* overlap = raw.data() + 3 * (100 * 1700 + 850);
    EXPECT_EQ(overlap[2], front ? 2 : 1);
    const uint8_t* corner = raw.data() + 3 * (10 * 1700 + 1500);
    EXPECT_EQ(corner[0] & corner[1] & corner[2], 255) << "rows above the right half, right of the left one";
  }
}

TEST_F(StitchImage, SavesRawRowsAtTheScannedDepth) {
  // Halves of 5 x 2, the right one a row lower and over the left one's last two columns;
  // the frame, 7 x 3, leaves white right of the left half and left of the right one. Every
  // row is padded to an even length.
  struct Case {
    uint32_t kind, photometric;
    Bytes left, right, raw;
  };
  const Bytes w = {255, 255, 255}, pad = {0};
  const auto px = [](uint8_t r, uint8_t g, uint8_t b) { return Bytes{r, g, b}; };
  Bytes colour;
  for (const Bytes& part :
       {px(0, 0, 1), px(1, 0, 1), px(2, 0, 1), px(3, 0, 1), px(4, 0, 1), w,           w,           pad,
        px(0, 1, 1), px(1, 1, 1), px(2, 1, 1), px(0, 0, 2), px(1, 0, 2), px(2, 0, 2), px(3, 0, 2), pad,
        w,           w,           w,           px(0, 1, 2), px(1, 1, 2), px(2, 1, 2), px(3, 1, 2), pad})
    colour.insert(colour.end(), part.begin(), part.end());
  const Case cases[] = {
      // Black left half under a white right half; frame white is a 0 bit too.
      {kTIFFKindBilevel, 0, {0xF8, 0xF8}, {0x00, 0x00}, {0xF8, 0, 0xE0, 0, 0x00, 0}},
      // Grey stored inverted, the frame's white as 0.
      {kTIFFKindGray,
       1,
       {10, 20, 30, 40, 50, 60, 70, 80, 90, 100},
       {110, 120, 130, 140, 150, 160, 170, 180, 190, 200},
       {245, 235, 225, 215, 205, 0, 0, 0, 195, 185, 175, 145, 135, 125, 115, 0, 0, 0, 0, 95, 85, 75, 65, 0}},
      {kTIFFKindColor, 2, ColourRows(5, 2, 1), ColourRows(5, 2, 2), colour},
  };
  for (const auto& c : cases) {
    fs::remove(dir / "l.tif");
    fs::remove(dir / "r.tif");
    WriteHalf(dir / "l.tif", c.kind, c.photometric, 5, 2, c.left);
    WriteHalf(dir / "r.tif", c.kind, c.photometric, 5, 2, c.right);
    CStitchCheckImage left, right;
    const FSSpec l = Spec(dir / "l.tif"), r = Spec(dir / "r.tif");
    ASSERT_EQ(left.SetImage(&l), noErr);
    ASSERT_EQ(right.SetImage(&r), noErr);
    ASSERT_EQ(Merge(left, right, {3, 3}, {2, 0}, {0, 0, 3, 7}, 1), noErr);
    EXPECT_EQ(SavedMerge(left, "m.raw"), c.raw) << "kind " << c.kind;
  }
}

TEST_F(StitchImage, FailedMergeOrSaveLeavesNothing) {
  WriteHalf(dir / "l.tif", kTIFFKindColor, 2, 40, 30, ColourRows(40, 30, 1));
  CStitchCheckImage left, right;
  const FSSpec l = Spec(dir / "l.tif"), out = Spec(dir / "m.raw");
  ASSERT_EQ(left.SetImage(&l), noErr);
  ASSERT_EQ(right.SetImage(&l), noErr);
  MemSetTempLimit(1000);
  EXPECT_EQ(Merge(left, right, {30, 40}, {30, 0}, {0, 0, 30, 80}, 1), memFullErr);
  MemSetTempLimit(0);
  EXPECT_EQ(left.GetMergeWidth(), 0);
  EXPECT_EQ(left.SaveMergeImage(&out), paramErr) << "no merged page";
  Rect r{};
  ASSERT_TRUE(left.GetImageRect(&r));
  EXPECT_EQ(r.right, 40) << "the half is unchanged";

  ASSERT_EQ(Merge(left, right, {30, 40}, {30, 0}, {0, 0, 30, 80}, 1), noErr);
  FSTestSetWriteLimit(1000);
  EXPECT_EQ(left.SaveMergeImage(&out), dskFulErr);
  FSTestSetWriteLimit(-1);
  EXPECT_FALSE(fs::exists(dir / "m.raw")) << "the partial file is deleted";
  EXPECT_EQ(left.SaveMergeImage(&out), noErr) << "the merged page is still held";
  EXPECT_EQ(fs::file_size(dir / "m.raw"), 80u * 3 * 30);

  // A frame of geometry that is not the halves'.
  CStitchCheckStitch stitch;
  const Rect other{0, 0, 10, 10};
  stitch.CreateStitchScreen(&other, &other);
  EXPECT_EQ(left.CreateMergeImage(&stitch, &right), paramErr);
}

}  // namespace
