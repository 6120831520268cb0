#include "output/export/CSaveImage.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "framework/LException.h"
#include "output/formats/mtTIFF.h"
#include "support/TestEnv.h"
#include "tests/output/export/Pnm.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"
#include "toolbox/RecordAccess.h"

namespace fs = std::filesystem;

namespace {

struct Page {
  int depth;  // 1, 8 or 24
  long width, height;
  long RowBytes() const {
    const long n = depth == 1 ? (width + 7) / 8 : depth == 8 ? width : 3 * width;
    return n + (n & 1);
  }
  long TIFFRowBytes() const { return depth == 1 ? (width + 7) / 8 : depth == 8 ? width : 3 * width; }
};

// Raw rows of a page: pixel bytes from a pattern, pad bytes and bits beyond the width zero.
std::vector<uint8_t> RawPixels(const Page& p) {
  std::vector<uint8_t> raw(size_t(p.RowBytes() * p.height), 0);
  for (long y = 0; y < p.height; ++y) {
    for (long i = 0; i < p.TIFFRowBytes(); ++i) raw[size_t(y * p.RowBytes() + i)] = uint8_t((i * 37 + y * 101 + 7) * 2654435761u >> 24);
    if (p.depth == 1 && p.width % 8) raw[size_t(y * p.RowBytes() + p.TIFFRowBytes() - 1)] &= uint8_t(0xFF00 >> (p.width % 8));
  }
  return raw;
}

FSSpec Spec(const fs::path& path) {
  FSSpec spec;
  FSpMakeFromPOSIXPath(path.string(), &spec);
  return spec;
}

// The TIFF the export writes for a raw page.
void WriteTIFF(const fs::path& file, const Page& p, const std::vector<uint8_t>& raw) {
  MTHandle h = MTOpen(file.c_str(), "w");
  ASSERT_NE(h, nullptr);
  const bool color = p.depth == 24;
  ASSERT_TRUE(MTSetField(h, kMTImageWidth, p.width) && MTSetField(h, kMTImageLength, p.height) &&
              MTSetField(h, kMTBitsPerSample, p.depth == 1 ? 1 : 8) && MTSetField(h, kMTCompression, 1) &&
              MTSetField(h, kMTPhotometric, color ? 2 : 0) && MTSetField(h, kMTOrientation, 1) &&
              MTSetField(h, kMTSamplesPerPixel, color ? 3 : 1) && MTSetField(h, kMTRowsPerStrip, p.height) &&
              MTSetField(h, kMTXResolution, 300) && MTSetField(h, kMTYResolution, 300) &&
              MTSetField(h, kMTPlanarConfig, 1) && MTSetField(h, kMTResolutionUnit, 2));
  for (long y = 0; y < p.height; ++y) ASSERT_EQ(MTWriteScanline(h, raw.data() + y * p.RowBytes(), y), 1);
  ASSERT_NE(MTClose(h), 0);
}

// The raw rows a Netpbm image stands for at `depth`: 1-bit as is, grey inverted, colour as
// is, each row padded to an even length.
std::vector<uint8_t> RawFromPnm(const wxtest::Pnm& image, int depth) {
  const Page p{depth, image.width, image.height};
  std::vector<uint8_t> raw(size_t(p.RowBytes() * p.height), 0);
  for (long y = 0; y < p.height; ++y)
    for (long i = 0; i < image.RowBytes(); ++i) {
      const uint8_t v = image.rows[size_t(y * image.RowBytes() + i)];
      raw[size_t(y * p.RowBytes() + i)] = depth == 8 ? uint8_t(255 - v) : v;
    }
  return raw;
}

class SaveImage : public ::testing::Test {
 protected:
  void SetUp() override { setenv("WENDRIX_ROOT", dir.path().c_str(), 1); }
  void TearDown() override {
    MemSetHeapLimit(0);
    unsetenv("WENDRIX_ROOT");
  }
  wxtest::ScratchDir dir;
};

TEST_F(SaveImage, TurnedPagesEqualTheOutsideRotation) {
  WX_REQUIRE_TOOL("convert");
  for (int depth : {1, 8, 24}) {
    for (long width : {9, 10}) {
      const Page page{depth, width, 5};
      const auto raw = RawPixels(page);
      const auto name = std::to_string(depth) + "-" + std::to_string(width);
      const fs::path tiff = dir / (name + ".tif");
      WriteTIFF(tiff, page, raw);
      for (long degrees : {0, 90, 180, 270}) {
        const auto tag = name + "-" + std::to_string(degrees);
        CSaveImage image;
        const FSSpec in = Spec(tiff), out = Spec(dir / (tag + ".dat"));
        ASSERT_EQ(image.SetImage(&in), noErr) << tag;
        image.RotateImage(degrees);
        ASSERT_EQ(image.SaveImage(&out), noErr) << tag;
        const auto saved = wxtest::ReadBytes(dir / (tag + ".dat"));
        if (degrees == 0) {
          EXPECT_EQ(saved, raw) << "the raw file back byte for byte: " << tag;
          if (depth == 1 && width == 9) {
            EXPECT_EQ(saved.size(), 2u * 5) << "2-byte rows";
          }
          continue;
        }
        const std::string ext = depth == 24 ? ".ppm" : depth == 8 ? ".pgm" : ".pbm";
        const fs::path expectedFile = dir / (tag + ext);
        ASSERT_EQ(wxtest::Run("convert '" + tiff.string() + "' -rotate " + std::to_string(degrees) + " '" +
                              expectedFile.string() + "'"),
                  0);
        wxtest::Pnm expected;
        ASSERT_TRUE(wxtest::ReadPnm(expectedFile, &expected)) << tag;
        EXPECT_EQ(saved, RawFromPnm(expected, depth)) << tag;
        Rect r;
        image.GetImageRect(&r);
        EXPECT_EQ(r.right, expected.width) << tag;
        EXPECT_EQ(r.bottom, expected.height) << tag;
      }
    }
  }
}

TEST_F(SaveImage, TheOffscreenImageHoldsTheWorkingPixels) {
  const Page page{24, 3, 2};
  const auto raw = RawPixels(page);
  WriteTIFF(dir / "c.tif", page, raw);
  CSaveImage image;
  const FSSpec in = Spec(dir / "c.tif");
  ASSERT_EQ(image.SetImage(&in), noErr);
  ASSERT_EQ(image.CreateOffscreenImage(), noErr);
  PixMapHandle pm = GetGWorldPixMap(image.GetOffscreenImage()->GetMacGWorld());
  LockPixels(pm);
  const auto* base = reinterpret_cast<const uint8_t*>(GetPixBaseAddr(pm));
  for (long y = 0; y < 2; ++y)
    for (long x = 0; x < 3; ++x)
      for (int c = 0; c < 3; ++c)
        EXPECT_EQ(base[y * GetPixRowBytes(pm) + 4 * x + 1 + c], raw[size_t(y * page.RowBytes() + 3 * x + c)]);
  UnlockPixels(pm);
  EXPECT_EQ(CSaveImage::GetBitNum(0x80, 7), 0);
  EXPECT_EQ(CSaveImage::GetBitNum(0x80, 6), 255);
}

// A grey page's TIFF with one field changed; entries start at 10, twelve bytes each, in the
// writer's fixed order (the value field 8 bytes into its entry).
struct Damage {
  const char* what;
  size_t offset;
  int bytes;  // 2 or 4; 0 cuts the file to `offset` bytes
  uint32_t value;
};

TEST_F(SaveImage, DamagedHeadersAreRefused) {
  const Page grey{8, 9, 4};
  WriteTIFF(dir / "good.tif", grey, RawPixels(grey));
  const auto good = wxtest::ReadBytes(dir / "good.tif");
  const auto valueOf = [](int entry) { return size_t(10 + 12 * entry + 8); };
  const Damage cases[] = {
      {"not a TIFF mark", 0, 2, 0x4142},
      {"compressed", valueOf(3), 2, 5},
      {"4-bit grey", valueOf(2), 2, 4},
      {"16-bit grey", valueOf(2), 2, 16},
      {"strip outside the file", valueOf(5), 4, 100000},
      {"strip byte count short of the rows", valueOf(9), 4, 9 * 4 - 1},
      {"no width", 10 + 8, 4, 0},
      {"two samples", valueOf(7), 2, 2},
      {"cut inside the strip", 204 + 20, 0, 0},
      {"cut inside the directory", 50, 0, 0},
  };
  for (const Damage& d : cases) {
    auto bytes = good;
    if (d.bytes == 0) bytes.resize(d.offset);
    else if (d.bytes == 2) BEPutU16(bytes.data() + d.offset, uint16_t(d.value));
    else BEPutU32(bytes.data() + d.offset, d.value);
    wxtest::WriteBytes(dir / "bad.tif", bytes);
    CSaveImage image;
    const FSSpec in = Spec(dir / "bad.tif"), out = Spec(dir / "bad.dat");
    EXPECT_EQ(image.SetImage(&in), CSaveImage::kNotOurTIFF) << d.what;
    EXPECT_EQ(image.SaveImage(&out), paramErr) << d.what << ": nothing loaded, nothing saved";
  }

  // Colour samples of 16 bits: the three values lie outside the entry.
  const Page color{24, 2, 2};
  WriteTIFF(dir / "color.tif", color, RawPixels(color));
  auto bytes = wxtest::ReadBytes(dir / "color.tif");
  const uint32_t at = BEGetU32(bytes.data() + valueOf(2));
  BEPutU16(bytes.data() + at + 2, 16);
  wxtest::WriteBytes(dir / "bad.tif", bytes);
  CSaveImage image;
  const FSSpec in = Spec(dir / "bad.tif");
  EXPECT_EQ(image.SetImage(&in), CSaveImage::kNotOurTIFF);
}

TEST_F(SaveImage, MemoryThatCannotBeHadIsReported) {
  const Page page{24, 40, 30};
  WriteTIFF(dir / "c.tif", page, RawPixels(page));
  const FSSpec in = Spec(dir / "c.tif");
  CSaveImage image;
  MemSetHeapLimit(1000);
  EXPECT_EQ(image.SetImage(&in), memFullErr);
  MemSetHeapLimit(0);
  ASSERT_EQ(image.SetImage(&in), noErr);
  MemSetHeapLimit(1000);
  try {
    image.RotateImage(90);
    FAIL() << "no exception";
  } catch (const LException& e) {
    EXPECT_EQ(e.GetErrorCode(), memFullErr);
  }
  MemSetHeapLimit(0);
  Rect r;
  image.GetImageRect(&r);
  EXPECT_EQ(r.right, 40) << "the image is unchanged";
}

}  // namespace
