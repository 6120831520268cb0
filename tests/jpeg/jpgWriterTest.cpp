// Whole files from the encoder, checked byte by byte where the format fixes them and through
// libjpeg-turbo (and cjpeg) where it does not.
#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "JpegTestKit.h"
#include "support/TestEnv.h"

using namespace jpgtest;

namespace {

std::vector<uint16_t> Markers(const std::vector<uint8_t>& jpeg) {
  std::vector<uint16_t> out;
  for (const Segment& s : Segments(jpeg)) out.push_back(s.marker);
  return out;
}

const Segment* Find(const std::vector<Segment>& segments, uint16_t marker) {
  for (const Segment& s : segments)
    if (s.marker == marker) return &s;
  return nullptr;
}

std::string Hex(const std::vector<uint8_t>& bytes) {
  static const char* digits = "0123456789abcdef";
  std::string s;
  for (uint8_t b : bytes) {
    s += digits[b >> 4];
    s += digits[b & 15];
  }
  return s;
}

std::string Md5(const std::vector<uint8_t>& bytes) {
  wxtest::ScratchDir dir;
  wxtest::WriteBytes(dir / "f", bytes);
  std::string out;
  wxtest::Run("md5sum '" + (dir / "f").string() + "'", &out);
  return out.substr(0, 32);
}

// The tables cjpeg writes for the same quality, as class/id -> bytes after it.
std::map<int, std::vector<uint8_t>> CjpegTables(uint16_t marker, int quality) {
  wxtest::ScratchDir dir;
  WritePnm((dir / "in.ppm").string(), MakeScene(16, 16, 3));
  std::string cmd = "cjpeg -quality " + std::to_string(quality) + " -baseline -sample 2x2 '" +
                    (dir / "in.ppm").string() + "' > '" + (dir / "out.jpg").string() + "'";
  EXPECT_EQ(wxtest::Run(cmd), 0);
  std::map<int, std::vector<uint8_t>> tables;
  for (const Segment& s : Segments(wxtest::ReadBytes(dir / "out.jpg"))) {
    if (s.marker != marker) continue;
    size_t i = 0;
    while (i < s.data.size()) {
      size_t n = 64;
      if (marker == 0xFFC4) {
        n = 16;
        for (int k = 0; k < 16; ++k) n += s.data[i + 1 + k];
      }
      tables[s.data[i]] = std::vector<uint8_t>(s.data.begin() + long(i + 1), s.data.begin() + long(i + 1 + n));
      i += 1 + n;
    }
  }
  return tables;
}

std::map<int, std::vector<uint8_t>> OurTables(uint16_t marker, int quality) {
  Settings settings;
  settings.quality = quality;
  std::vector<uint8_t> out;
  EXPECT_EQ(Encode(MakeScene(16, 16, 3), settings, &out), 0);
  std::vector<Segment> segments = Segments(out);
  const Segment* s = Find(segments, marker);
  EXPECT_NE(s, nullptr);
  std::map<int, std::vector<uint8_t>> tables;
  if (!s) return tables;
  for (size_t i = 0; i < s->data.size();) {
    size_t n = 64;
    if (marker == 0xFFC4) {
      n = 16;
      for (int k = 0; k < 16; ++k) n += s->data[i + 1 + k];
    }
    tables[s->data[i]] = std::vector<uint8_t>(s->data.begin() + long(i + 1), s->data.begin() + long(i + 1 + n));
    i += 1 + n;
  }
  return tables;
}

}  // namespace

// Default settings, 4:2:0, colour, the application's APP0 first.
TEST(JpegWriter, MarkerSequenceOfASmallImage) {
  void* ctx = nullptr;
  ASSERT_EQ(jpgWritePrologToMemory(0, &ctx), 0);
  const uint8_t app0[14] = {'J', 'F', 'I', 'F', 0, 1, 1, 1, 1, 44, 1, 44, 0, 0};
  ASSERT_EQ(jpgWriteWriteMarkerSegment(ctx, 0xFFE0, app0, sizeof(app0)), 0);
  Image p = MakeScene(16, 16, 3);
  _complibImageRect rect{16, 16, 48, 24, 3, 8, p.pixels.data()};
  ASSERT_EQ(jpgWriteFromRect(ctx, &rect, 16), 0);
  void* data = nullptr;
  int64_t size = 0;
  ASSERT_EQ(jpgWriteEpilogToMemory(ctx, &data, &size), 0);
  std::vector<uint8_t> out(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
  jpgWriteFreeBitstream(data);

  // SOI, APP0 as given, DQT at quality 90 (K.1 16 -> 3, 11 -> 2; K.2 17 -> 3, 18 -> 4).
  const std::vector<uint8_t> head = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0, 1, 1, 1, 1, 44,
                                     1, 44, 0, 0, 0xFF, 0xDB, 0x00, 0x84, 0x00, 3, 2, 2, 3, 2};
  ASSERT_GE(out.size(), head.size());
  EXPECT_EQ(Hex(std::vector<uint8_t>(out.begin(), out.begin() + long(head.size()))), Hex(head));
  EXPECT_EQ(out[20 + 4 + 65], 0x01);
  EXPECT_EQ(out[20 + 4 + 66], 3);
  EXPECT_EQ(out[20 + 4 + 67], 4);

  std::vector<Segment> segments = Segments(out);
  EXPECT_EQ(Markers(out), (std::vector<uint16_t>{0xFFD8, 0xFFE0, 0xFFDB, 0xFFC4, 0xFFC0, 0xFFDA, 0xFFD9}));
  EXPECT_EQ(Find(segments, 0xFFC4)->data.size(), 416u);
  EXPECT_EQ(Hex(Find(segments, 0xFFC0)->data), "080010001003012200021101031101");
  EXPECT_EQ(Hex(Find(segments, 0xFFDA)->data), "03010002110311003f00");
  EXPECT_EQ(out[out.size() - 2], 0xFF);
  EXPECT_EQ(out[out.size() - 1], 0xD9);
  // Every 0xFF in the coded data is stuffed.
  size_t sos = Find(segments, 0xFFDA)->offset + 2 + 12;
  for (size_t i = sos; i + 2 < out.size(); ++i)
    if (out[i] == 0xFF) {
      EXPECT_EQ(out[i + 1], 0x00) << "at " << i;
    }
}

TEST(JpegWriter, GreyAndUnconvertedFramesName) {
  std::vector<uint8_t> out;
  ASSERT_EQ(Encode(MakeScene(9, 5, 1), Settings{}, &out), 0);
  // One component ignores the sampling word: 1 x 1.
  std::vector<Segment> grey = Segments(out);
  EXPECT_EQ(Hex(Find(grey, 0xFFC0)->data), "080005000901011100");
  Settings rgb;
  rgb.noColorConversion = true;
  ASSERT_EQ(Encode(MakeScene(8, 8, 3), rgb, &out), 0);
  // Numeric identifiers by default even without colour conversion.
  std::vector<Segment> kept = Segments(out);
  EXPECT_EQ(Hex(Find(kept, 0xFFC0)->data), "080008000803012200021101031101");
}

class JpegDqtAgainstCjpeg : public ::testing::TestWithParam<int> {};

TEST_P(JpegDqtAgainstCjpeg, SameTablesAtTheSameQuality) {
  WX_REQUIRE_TOOL("cjpeg");
  auto ours = OurTables(0xFFDB, GetParam());
  auto theirs = CjpegTables(0xFFDB, GetParam());
  ASSERT_EQ(ours.size(), 2u);
  EXPECT_EQ(Hex(ours[0]), Hex(theirs[0]));
  EXPECT_EQ(Hex(ours[1]), Hex(theirs[1]));
}

INSTANTIATE_TEST_SUITE_P(Qualities, JpegDqtAgainstCjpeg, ::testing::Values(10, 50, 75, 90, 100));

TEST(JpegWriter, DhtHoldsTheStandardTablesAsCjpegWritesThem) {
  WX_REQUIRE_TOOL("cjpeg");
  auto ours = OurTables(0xFFC4, 75);
  auto theirs = CjpegTables(0xFFC4, 75);
  ASSERT_EQ(ours.size(), 4u);
  for (int id : {0x00, 0x01, 0x10, 0x11}) EXPECT_EQ(Hex(ours[id]), Hex(theirs[id])) << "table " << id;
}

// Whole files of flat pictures are fixed; labelled with what they exercise.
struct Golden {
  const char* name;
  int width, height, channels;
  uint8_t b, g, r;
  Settings settings;
  const char* md5;
};

void PrintTo(const Golden& g, std::ostream* os) { *os << g.name; }

class JpegGolden : public ::testing::TestWithParam<Golden> {};

TEST_P(JpegGolden, FlatPicturesGiveFixedFiles) {
  const Golden& g = GetParam();
  Image p = MakeFlat(g.width, g.height, g.channels, g.b, g.g, g.r);
  std::vector<uint8_t> out, plain;
  ASSERT_EQ(Encode(p, g.settings, &out), 0);
  ASSERT_EQ(EncodePlain(p, g.settings, &plain), 0);
  EXPECT_EQ(Md5(out), g.md5) << g.name;
  EXPECT_EQ(Md5(plain), g.md5) << g.name << " (plain path)";
  Image d;
  ASSERT_TRUE(Decode(out, &d));
  EXPECT_GT(Psnr(p, d), 40.0);
}

Settings With(int quality, uint32_t sampling, uint32_t restart = 0) {
  Settings s;
  s.quality = quality;
  s.sampling = sampling;
  s.restart = restart;
  return s;
}

INSTANTIATE_TEST_SUITE_P(
    Files, JpegGolden,
    ::testing::Values(
        // CC: YCbCr  SAMP: 4:2:0 point  FDCT: fixed  Q: 90
        Golden{"white_420", 16, 16, 3, 255, 255, 255, With(90, 0x221111), "958ccdcfca6cd3249572f94f484dd16a"},
        // CC: YCbCr  SAMP: 4:2:0 edges on both sides  Q: 50
        Golden{"red_420_odd", 33, 17, 3, 0, 0, 255, With(50, 0x221111), "78cbd0b9055f4cb760aa924c368f6834"},
        // CC: none  SAMP: 1x1  Q: 75
        Golden{"grey_odd", 13, 7, 1, 77, 77, 77, With(75, 0x221111), "3d3d73ecb86cc74380b0a6388fc3e7e9"},
        // CC: YCbCr  SAMP: 4:2:2  RST every MCU  Q: 100
        Golden{"teal_422_rst1", 24, 8, 3, 128, 128, 0, With(100, 0x211111, 1), "d88ad4a55b1f11c240508556e01c2049"}),
    [](const ::testing::TestParamInfo<Golden>& info) { return std::string(info.param.name); });

// Every sampling pattern and odd sizes decode, with a floor on the PSNR per quality.
struct Case {
  const char* name;
  int channels;
  uint32_t sampling;
  int width, height;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class JpegDecodes : public ::testing::TestWithParam<std::tuple<Case, int>> {};

TEST_P(JpegDecodes, AboveThePsnrFloor) {
  const auto& [c, quality] = GetParam();
  // Chroma reduction bounds what sub-sampled pictures can reach, whatever the quality.
  const std::map<int, double> full = {{50, 30.0}, {75, 32.0}, {90, 35.0}, {100, 40.0}};
  const std::map<int, double> reduced = {{50, 27.0}, {75, 28.0}, {90, 29.0}, {100, 29.0}};
  const auto& floor = c.channels == 1 || c.sampling == 0x111111 ? full : reduced;
  Image p = MakeScene(c.width, c.height, c.channels, 7);
  for (int method : {0, 1}) {
    Settings s = With(quality, c.sampling);
    s.method = method;
    std::vector<uint8_t> out;
    ASSERT_EQ(Encode(p, s, &out), 0);
    Image d;
    std::string why;
    ASSERT_TRUE(Decode(out, &d, &why)) << why;
    ASSERT_EQ(d.width, c.width);
    ASSERT_EQ(d.height, c.height);
    ASSERT_EQ(d.channels, c.channels);
    EXPECT_GT(Psnr(p, d), floor.at(quality)) << c.name << " q" << quality << " method " << method;
    if (quality == 90 && method == 0 && c.width == 61)
      wxtest::WriteBytes(wxtest::OutputDir("jpeg") / (std::string(c.name) + ".jpg"), out);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Matrix, JpegDecodes,
    ::testing::Combine(::testing::Values(Case{"grey", 1, 0x221111, 61, 45}, Case{"s444", 3, 0x111111, 61, 45},
                                         Case{"s422", 3, 0x211111, 61, 45}, Case{"s420", 3, 0x221111, 61, 45},
                                         Case{"s440", 3, 0x121111, 61, 45}, Case{"s411h", 3, 0x411111, 61, 45},
                                         Case{"grey_1x1", 1, 0x221111, 1, 1}, Case{"s420_1x1", 3, 0x221111, 1, 1},
                                         Case{"s420_odd", 3, 0x221111, 17, 33}, Case{"s422_thin", 3, 0x211111, 3, 70}),
                       ::testing::Values(50, 75, 90, 100)),
    [](const auto& info) {
      return std::string(std::get<0>(info.param).name) + "_q" + std::to_string(std::get<1>(info.param));
    });

TEST(JpegWriter, OneStripOrManyGiveTheSameBytes) {
  Image p = MakeScene(53, 71, 3, 3);
  for (uint32_t sampling : {0x221111u, 0x111111u, 0x211111u}) {
    int mcuHeight = sampling == 0x221111u ? 16 : 8;
    Settings whole = With(80, sampling, 2);
    whole.stripLines = 0;
    std::vector<uint8_t> reference;
    ASSERT_EQ(Encode(p, whole, &reference), 0);
    for (int strip : {mcuHeight, 2 * mcuHeight, 3 * mcuHeight}) {
      Settings s = whole;
      s.stripLines = strip;
      std::vector<uint8_t> out;
      ASSERT_EQ(Encode(p, s, &out), 0);
      EXPECT_EQ(out, reference) << std::hex << sampling << std::dec << " strips of " << strip;
    }
  }
}

TEST(JpegWriter, VectorAndPlainPathsGiveTheSameBytes) {
  const std::pair<int, int> sizes[] = {{64, 32}, {37, 23}, {1, 1}, {17, 9}, {40, 17}};
  for (int channels : {1, 3})
    for (uint32_t sampling : {0x221111u, 0x211111u, 0x111111u, 0x121111u, 0x411111u, 0x221212u})
      for (int method : {0, 1})
        for (int dct : {0, 1})
          for (auto [w, h] : sizes) {
            Image p = MakeScene(w, h, channels, w * h);
            Settings s = With(85, sampling);
            s.method = method;
            s.dctMethod = dct;
            s.stripLines = 0;
            std::vector<uint8_t> vec, plain;
            ASSERT_EQ(Encode(p, s, &vec), 0);
            ASSERT_EQ(EncodePlain(p, s, &plain), 0);
            EXPECT_EQ(vec, plain) << "channels " << channels << " sampling " << std::hex << sampling << std::dec
                                  << " method " << method << " dct " << dct << " " << w << "x" << h;
          }
  // Noise reaches the largest quotients at quality 100 and long zero runs at quality 10.
  for (int channels : {1, 3})
    for (int quality : {10, 100})
      for (auto [w, h] : {std::pair{37, 23}, std::pair{64, 32}}) {
        Image p = MakeNoise(w, h, channels, w + quality);
        Settings s = With(quality, 0x221111);
        std::vector<uint8_t> vec, plain;
        ASSERT_EQ(Encode(p, s, &vec), 0);
        ASSERT_EQ(EncodePlain(p, s, &plain), 0);
        EXPECT_EQ(vec, plain) << "noise, channels " << channels << " q" << quality << " " << w << "x" << h;
      }
  // Saturated colours reach chroma 128, the largest transform input.
  Image red = MakeFlat(32, 16, 3, 0, 0, 255), blue = MakeFlat(32, 16, 3, 255, 0, 0);
  for (const Image* p : {&red, &blue}) {
    std::vector<uint8_t> vec, plain;
    ASSERT_EQ(Encode(*p, With(100, 0x111111), &vec), 0);
    ASSERT_EQ(EncodePlain(*p, With(100, 0x111111), &plain), 0);
    EXPECT_EQ(vec, plain);
    Image d;
    ASSERT_TRUE(Decode(vec, &d));
    EXPECT_GT(Psnr(*p, d), 40.0);
  }
}

// Red-first pixels are read in place of blue-first ones: the same bytes on every path.
TEST(JpegWriter, RedFirstPixelsGiveTheBytesOfBlueFirstOnes) {
  for (auto [w, h] : {std::pair{64, 32}, std::pair{37, 23}, std::pair{5, 3}}) {
    const Image blueFirst = MakeScene(w, h, 3, 7 * w + h);
    Image redFirst = blueFirst;
    for (size_t i = 0; i < redFirst.pixels.size(); i += 3) std::swap(redFirst.pixels[i], redFirst.pixels[i + 2]);
    for (uint32_t sampling : {0x221111u, 0x211111u, 0x111111u, 0x121111u})
      for (int method : {0, 1})
        for (bool keepRGB : {false, true})
          for (bool plain : {false, true}) {
            Settings s = With(85, sampling);
            s.method = method;
            s.noColorConversion = keepRGB;
            std::vector<uint8_t> reference, out;
            ASSERT_EQ((plain ? EncodePlain : Encode)(blueFirst, s, &reference), 0);
            s.redFirst = true;
            ASSERT_EQ((plain ? EncodePlain : Encode)(redFirst, s, &out), 0);
            EXPECT_EQ(out, reference) << w << "x" << h << " sampling " << std::hex << sampling << std::dec << " method "
                                      << method << (keepRGB ? " RGB kept" : "") << (plain ? " plain" : " vector");
          }
  }
}

TEST(JpegWriter, RestartIntervalsDecodeAndNeverPrecedeTheEnd) {
  // 37 x 23 at 4:2:0: 3 MCUs per row, 2 rows.
  Image p = MakeScene(37, 23, 3, 5);
  std::vector<uint8_t> plain;
  ASSERT_EQ(Encode(p, With(90, 0x221111), &plain), 0);
  Image reference;
  ASSERT_TRUE(Decode(plain, &reference));
  const std::map<uint32_t, int> expectedMarkers = {{1, 5}, {2, 2}, {3, 1}, {5, 1}, {6, 0}, {9, 0}};
  for (auto [interval, count] : expectedMarkers) {
    std::vector<uint8_t> out;
    ASSERT_EQ(Encode(p, With(90, 0x221111, interval), &out), 0);
    std::vector<uint16_t> markers = Markers(out);
    int rst = 0;
    for (size_t i = 0; i < markers.size(); ++i)
      if (markers[i] >= 0xFFD0 && markers[i] <= 0xFFD7) {
        EXPECT_EQ(markers[i], 0xFFD0 + rst % 8);
        ++rst;
      }
    EXPECT_EQ(rst, count) << "interval " << interval;
    ASSERT_GE(out.size(), 4u);
    EXPECT_FALSE(out[out.size() - 4] == 0xFF && (out[out.size() - 3] & 0xF8) == 0xD0) << "RSTm right before EOI";
    std::vector<Segment> segments = Segments(out);
    const Segment* dri = Find(segments, 0xFFDD);
    ASSERT_NE(dri, nullptr);
    EXPECT_EQ(dri->data, (std::vector<uint8_t>{0, static_cast<uint8_t>(interval)}));
    Image d;
    std::string why;
    ASSERT_TRUE(Decode(out, &d, &why)) << why;
    EXPECT_EQ(d.pixels, reference.pixels) << "interval " << interval;
    if (interval == 1) wxtest::WriteBytes(wxtest::OutputDir("jpeg") / "restart_every_mcu.jpg", out);
  }
  // Interval 0 writes no DRI and no RSTm.
  std::vector<Segment> plainSegments = Segments(plain);
  EXPECT_EQ(Find(plainSegments, 0xFFDD), nullptr);
}

TEST(JpegWriter, QualityOneAndTheSpecialTable) {
  Image p = MakeScene(32, 32, 3, 9);
  std::vector<uint8_t> out;
  ASSERT_EQ(Encode(p, With(1, 0x221111), &out), 0);
  std::vector<Segment> segments = Segments(out);
  const Segment* dqt = Find(segments, 0xFFDB);
  ASSERT_NE(dqt, nullptr);
  EXPECT_EQ(dqt->data[1], 255);  // 16 x 5000 / 100 clamps
  Image d;
  ASSERT_TRUE(Decode(out, &d));
}

TEST(JpegWriter, NoisePicturesGrowTheMemoryBlock) {
  // Noise at quality 100 codes to far more than the first growth step.
  Image p = MakeNoise(512, 256, 3, 11);
  std::vector<uint8_t> out;
  ASSERT_EQ(Encode(p, With(100, 0x111111), &out), 0);
  EXPECT_GT(out.size(), 300000u);
  Image d;
  std::string why;
  ASSERT_TRUE(Decode(out, &d, &why)) << why;
  EXPECT_GT(Psnr(p, d), 40.0);
}

// Same tables, no chroma reduction: the transform and quantisation alone decide, and they must
// do as well as libjpeg-turbo's.
TEST(JpegWriter, PsnrMatchesCjpegAtFullResolution) {
  WX_REQUIRE_TOOL("cjpeg");
  wxtest::ScratchDir dir;
  for (int channels : {1, 3}) {
    Image p = MakeScene(128, 96, channels, 21);
    WritePnm((dir / "in.pnm").string(), p);
    for (int quality : {50, 75, 90, 100}) {
      std::string cmd = "cjpeg -quality " + std::to_string(quality) + " -sample 1x1 '" + (dir / "in.pnm").string() +
                        "' > '" + (dir / "c.jpg").string() + "'";
      ASSERT_EQ(wxtest::Run(cmd), 0);
      Image theirs, ours;
      ASSERT_TRUE(Decode(wxtest::ReadBytes(dir / "c.jpg"), &theirs));
      std::vector<uint8_t> out;
      ASSERT_EQ(Encode(p, With(quality, 0x111111), &out), 0);
      ASSERT_TRUE(Decode(out, &ours));
      EXPECT_GT(Psnr(p, ours), Psnr(p, theirs) - 0.1) << "channels " << channels << " q" << quality;
    }
  }
}
