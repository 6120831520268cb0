#include "output/formats/mtTIFF.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "output/formats/tiffRecognition.h"
#include "support/TestEnv.h"
#include "toolbox/Files.h"
#include "toolbox/Folders.h"
#include "toolbox/MacErrors.h"
#include "toolbox/RecordAccess.h"

namespace fs = std::filesystem;

namespace {

class MTTIFF : public ::testing::Test {
 protected:
  void SetUp() override { setenv("WENDRIX_ROOT", dir.path().c_str(), 1); }
  void TearDown() override {
    FSTestSetWriteLimit(-1);
    unsetenv("WENDRIX_ROOT");
  }
  wxtest::ScratchDir dir;
};

struct Image {
  uint32_t width, height;
  int depth;  // 1, 8 or 24
};

long RowBytes(const Image& im) { return im.depth == 1 ? (im.width + 7) / 8 : im.depth == 8 ? im.width : 3 * im.width; }

std::vector<uint8_t> Row(const Image& im, uint32_t y) {
  std::vector<uint8_t> row(RowBytes(im));
  for (size_t i = 0; i < row.size(); ++i) row[i] = static_cast<uint8_t>(i * 13 + y * 7);
  return row;
}

// The exporter's sequence of calls; false as soon as one fails.
bool WriteHeader(MTHandle h, const Image& im, unsigned long dpi) {
  const bool color = im.depth == 24;
  return MTSetField(h, kMTImageWidth, im.width) && MTSetField(h, kMTImageLength, im.height) &&
         MTSetField(h, kMTBitsPerSample, im.depth == 1 ? 1 : 8) && MTSetField(h, kMTCompression, 1) &&
         MTSetField(h, kMTPhotometric, color ? 2 : 0) && MTSetField(h, kMTOrientation, 1) &&
         MTSetField(h, kMTSamplesPerPixel, color ? 3 : 1) && MTSetField(h, kMTRowsPerStrip, im.height) &&
         MTSetField(h, kMTXResolution, dpi) && MTSetField(h, kMTYResolution, dpi) &&
         MTSetField(h, kMTPlanarConfig, 1) && MTSetField(h, kMTResolutionUnit, 2);
}

bool WriteImage(const fs::path& file, const Image& im) {
  MTHandle h = MTOpen(file.c_str(), "w");
  if (!h) return false;
  bool ok = WriteHeader(h, im, 300);
  for (uint32_t y = 0; ok && y < im.height; ++y) ok = MTWriteScanline(h, Row(im, y).data(), y) == 1;
  return MTClose(h) != 0 && ok;
}

TEST_F(MTTIFF, WritesTheFixedLayoutForEveryDepth) {
  // Odd widths give odd row lengths for 1 and 8 bits.
  const Image images[] = {{37, 5, 1}, {9, 3, 1}, {37, 5, 8}, {1, 1, 8}, {37, 5, 24}, {2, 1, 24}};
  for (const auto& im : images) {
    const fs::path file = dir / ("image" + std::to_string(im.depth) + "-" + std::to_string(im.width) + ".tif");
    ASSERT_TRUE(WriteImage(file, im)) << im.depth;
    auto bytes = wxtest::ReadBytes(file);
    ASSERT_EQ(bytes.size(), size_t(kMTStripOffset + RowBytes(im) * im.height)) << "rows start exactly at 204";
    for (uint32_t y = 0; y < im.height; ++y) {
      const auto row = Row(im, y);
      ASSERT_TRUE(std::equal(row.begin(), row.end(), bytes.begin() + kMTStripOffset + y * RowBytes(im))) << y;
    }
    EXPECT_EQ(BEGetU16(bytes.data() + 8), 14);
    EXPECT_EQ(BEGetU32(bytes.data() + 10 + 12 * 5 + 8), 204u) << "StripOffsets";
    EXPECT_EQ(BEGetU32(bytes.data() + 10 + 12 * 9 + 8), uint32_t(RowBytes(im) * im.height)) << "StripByteCounts";
    if (im.depth != 24) {
      for (int i = 198; i < 204; ++i) EXPECT_EQ(bytes[i], 0) << "unreferenced bytes stay zero";
    }

    tagIMAGEINFO info{};
    ASSERT_EQ(Recognition_TIFF(bytes.data(), bytes.size(), &info), 1);
    EXPECT_EQ(info.ImageWidth, im.width);
    EXPECT_EQ(info.Kind, im.depth == 1 ? kTIFFKindBilevel : im.depth == 8 ? kTIFFKindGray : kTIFFKindColor);
    EXPECT_EQ(info.XResolutionNumerator, 300u);
    EXPECT_EQ(info.XResolutionDenominator, 1u);
  }
}

// The files open in TIFF tools nobody here wrote, without a warning.
TEST_F(MTTIFF, OutsideToolsReadTheFiles) {
  WX_REQUIRE_TOOL("tiffinfo");
  WX_REQUIRE_TOOL("tiffdump");
  WX_REQUIRE_TOOL("exiftool");
  for (const Image im : {Image{37, 5, 1}, Image{40, 5, 1}, Image{37, 5, 8}, Image{37, 5, 24}}) {
    const std::string name = "mt-" + std::to_string(im.depth) + "bit-" + std::to_string(im.width) + ".tif";
    const fs::path file = dir / name;
    ASSERT_TRUE(WriteImage(file, im));
    std::string out;
    EXPECT_EQ(wxtest::Run("tiffinfo -D '" + file.string() + "'", &out), 0) << out;
    EXPECT_EQ(out.find("Warning"), std::string::npos) << out;
    EXPECT_EQ(out.find("rror"), std::string::npos) << out;
    EXPECT_NE(out.find("Image Width: " + std::to_string(im.width) + " Image Length: 5"), std::string::npos) << out;
    EXPECT_NE(out.find("Resolution: 300, 300 pixels/inch"), std::string::npos) << out;
    EXPECT_NE(out.find(im.depth == 24 ? "Samples/Pixel: 3" : "Samples/Pixel: 1"), std::string::npos) << out;
    out.clear();
    EXPECT_EQ(wxtest::Run("tiffdump '" + file.string() + "'", &out), 0) << out;
    EXPECT_NE(out.find("StripOffsets (273) LONG (4) 1<204>"), std::string::npos) << out;
    // exiftool sizes a bilevel strip without the per-row padding TIFF asks for, so it
    // validates bilevel files whose rows end on a byte.
    if (im.depth != 1 || im.width % 8 == 0) {
      out.clear();
      EXPECT_EQ(wxtest::Run("exiftool -validate -warning -a '" + file.string() + "'", &out), 0);
      EXPECT_NE(out.find(": OK"), std::string::npos) << out;
    }
    fs::copy_file(file, wxtest::OutputDir("formats") / name, fs::copy_options::overwrite_existing);
  }
}

TEST_F(MTTIFF, StripByteCountsFollowRowsPerStrip) {
  struct Case {
    Image im;
    unsigned long rowsPerStrip;
    uint32_t want;
  };
  const Case cases[] = {{{1000, 1400, 1}, 1400, 175000}, {{1000, 2, 24}, 2, 6000}, {{640, 1, 8}, 1, 640}};
  for (const auto& c : cases) {
    const fs::path file = dir / "counts.tif";
    MTHandle h = MTOpen(file.c_str(), "w");
    ASSERT_NE(h, nullptr);
    Image im = c.im;
    im.height = static_cast<uint32_t>(c.rowsPerStrip);
    ASSERT_TRUE(WriteHeader(h, im, 200));
    EXPECT_EQ(MTScanlineSize(h), RowBytes(im));
    ASSERT_NE(MTClose(h), 0);
    auto bytes = wxtest::ReadBytes(file);
    EXPECT_EQ(BEGetU32(bytes.data() + 10 + 12 * 9 + 8), c.want);
  }
}

TEST_F(MTTIFF, UnknownTagsWriteNothing) {
  const fs::path a = dir / "a.tif", b = dir / "b.tif";
  const Image im{20, 2, 8};
  for (const auto& file : {a, b}) {
    MTHandle h = MTOpen(file.c_str(), "w");
    ASSERT_NE(h, nullptr);
    ASSERT_TRUE(MTSetField(h, kMTImageWidth, im.width));
    if (file == b) {
      EXPECT_EQ(MTSetField(h, 305, 7), 1) << "Software is not one of the writer's tags";
    }
    ASSERT_TRUE(MTSetField(h, kMTImageLength, im.height));
    ASSERT_NE(MTClose(h), 0);
  }
  EXPECT_EQ(wxtest::ReadBytes(a), wxtest::ReadBytes(b));
}

TEST_F(MTTIFF, UnsupportedDepthsFail) {
  const fs::path file = dir / "sixteen.tif";
  MTHandle h = MTOpen(file.c_str(), "w");
  ASSERT_NE(h, nullptr);
  EXPECT_TRUE(MTSetField(h, kMTImageWidth, 10) && MTSetField(h, kMTImageLength, 2) &&
              MTSetField(h, kMTBitsPerSample, 16) && MTSetField(h, kMTCompression, 1) &&
              MTSetField(h, kMTPhotometric, 1) && MTSetField(h, kMTOrientation, 1) &&
              MTSetField(h, kMTSamplesPerPixel, 1));
  EXPECT_EQ(MTSetField(h, kMTRowsPerStrip, 2), 0);
  EXPECT_EQ(MTScanlineSize(h), 0);
  const uint8_t row[40] = {};
  EXPECT_EQ(MTWriteScanline(h, row, 0), 0);
  MTClose(h);
}

// A full disk makes the row write fail, and the writer says so.
TEST_F(MTTIFF, AFailedRowWriteIsReported) {
  const Image im{100, 50, 8};
  const fs::path file = dir / "full.tif";
  MTHandle h = MTOpen(file.c_str(), "w");
  ASSERT_NE(h, nullptr);
  ASSERT_TRUE(WriteHeader(h, im, 300));
  FSTestSetWriteLimit(1000);
  long result = 1;
  for (uint32_t y = 0; y < im.height && result == 1; ++y) result = MTWriteScanline(h, Row(im, y).data(), y);
  EXPECT_EQ(result, 0);
  FSTestSetWriteLimit(-1);
  MTClose(h);
}

TEST_F(MTTIFF, RowBufferCoversTheEvenRawRow) {
  const fs::path file = dir / "odd.tif";
  MTHandle h = MTOpen(file.c_str(), "w");
  ASSERT_NE(h, nullptr);
  ASSERT_TRUE(WriteHeader(h, {37, 3, 8}, 300));
  EXPECT_EQ(MTScanlineSize(h), 37);
  EXPECT_EQ(MTRowBufferSize(h, 38), 38) << "the raw row is read at its even length";
  EXPECT_EQ(MTRowBufferSize(h, 36), 37);
  MTClose(h);
}

TEST_F(MTTIFF, OpensAnExistingFile) {
  const fs::path file = dir / "existing.tif";
  ASSERT_TRUE(WriteImage(file, {12, 4, 24}));
  MTHandle h = MTOpen(file.c_str(), "r");
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(MTScanlineSize(h), 36);
  MTClose(h);
  EXPECT_EQ(MTOpen((dir / "missing.tif").c_str(), "r"), nullptr);
}

TEST_F(MTTIFF, ARelativeNameLiesInThePreferencesFolder) {
  ASSERT_TRUE(WriteImage("calibration.tif", {8, 2, 8}));
  std::string prefs;
  ASSERT_EQ(FindFolderPath(kUserDomain, kPreferencesFolderType, kDontCreateFolder, &prefs), noErr);
  EXPECT_EQ(wxtest::ReadBytes(fs::path(prefs) / "calibration.tif").size(), size_t(kMTStripOffset + 16));
}

}  // namespace
