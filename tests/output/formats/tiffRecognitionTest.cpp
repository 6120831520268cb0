#include "output/formats/tiffRecognition.h"

#include <gtest/gtest.h>

#include "support/TestEnv.h"
#include "toolbox/RecordAccess.h"

namespace {

// A small TIFF builder for hand-made headers in either byte order.
struct TiffBuilder {
  bool little;
  std::vector<unsigned char> bytes;
  struct Entry {
    uint16_t tag, type;
    uint32_t count, value;
  };
  std::vector<Entry> entries;

  void put16(size_t off, uint16_t v) { little ? LEPutU16(&bytes[off], v) : BEPutU16(&bytes[off], v); }
  void put32(size_t off, uint32_t v) { little ? LEPutU32(&bytes[off], v) : BEPutU32(&bytes[off], v); }
  void add(uint16_t tag, uint16_t type, uint32_t count, uint32_t value) { entries.push_back({tag, type, count, value}); }

  // Header, directory at 8, rationals and pixels behind it.
  std::vector<unsigned char> build(uint32_t width, uint32_t height, uint32_t rowBytes, uint32_t xres = 300) {
    const size_t n = entries.size() + 6;
    const size_t dirEnd = 8 + 2 + 12 * n + 4;
    const uint32_t rational = static_cast<uint32_t>(dirEnd);
    const uint32_t strip = rational + 16;
    const uint32_t stripBytes = rowBytes * height;
    std::vector<Entry> all = {{256, 4, 1, width},         {257, 4, 1, height},       {273, 4, 1, strip},
                              {279, 4, 1, stripBytes},    {282, 5, 1, rational},     {283, 5, 1, rational + 8}};
    all.insert(all.end(), entries.begin(), entries.end());
    bytes.assign(strip + stripBytes, 0);
    bytes[0] = bytes[1] = little ? 'I' : 'M';
    put16(2, 42);
    put32(4, 8);
    put16(8, static_cast<uint16_t>(n));
    for (size_t i = 0; i < n; ++i) {
      const size_t e = 10 + 12 * i;
      put16(e, all[i].tag);
      put16(e + 2, all[i].type);
      put32(e + 4, all[i].count);
      if (all[i].type == 3 && all[i].count == 1)
        put16(e + 8, static_cast<uint16_t>(all[i].value));
      else
        put32(e + 8, all[i].value);
    }
    put32(rational, xres);
    put32(rational + 4, 1);
    put32(rational + 8, 200);
    put32(rational + 12, 1);
    for (size_t i = strip; i < bytes.size(); ++i) bytes[i] = static_cast<unsigned char>(i * 7);
    return bytes;
  }
};

std::vector<unsigned char> GrayFile(bool little, uint32_t width = 5, uint32_t height = 3) {
  TiffBuilder b{little, {}, {}};
  b.add(258, 3, 1, 8);
  b.add(262, 3, 1, 1);
  b.add(277, 3, 1, 1);
  return b.build(width, height, width);
}

TEST(RecognitionTIFF, HandMadeHeadersInBothOrders) {
  for (bool little : {false, true}) {
    auto f = GrayFile(little);
    tagIMAGEINFO info{};
    ASSERT_EQ(Recognition_TIFF(f.data(), f.size(), &info), 1) << little;
    EXPECT_EQ(info.ImageWidth, 5u);
    EXPECT_EQ(info.ImageLength, 3u);
    EXPECT_EQ(info.BitsPerSample, 8u);
    EXPECT_EQ(info.PhotometricInterpretation, 1u);
    EXPECT_EQ(info.SamplesPerPixel, 1u);
    EXPECT_EQ(info.StripByteCounts, 15u);
    EXPECT_EQ(info.XResolutionNumerator, 300u);
    EXPECT_EQ(info.XResolutionDenominator, 1u);
    EXPECT_EQ(info.YResolutionNumerator, 200u);
    EXPECT_EQ(info.Kind, kTIFFKindGray);
  }
}

TEST(RecognitionTIFF, LongWidthAndManyEntries) {
  for (bool little : {false, true}) {
    TiffBuilder b{little, {}, {}};
    b.add(258, 3, 1, 1);
    b.add(277, 3, 1, 1);
    for (int i = 0; i < 294; ++i) b.add(static_cast<uint16_t>(40000 + i), 3, 1, 0);
    b.add(296, 3, 1, 2);  // behind all the others: the whole directory is read
    auto f = b.build(70000, 2, (70000 + 7) / 8);
    tagIMAGEINFO info{};
    ASSERT_EQ(Recognition_TIFF(f.data(), f.size(), &info), 1);
    EXPECT_EQ(info.ImageWidth, 70000u);
    EXPECT_EQ(info.ResolutionUnit, 2u);
    EXPECT_EQ(info.Kind, kTIFFKindBilevel);
  }
}

TEST(RecognitionTIFF, AbsentTagsKeepTheCallersValues) {
  auto f = GrayFile(false);
  tagIMAGEINFO info{};
  info.Predictor = 77;
  ASSERT_EQ(Recognition_TIFF(f.data(), f.size(), &info), 1);
  EXPECT_EQ(info.Predictor, 77u);
}

// Every damaged header is refused without reading outside the file (the sanitizers watch).
TEST(RecognitionTIFF, RefusesDamagedHeaders) {
  const auto good = GrayFile(false);
  struct Damage {
    const char* what;
    size_t at;
    std::vector<unsigned char> bytes;
  };
  const Damage cases[] = {
      {"directory offset past the end", 4, {0x7F, 0xFF, 0xFF, 0xF0}},
      {"entry count past the end", 8, {0xFF, 0xFF}},
      {"strip offset past the end", 10 + 12 * 2 + 8, {0x00, 0x01, 0x00, 0x00}},
      {"strip count past the end", 10 + 12 * 3 + 8, {0x00, 0x00, 0x10, 0x00}},
      {"strip count not the rows' total", 10 + 12 * 3 + 8, {0x00, 0x00, 0x00, 14}},
      {"XResolution offset past the end", 10 + 12 * 4 + 8, {0xFF, 0xFF, 0xFF, 0xFC}},
      {"zero denominator", 8 + 2 + 12 * 9 + 4 + 4, {0, 0, 0, 0}},
      {"width zero", 10 + 8, {0, 0, 0, 0}},
      {"two strips", 10 + 12 * 2 + 4, {0, 0, 0, 2}},
      {"no byte-order mark", 0, {'X', 'X'}},
      {"not 42", 2, {0, 43}},
  };
  for (const auto& d : cases) {
    auto f = good;
    std::copy(d.bytes.begin(), d.bytes.end(), f.begin() + d.at);
    tagIMAGEINFO info{};
    EXPECT_EQ(Recognition_TIFF(f.data(), f.size(), &info), 0) << d.what;
  }
  for (size_t cut = 0; cut < good.size(); ++cut) {
    std::vector<unsigned char> f(good.begin(), good.begin() + cut);
    tagIMAGEINFO info{};
    ASSERT_EQ(Recognition_TIFF(f.data(), f.size(), &info), 0) << "cut at " << cut;
  }
}

// Huge grey rows times the row count wrap round to an empty strip; the header is refused,
// not read as rows far outside the file.
TEST(RecognitionTIFF, RefusesRowsWhoseTotalWrapsRound) {
  for (bool little : {false, true}) {
    TiffBuilder b{little, {}, {}};
    b.add(258, 4, 1, 1u << 30);  // bits per sample
    b.add(277, 3, 1, 1);
    auto f = b.build(1u << 31, 64, 0);  // (2^31 x 2^30 / 8) x 64 = 2^64
    tagIMAGEINFO info{};
    EXPECT_EQ(Recognition_TIFF(f.data(), f.size(), &info), 0) << little;
  }
}

// Files written by a TIFF library nobody here wrote, in both byte orders.
TEST(RecognitionTIFF, ReadsFilesMadeByTiffcp) {
  WX_REQUIRE_TOOL("tiffcp");
  WX_REQUIRE_TOOL("convert");
  wxtest::ScratchDir dir;
  struct Fixture {
    const char* name;
    const char* make;  // ImageMagick arguments
    uint32_t kind, rowBytes;
    const char* rawFormat;
  };
  const Fixture fixtures[] = {
      {"gray", "-size 37x11 gradient:black-white -depth 8 -type Grayscale", kTIFFKindGray, 37, "gray"},
      {"rgb", "-size 37x11 plasma:red-blue -depth 8 -type TrueColor", kTIFFKindColor, 111, "rgb"},
      {"bilevel", "-size 37x11 pattern:checkerboard -type Bilevel -depth 1", kTIFFKindBilevel, 5, "gray"},
  };
  for (const auto& fx : fixtures) {
    const auto source = dir / (std::string(fx.name) + "-source.tif");
    ASSERT_EQ(wxtest::Run("convert " + std::string(fx.make) + " -compress none -density 300 -units PixelsPerInch '" +
                          source.string() + "'"),
              0)
        << fx.name;
    const auto raw = dir / (std::string(fx.name) + ".raw");
    ASSERT_EQ(wxtest::Run("convert '" + source.string() + "' -depth 8 " +
                          fx.rawFormat + ":'" + raw.string() + "'"),
              0);
    const auto pixels = wxtest::ReadBytes(raw);
    for (const char* order : {"-B", "-L"}) {
      const auto file = dir / (std::string(fx.name) + order + ".tif");
      std::string out;
      ASSERT_EQ(wxtest::Run(std::string("tiffcp -c none -r 1000 ") + order + " '" + source.string() + "' '" +
                                file.string() + "'",
                            &out),
                0)
          << out;
      auto f = wxtest::ReadBytes(file);
      tagIMAGEINFO info{};
      ASSERT_EQ(Recognition_TIFF(f.data(), f.size(), &info), 1) << fx.name << order;
      EXPECT_EQ(info.ImageWidth, 37u);
      EXPECT_EQ(info.ImageLength, 11u);
      EXPECT_EQ(info.Kind, fx.kind) << fx.name << order;
      EXPECT_EQ(info.Compression, 1u);
      EXPECT_EQ(TIFFRowBytes(info), fx.rowBytes);
      EXPECT_EQ(info.XResolutionNumerator / info.XResolutionDenominator, 300u) << fx.name << order;
      // The strip is the image: compare with the pixels ImageMagick reads back, bilevel
      // rows unpacked to 0 and 255 by their photometric interpretation.
      std::vector<unsigned char> strip(f.begin() + info.StripOffsets, f.begin() + info.StripOffsets + info.StripByteCounts);
      if (fx.kind == kTIFFKindBilevel) {
        std::vector<unsigned char> unpacked;
        for (size_t r = 0; r < 11; ++r)
          for (size_t x = 0; x < 37; ++x) {
            const bool set = strip[r * 5 + x / 8] & (0x80 >> (x % 8));
            unpacked.push_back((set == (info.PhotometricInterpretation == 1)) ? 255 : 0);
          }
        strip = unpacked;
      }
      EXPECT_EQ(strip, pixels) << fx.name << order;
    }
  }
}

}  // namespace
