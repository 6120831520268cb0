#include "output/formats/InitMakeTIFF.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/TestEnv.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"
#include "toolbox/RecordAccess.h"

namespace fs = std::filesystem;

namespace {

class InitMakeTIFFFiles : public ::testing::Test {
 protected:
  void SetUp() override { setenv("WENDRIX_ROOT", dir.path().c_str(), 1); }
  void TearDown() override {
    FSTestSetWriteLimit(-1);
    unsetenv("WENDRIX_ROOT");
  }

  // Writes the header and `rows` rows of `rowBytes`; the header's result.
  OSErr Write(const fs::path& file, const tagIMAGEINFO& info, uint32_t rowBytes) {
    FSSpec spec{};
    FSpMakeFromPOSIXPath(file.string(), &spec);
    EXPECT_EQ(FSpCreate(&spec, '8BIM', 'TIFF', smSystemScript), noErr);
    SInt16 ref = 0;
    EXPECT_EQ(FSpOpenDF(&spec, fsRdWrPerm, &ref), noErr);
    const OSErr err = Init_Make_TIFF(ref, &info);
    std::vector<uint8_t> row(rowBytes);
    for (uint32_t y = 0; err == noErr && y < info.ImageLength; ++y) {
      for (uint32_t i = 0; i < rowBytes; ++i) row[i] = static_cast<uint8_t>(i * 3 + y);
      long n = rowBytes;
      EXPECT_EQ(FSWrite(ref, &n, row.data()), noErr);
    }
    FSClose(ref);
    return err;
  }

  wxtest::ScratchDir dir;
};

tagIMAGEINFO Info(uint32_t kind, uint32_t w, uint32_t h, uint32_t photometric, uint32_t rowBytes) {
  tagIMAGEINFO info{};
  info.Kind = kind;
  info.ImageWidth = w;
  info.ImageLength = h;
  info.PhotometricInterpretation = photometric;
  info.StripByteCounts = rowBytes * h;
  info.XResolutionNumerator = 300;
  info.XResolutionDenominator = 1;
  info.YResolutionNumerator = 300;
  info.YResolutionDenominator = 1;
  return info;
}

uint32_t Value(const std::vector<uint8_t>& f, int entry) { return BEGetU32(f.data() + 10 + 12 * entry + 8); }

TEST_F(InitMakeTIFFFiles, ColourHeader) {
  const fs::path file = dir / "colour.tif";
  ASSERT_EQ(Write(file, Info(kTIFFKindColor, 100, 50, 2, 300), 300), noErr);
  auto f = wxtest::ReadBytes(file);
  ASSERT_EQ(f.size(), 216u + 15000u);
  EXPECT_EQ(BEGetU16(f.data() + 8), 15);
  EXPECT_EQ(BEGetU16(f.data() + 10 + 36 + 2), 3) << "BitsPerSample is SHORT";
  EXPECT_EQ(BEGetU32(f.data() + 10 + 36 + 4), 3u);
  EXPECT_EQ(Value(f, 3), 210u);
  EXPECT_EQ(Value(f, 6), 216u);
  EXPECT_EQ(BEGetU16(f.data() + 10 + 12 * 7 + 8), 3) << "SamplesPerPixel";
  EXPECT_EQ(Value(f, 8), 50u) << "RowsPerStrip is the image length";
  for (int i = 0; i < 4; ++i) EXPECT_EQ(BEGetU32(f.data() + 194 + 4 * i), i % 2 ? 1u : 300u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(BEGetU16(f.data() + 210 + 2 * i), 8);
  EXPECT_EQ(f[216], 0) << "the rows start at 216";
  EXPECT_EQ(f[217], 3);
}

TEST_F(InitMakeTIFFFiles, OneSampleHeaders) {
  struct Case {
    uint32_t kind, photometric, wantBits, wantPhotometric;
  };
  const Case cases[] = {{kTIFFKindBilevel, 0, 1, 0}, {1, 0, 1, 0}, {kTIFFKindGray, 3, 8, 1}, {kTIFFKindGray, 0, 8, 0}};
  int n = 0;
  for (const auto& c : cases) {
    const fs::path file = dir / ("kind" + std::to_string(c.kind) + "-" + std::to_string(++n) + ".tif");
    const uint32_t rowBytes = c.wantBits == 1 ? 2 : 10;
    ASSERT_EQ(Write(file, Info(c.kind, 10, 4, c.photometric, rowBytes), rowBytes), noErr);
    auto f = wxtest::ReadBytes(file);
    ASSERT_EQ(f.size(), 210u + 4 * rowBytes);
    EXPECT_EQ(BEGetU32(f.data() + 10 + 36 + 4), 1u);
    EXPECT_EQ(BEGetU16(f.data() + 10 + 36 + 8), c.wantBits);
    EXPECT_EQ(BEGetU16(f.data() + 10 + 36 + 10), 0) << "the rest of a SHORT field is zero";
    EXPECT_EQ(BEGetU16(f.data() + 10 + 12 * 5 + 8), c.wantPhotometric);
    EXPECT_EQ(Value(f, 6), 210u);
  }
}

TEST_F(InitMakeTIFFFiles, ReadsBackAndOpensInOutsideTools) {
  WX_REQUIRE_TOOL("tiffinfo");
  WX_REQUIRE_TOOL("tiffdump");
  WX_REQUIRE_TOOL("exiftool");
  struct Case {
    const char* name;
    uint32_t kind, w, rowBytes, photometric;
  };
  const Case cases[] = {{"bilevel", kTIFFKindBilevel, 40, 5, 0}, {"gray", kTIFFKindGray, 33, 33, 1}, {"colour", kTIFFKindColor, 33, 99, 2}};
  for (const auto& c : cases) {
    const fs::path file = dir / (std::string("stitch-") + c.name + ".tif");
    ASSERT_EQ(Write(file, Info(c.kind, c.w, 7, c.photometric, c.rowBytes), c.rowBytes), noErr);
    auto f = wxtest::ReadBytes(file);
    tagIMAGEINFO info{};
    ASSERT_EQ(Recognition_TIFF(f.data(), f.size(), &info), 1) << c.name;
    EXPECT_EQ(info.Kind, c.kind);
    EXPECT_EQ(info.StripOffsets, InitMakeTIFFHeaderSize(c.kind));
    EXPECT_EQ(info.Predictor, 1u);

    // libtiff knows Predictor only with a compression that uses it, and says so for this
    // layout's Predictor entry (1, none); any other warning is a fault.
    std::string out;
    EXPECT_EQ(wxtest::Run("tiffinfo -D '" + file.string() + "'", &out), 0) << out;
    const std::string predictorNote = "TIFFReadDirectory: Warning, Unknown field with tag 317 (0x13d) encountered.\n";
    if (out.rfind(predictorNote, 0) == 0) out.erase(0, predictorNote.size());
    EXPECT_EQ(out.find("Warning"), std::string::npos) << out;
    EXPECT_EQ(out.find("rror"), std::string::npos) << out;
    out.clear();
    EXPECT_EQ(wxtest::Run("tiffdump '" + file.string() + "'", &out), 0) << out;
    EXPECT_NE(out.find("Predictor (317) SHORT (3) 1<1>"), std::string::npos) << out;
    out.clear();
    EXPECT_EQ(wxtest::Run("exiftool -validate -warning -a '" + file.string() + "'", &out), 0);
    EXPECT_NE(out.find(": OK"), std::string::npos) << c.name << "\n" << out;
    fs::copy_file(file, wxtest::OutputDir("formats") / file.filename(), fs::copy_options::overwrite_existing);
  }
}

TEST_F(InitMakeTIFFFiles, ReportsAFailedWriteAndRefusesUnknownKinds) {
  FSTestSetWriteLimit(100);
  EXPECT_EQ(Write(dir / "full.tif", Info(kTIFFKindGray, 10, 2, 1, 10), 10), dskFulErr);
  FSTestSetWriteLimit(-1);
  EXPECT_EQ(Init_Make_TIFF(0, nullptr), paramErr);
  const tagIMAGEINFO six = Info(6, 10, 2, 1, 10);
  EXPECT_EQ(Init_Make_TIFF(0, &six), paramErr);
}

}  // namespace
