#include "quicktime/QuickTime.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <utility>
#include <vector>

#include "support/ReferenceJpeg.h"
#include "support/TestEnv.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"
#include "toolbox/RecordAccess.h"

namespace fs = std::filesystem;

namespace {

// The R, G, B bytes of pixel (x, y) of a 32-bit world.
std::array<uint8_t, 3> Pixel(GWorldPtr world, int x, int y) {
  PixMapHandle pm = GetGWorldPixMap(world);
  const uint8_t* p = reinterpret_cast<const uint8_t*>(GetPixBaseAddr(pm)) + y * GetPixRowBytes(pm) + 4 * x;
  return {p[1], p[2], p[3]};
}

class QuickTime : public ::testing::Test {
 protected:
  void SetUp() override { setenv("WENDRIX_ROOT", dir.path().c_str(), 1); }
  void TearDown() override {
    QTSetJPEGWriter(nullptr);
    for (GWorldPtr w : worlds) DisposeGWorld(w);
    unsetenv("WENDRIX_ROOT");
  }
  FSSpec Spec(const fs::path& p) {
    FSSpec spec{};
    EXPECT_TRUE(FSpMakeFromPOSIXPath(p.string(), &spec) == noErr || FSpMakeFromPOSIXPath(p.string(), &spec) == fnfErr);
    return spec;
  }
  GWorldPtr World(int w, int h, int depth = 32) {
    GWorldPtr world = nullptr;
    const Rect r{0, 0, static_cast<int16_t>(h), static_cast<int16_t>(w)};
    EXPECT_EQ(NewGWorld(&world, depth, &r, nullptr, nullptr, 0), noErr);
    worlds.push_back(world);
    return world;
  }
  // Imports the file and draws it into a new 32-bit world of w x h.
  GWorldPtr Import(const fs::path& file, int w, int h, Rect* natural = nullptr, CodecQ quality = codecNormalQuality) {
    FSSpec spec = Spec(file);
    GraphicsImportComponent gi = nullptr;
    EXPECT_EQ(GetGraphicsImporterForFile(&spec, &gi), noErr) << file;
    if (!gi) return nullptr;
    Rect nat{};
    EXPECT_EQ(GraphicsImportGetNaturalBounds(gi, &nat), noErr);
    if (natural) *natural = nat;
    GWorldPtr world = World(w, h);
    const Rect bounds{0, 0, static_cast<int16_t>(h), static_cast<int16_t>(w)};
    EXPECT_EQ(GraphicsImportSetGWorld(gi, world, nullptr), noErr);
    EXPECT_EQ(GraphicsImportSetBoundsRect(gi, &bounds), noErr);
    EXPECT_EQ(GraphicsImportSetQuality(gi, quality), noErr);
    EXPECT_EQ(GraphicsImportDraw(gi), noErr);
    EXPECT_EQ(CloseComponent(gi), noErr);
    return world;
  }
  wxtest::ScratchDir dir;
  std::vector<GWorldPtr> worlds;
};

// A big-endian one-strip TIFF as the system writes them.
std::vector<uint8_t> TIFF(int w, int h, int bits, int samples, int photometric, const std::vector<uint8_t>& strip) {
  std::vector<uint8_t> f(8 + 2 + 12 * 8 + 4, 0);
  f[0] = f[1] = 'M';
  BEPutU16(&f[2], 42);
  BEPutU32(&f[4], 8);
  BEPutU16(&f[8], 8);
  const uint32_t stripAt = static_cast<uint32_t>(f.size() + (samples == 3 ? 6 : 0));
  const uint16_t tags[8][3] = {{256, 4, 1}, {257, 4, 1}, {258, 3, uint16_t(samples)}, {259, 3, 1},
                               {262, 3, 1}, {273, 4, 1}, {277, 3, 1},                {279, 4, 1}};
  const uint32_t values[8] = {uint32_t(w), uint32_t(h), samples == 3 ? uint32_t(f.size()) : uint32_t(bits), 1,
                              uint32_t(photometric), stripAt, uint32_t(samples), uint32_t(strip.size())};
  for (int i = 0; i < 8; ++i) {
    uint8_t* e = &f[10 + 12 * i];
    BEPutU16(e, tags[i][0]);
    BEPutU16(e + 2, tags[i][1]);
    BEPutU32(e + 4, tags[i][2]);
    if (tags[i][1] == 3 && tags[i][2] == 1)
      BEPutU16(e + 8, static_cast<uint16_t>(values[i]));
    else
      BEPutU32(e + 8, values[i]);
  }
  if (samples == 3) f.insert(f.end(), {0, 8, 0, 8, 0, 8});
  f.insert(f.end(), strip.begin(), strip.end());
  return f;
}

TEST_F(QuickTime, DrawsJPEGAsTheReferenceDecoderDoes) {
  WX_REQUIRE_TOOL("cjpeg");
  WX_REQUIRE_TOOL("djpeg");
  const int w = 48, h = 32;
  const auto picture = wxtest::MakeRGBPicture(w, h, [](int x, int y) { return std::array<int, 3>{x * 5, y * 7, 100}; });
  ASSERT_TRUE(wxtest::CjpegWrite(picture, dir / "in.jpg"));
  wxtest::RGBPicture ref;
  ASSERT_TRUE(wxtest::DjpegRead(dir / "in.jpg", &ref));

  Rect natural{};
  GWorldPtr world = Import(dir / "in.jpg", w, h, &natural);
  ASSERT_NE(world, nullptr);
  EXPECT_EQ(natural.right, w);
  EXPECT_EQ(natural.bottom, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const auto p = Pixel(world, x, y);
      for (int c = 0; c < 3; ++c) ASSERT_EQ(p[c], ref.rgb[(size_t(y) * w + x) * 3 + c]) << x << "," << y;
    }

  // Shrunk to a quarter, each pixel is close to the mean of its block.
  GWorldPtr small = Import(dir / "in.jpg", 12, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 12; ++x)
      for (int c = 0; c < 3; ++c) {
        int sum = 0;
        for (int dy = 0; dy < 4; ++dy)
          for (int dx = 0; dx < 4; ++dx) sum += ref.rgb[(size_t(4 * y + dy) * w + 4 * x + dx) * 3 + c];
        EXPECT_NEAR(Pixel(small, x, y)[c], sum / 16, 6) << x << "," << y;
      }
}

TEST_F(QuickTime, DrawsTheSystemsTIFFs) {
  struct Case {
    const char* name;
    std::vector<uint8_t> file;
    std::array<uint8_t, 3> first, second;
  };
  const Case cases[] = {
      // 1 bit, a set bit is black (photometric 0).
      {"bilevel", TIFF(2, 1, 1, 1, 0, {0x80}), {0, 0, 0}, {255, 255, 255}},
      // 8-bit grey stored inverted (photometric 0: zero is white).
      {"grey", TIFF(2, 1, 8, 1, 0, {0, 200}), {255, 255, 255}, {55, 55, 55}},
      {"grey-black-zero", TIFF(2, 1, 8, 1, 1, {0, 200}), {0, 0, 0}, {200, 200, 200}},
      {"rgb", TIFF(2, 1, 8, 3, 2, {10, 20, 30, 40, 50, 60}), {10, 20, 30}, {40, 50, 60}},
  };
  for (const auto& c : cases) {
    const fs::path file = dir / (std::string(c.name) + ".tif");
    wxtest::WriteBytes(file, c.file);
    GWorldPtr world = Import(file, 2, 1);
    ASSERT_NE(world, nullptr) << c.name;
    EXPECT_EQ(Pixel(world, 0, 0), c.first) << c.name;
    EXPECT_EQ(Pixel(world, 1, 0), c.second) << c.name;
  }
}

TEST_F(QuickTime, DrawsIntoAPortOfAnotherDepthAtItsBounds) {
  wxtest::WriteBytes(dir / "grey.tif", TIFF(4, 2, 8, 1, 1, {0, 0, 0, 0, 0, 0, 0, 0}));
  FSSpec spec = Spec(dir / "grey.tif");
  GraphicsImportComponent gi = nullptr;
  ASSERT_EQ(GetGraphicsImporterForFile(&spec, &gi), noErr);
  GWorldPtr world = World(8, 4, 1);
  const Rect bounds{1, 2, 3, 6};
  ASSERT_EQ(GraphicsImportSetGWorld(gi, world, nullptr), noErr);
  ASSERT_EQ(GraphicsImportSetBoundsRect(gi, &bounds), noErr);
  ASSERT_EQ(GraphicsImportDraw(gi), noErr);
  CloseComponent(gi);
  // A black image on a white 1-bit world: set bits exactly inside the bounds.
  PixMapHandle pm = GetGWorldPixMap(world);
  const uint8_t* base = reinterpret_cast<const uint8_t*>(GetPixBaseAddr(pm));
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x) {
      const bool set = base[y * GetPixRowBytes(pm) + x / 8] & (0x80 >> (x % 8));
      EXPECT_EQ(set, y >= 1 && y < 3 && x >= 2 && x < 6) << x << "," << y;
    }
}

TEST_F(QuickTime, DrawsAPICTFile) {
  const Rect frame{0, 0, 20, 30};
  OpenCPicParams params{frame, 72 << 16, 72 << 16, -2, 0, 0};
  GWorldPtr source = World(30, 20);
  SetGWorld(source, nullptr);
  PicHandle pic = OpenCPicture(&params);
  const RGBColor red{0xFFFF, 0, 0};
  RGBForeColor(&red);
  PaintRect(&frame);
  ClosePicture();
  ASSERT_NE(pic, nullptr);
  std::vector<uint8_t> file(512, 0);
  file.insert(file.end(), reinterpret_cast<uint8_t*>(*pic), reinterpret_cast<uint8_t*>(*pic) + GetHandleSize(Handle(pic)));
  KillPicture(pic);
  wxtest::WriteBytes(dir / "page.pic", file);

  Rect natural{};
  GWorldPtr world = Import(dir / "page.pic", 15, 10, &natural);
  ASSERT_NE(world, nullptr);
  EXPECT_EQ(natural.right, 30);
  EXPECT_EQ(natural.bottom, 20);
  EXPECT_EQ(Pixel(world, 7, 5), (std::array<uint8_t, 3>{255, 0, 0}));
}

TEST_F(QuickTime, RefusesWhatItCannotDraw) {
  std::vector<uint8_t> junk(600, 0x42);
  wxtest::WriteBytes(dir / "junk.bin", junk);
  wxtest::WriteBytes(dir / "bad.jpg", {0xFF, 0xD8, 0xFF, 0xE0, 0x00});
  wxtest::WriteBytes(dir / "bad.tif", TIFF(100, 100, 8, 1, 1, {1, 2, 3}));  // the strip is too short
  auto farBits = TIFF(2, 1, 8, 3, 2, {1, 2, 3, 4, 5, 6});
  BEPutU32(&farBits[10 + 12 * 2 + 8], 0xFFFFFFFF);  // the depths' offset lies far outside
  wxtest::WriteBytes(dir / "far.tif", farBits);
  for (const char* name : {"junk.bin", "bad.jpg", "bad.tif", "far.tif"}) {
    FSSpec spec = Spec(dir / name);
    GraphicsImportComponent gi = reinterpret_cast<GraphicsImportComponent>(1);
    EXPECT_EQ(GetGraphicsImporterForFile(&spec, &gi), cantFindHandler) << name;
    EXPECT_EQ(gi, nullptr);
  }
  FSSpec missing = Spec(dir / "missing.jpg");
  GraphicsImportComponent gi = nullptr;
  EXPECT_EQ(GetGraphicsImporterForFile(&missing, &gi), fnfErr);
}

// A 16 x 16 JPEG from the reference encoder (with `options`) whose frame header then claims
// width x height.
std::vector<uint8_t> JPEGClaiming(const fs::path& folder, const std::string& options, int width, int height) {
  std::vector<uint8_t> ppm = {'P', '6', '\n', '1', '6', ' ', '1', '6', '\n', '2', '5', '5', '\n'};
  for (int i = 0; i < 16 * 16 * 3; ++i) ppm.push_back(static_cast<uint8_t>(i * 13));
  wxtest::WriteBytes(folder / "small.ppm", ppm);
  EXPECT_EQ(wxtest::Run("cjpeg " + options + " -outfile '" + (folder / "small.jpg").string() + "' '" +
                        (folder / "small.ppm").string() + "'"),
            0);
  std::vector<uint8_t> jpeg = wxtest::ReadBytes(folder / "small.jpg");
  for (size_t i = 2; i + 9 < jpeg.size(); ++i)
    if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2)) {
      BEPutU16(&jpeg[i + 5], static_cast<uint16_t>(height));
      BEPutU16(&jpeg[i + 7], static_cast<uint16_t>(width));
      break;
    }
  return jpeg;
}

// A version 2 PICT file of nothing but a 32767 x 32767 frame.
std::vector<uint8_t> LargePICT() {
  std::vector<uint8_t> f(512, 0);
  f.insert(f.end(), {0x00, 0x16, 0x00, 0x00, 0x00, 0x00, 0x7F, 0xFF, 0x7F, 0xFF, 0x00, 0x11, 0x02, 0xFF, 0x00, 0xFF});
  return f;
}

// Files of about a kilobyte claiming 32767 x 32767 pixels: the progressive one made the
// decoder allocate gigabytes, the baseline one took seconds. Both are refused from their
// header, before anything is decoded; as is a picture whose pixels would pass what a world
// may take.
TEST_F(QuickTime, RefusesImagesClaimingMoreThanTheyCanHold) {
  WX_REQUIRE_TOOL("cjpeg");
  const struct {
    const char* name;
    std::vector<uint8_t> bytes;
  } claims[] = {
      {"progressive.jpg", JPEGClaiming(dir.path(), "-progressive", 32767, 32767)},
      {"baseline.jpg", JPEGClaiming(dir.path(), "", 32767, 32767)},
      {"large.pict", LargePICT()},
  };
  for (const auto& c : claims) {
    wxtest::WriteBytes(dir / c.name, c.bytes);
    FSSpec spec = Spec(dir / c.name);
    GraphicsImportComponent gi = reinterpret_cast<GraphicsImportComponent>(1);
    EXPECT_EQ(GetGraphicsImporterForFile(&spec, &gi), cantFindHandler) << c.name;
    EXPECT_EQ(gi, nullptr) << c.name;
  }
  // The same small file with its own size still draws.
  wxtest::WriteBytes(dir / "small16.jpg", JPEGClaiming(dir.path(), "-progressive", 16, 16));
  EXPECT_NE(Import(dir / "small16.jpg", 16, 16), nullptr);
}

// What the exporter hands its JPEG writer.
std::vector<uint8_t> gWritten;
int gWrittenWidth = 0, gWrittenHeight = 0;
OSErr RecordingWriter(const FSSpec* file, const UInt8* rgb, SInt32 width, SInt32 height, SInt32 rowBytes) {
  gWritten.clear();
  for (SInt32 y = 0; y < height; ++y) gWritten.insert(gWritten.end(), rgb + y * rowBytes, rgb + y * rowBytes + width * 3);
  gWrittenWidth = width;
  gWrittenHeight = height;
  std::string path;
  FSpGetPOSIXPath(file, &path);
  wxtest::WriteBytes(path, {1, 2, 3});
  return noErr;
}

TEST_F(QuickTime, ExporterHandsTheWorldToTheJPEGWriter) {
  ComponentInstance ge = nullptr;
  EXPECT_EQ(OpenADefaultComponent(GraphicsExporterComponentType, 'PNGf', &ge), cantFindHandler);
  EXPECT_EQ(OpenADefaultComponent('xxxx', kQTFileTypeJPEG, &ge), badComponentType);
  ASSERT_EQ(OpenADefaultComponent(GraphicsExporterComponentType, kQTFileTypeJPEG, &ge), noErr);

  GWorldPtr world = World(4, 2);
  SetGWorld(world, nullptr);
  const RGBColor blue{0, 0, 0xFFFF};
  RGBForeColor(&blue);
  const Rect left{0, 0, 2, 2};
  PaintRect(&left);

  const fs::path out = dir / "JPEGTHUMB.jpg";
  wxtest::WriteBytes(out, std::vector<uint8_t>(5000, 9));
  FSSpec spec = Spec(out);
  ASSERT_EQ(GraphicsExportSetInputGWorld(ge, world), noErr);
  ASSERT_EQ(GraphicsExportSetOutputFile(ge, &spec), noErr);
  EXPECT_EQ(GraphicsExportDoExport(ge, nullptr), cantFindHandler) << "no encoder handed in";
  QTSetJPEGWriter(RecordingWriter);
  UInt32 written = 0;
  ASSERT_EQ(GraphicsExportDoExport(ge, &written), noErr);
  EXPECT_EQ(written, 3u);
  EXPECT_EQ(gWrittenWidth, 4);
  EXPECT_EQ(gWrittenHeight, 2);
  const std::vector<uint8_t> want = {0, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255, 255,
                                     0, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255, 255};
  EXPECT_EQ(gWritten, want);
  EXPECT_EQ(CloseComponent(ge), noErr);
}

// Shrinking averages whole pixels (each row's spans, then the rows'), enlarging repeats them;
// at low quality each pixel is the one a CopyBits of the full-size image takes. Sizes down,
// up by whole and by broken factors, and down one way while up the other.
TEST_F(QuickTime, ScalesByAveragingOrAtLowQualityAsCopyBitsOfTheFullSizeImage) {
  const int W = 37, H = 23;
  std::vector<uint8_t> strip(size_t(W) * H * 3);
  for (size_t i = 0; i < strip.size(); ++i) strip[i] = uint8_t(i * 97 + i / 111 * 13);
  wxtest::WriteBytes(dir / "page.tif", TIFF(W, H, 8, 3, 2, strip));
  GWorldPtr full = Import(dir / "page.tif", W, H);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x)
      ASSERT_EQ(Pixel(full, x, y), (std::array<uint8_t, 3>{strip[size_t(y * W + x) * 3], strip[size_t(y * W + x) * 3 + 1],
                                                          strip[size_t(y * W + x) * 3 + 2]}));
  // The spans [first, last) of n pixels over N.
  auto span = [](int i, int n, int N) {
    const int first = i * N / n;
    return std::pair<int, int>{first, std::max(first + 1, ((i + 1) * N + n - 1) / n)};
  };
  for (auto [w, h] : {std::pair{10, 7}, {37, 23}, {50, 30}, {74, 46}, {20, 40}, {1, 1}}) {
    GWorldPtr averaged = Import(dir / "page.tif", w, h);
    GWorldPtr sampled = Import(dir / "page.tif", w, h, nullptr, codecLowQuality);
    GWorldPtr copied = World(w, h);
    const Rect from{0, 0, int16_t(H), int16_t(W)}, to{0, 0, int16_t(h), int16_t(w)};
    CopyBits(GetPortBitMapForCopyBits(full), GetPortBitMapForCopyBits(copied), &from, &to, srcCopy, nullptr);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        EXPECT_EQ(Pixel(sampled, x, y), Pixel(copied, x, y)) << w << "x" << h << " at " << x << "," << y;
        const auto [y0, y1] = span(y, h, H);
        const auto [x0, x1] = span(x, w, W);
        std::array<uint8_t, 3> want{};
        for (int c = 0; c < 3; ++c) {
          unsigned rows = 0;
          for (int sy = y0; sy < y1; ++sy) {
            unsigned sum = 0;
            for (int sx = x0; sx < x1; ++sx) sum += Pixel(full, sx, sy)[size_t(c)];
            rows += sum / unsigned(x1 - x0);
          }
          want[size_t(c)] = uint8_t(rows / unsigned(y1 - y0));
        }
        EXPECT_EQ(Pixel(averaged, x, y), want) << w << "x" << h << " at " << x << "," << y;
      }
  }
}

}  // namespace
