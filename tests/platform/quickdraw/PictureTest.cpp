#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "QDTestSupport.h"
#include "quickdraw/QuickDrawText.h"
#include "support/TestEnv.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"
#include "toolbox/RecordAccess.h"

namespace {

using qdtest::World;

Rect R(int l, int t, int r, int b) { return Rect{SInt16(t), SInt16(l), SInt16(b), SInt16(r)}; }

// The picture-output procedure of a file writer: bytes after the header go to the file.
std::vector<uint8_t>* sStream = nullptr;
long sStreamed = 0;
PicHandle sOpenPic = nullptr;
void PutToStream(const void* data, SInt16 count) {
  auto p = static_cast<const uint8_t*>(data);
  sStream->insert(sStream->end(), p, p + count);
  sStreamed += count;
  if (sOpenPic) BEPutU16(*sOpenPic, static_cast<uint16_t>(sStreamed & 0xFFFF));
}

// Records `src` into a PICT file the way the file exporter does: 512 zero bytes, the
// picture streamed through putPicProc in strips, then the header written back.
std::vector<uint8_t> RecordFile(const World& src, int stripRows) {
  Rect bounds;
  GetPortBounds(src.get(), &bounds);
  std::vector<uint8_t> file(512 + 10, 0);
  sStream = &file;
  sStreamed = 10;
  CQDProcs procs;
  SetStdCProcs(&procs);
  procs.putPicProc = PutToStream;
  SetGWorld(src.get(), nullptr);
  SetPortGrafProcs(src.get(), &procs);
  OpenCPicParams params{bounds, IntToFixed(300), IntToFixed(300), -2, 0, 0};
  PicHandle pic = OpenCPicture(&params);
  sOpenPic = pic;
  for (int top = bounds.top; top < bounds.bottom; top += stripRows) {
    int bottom = std::min<int>(top + stripRows, bounds.bottom);
    Rect s = R(bounds.left, top, bounds.right, bottom);
    CopyBits(src.bits(), GetPortBitMapForCopyBits(src.get()), &s, &s, srcCopy, nullptr);
  }
  ClosePicture();
  sOpenPic = nullptr;
  SetPortGrafProcs(src.get(), nullptr);
  std::memcpy(file.data() + 512, *pic, 10);
  KillPicture(pic);
  return file;
}

void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// The pixels ImageMagick reads from a file, as 0x00RRGGBB.
std::vector<uint32_t> ConvertedPixels(const std::filesystem::path& pict, const std::filesystem::path& png, int* w, int* h) {
  std::vector<uint32_t> out;
  if (wxtest::Run("convert '" + pict.string() + "' '" + png.string() + "' 2>&1") != 0) return out;
  std::string size;
  wxtest::Run("identify -format '%w %h' '" + png.string() + "'", &size);
  std::sscanf(size.c_str(), "%d %d", w, h);
  std::string raw;
  wxtest::Run("convert '" + png.string() + "' -depth 8 rgb:-", &raw);
  for (size_t i = 0; i + 2 < raw.size(); i += 3)
    out.push_back((uint32_t(uint8_t(raw[i])) << 16) | (uint32_t(uint8_t(raw[i + 1])) << 8) | uint8_t(raw[i + 2]));
  return out;
}

TEST(Picture, TwentyFourBitRecordingOpensInImageMagickWithTheSamePixels) {
  WX_REQUIRE_TOOL("convert");
  World src(37, 23);
  for (int y = 0; y < 23; ++y)
    for (int x = 0; x < 37; ++x) {
      RGBColor c{UInt16(x * 7 * 257), UInt16(y * 11 * 257), UInt16(((x + y) % 3 == 0 ? 255 : 40) * 257)};
      SetCPixel(SInt16(x), SInt16(y), &c);
    }
  std::vector<uint8_t> file = RecordFile(src, 10);
  EXPECT_EQ(BEGetU16(file.data() + 512), (file.size() - 512) & 0xFFFF);
  wxtest::ScratchDir dir;
  std::filesystem::path pict = wxtest::OutputDir("quickdraw") / "direct24.pict";
  WriteFile(pict, file);
  int w = 0, h = 0;
  std::vector<uint32_t> px = ConvertedPixels(pict, dir / "direct24.png", &w, &h);
  ASSERT_EQ(w, 37);
  ASSERT_EQ(h, 23);
  ASSERT_EQ(px.size(), 37u * 23u);
  for (int y = 0; y < 23; ++y)
    for (int x = 0; x < 37; ++x) ASSERT_EQ(px[size_t(y) * 37 + x], src.Pixel(x, y)) << x << "," << y;
}

TEST(Picture, EightBitGreyRecordingOpensInImageMagickWithTheSamePixels) {
  WX_REQUIRE_TOOL("convert");
  CTabHandle grey = GetCTable(40);  // index 0 is white, as raw grey scans are stored
  World src(21, 9, 8, grey);
  auto* base = reinterpret_cast<uint8_t*>(GetPixBaseAddr(GetGWorldPixMap(src.get())));
  long rowBytes = GetPixRowBytes(GetGWorldPixMap(src.get()));
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 21; ++x) base[y * rowBytes + x] = uint8_t((x * 12 + y * 5) & 0xFF);
  std::vector<uint8_t> file = RecordFile(src, 4);
  std::filesystem::path pict = wxtest::OutputDir("quickdraw") / "grey8.pict";
  WriteFile(pict, file);
  wxtest::ScratchDir dir;
  int w = 0, h = 0;
  std::vector<uint32_t> px = ConvertedPixels(pict, dir / "grey8.png", &w, &h);
  ASSERT_EQ(w, 21);
  ASSERT_EQ(h, 9);
  ASSERT_EQ(px.size(), 21u * 9u);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 21; ++x) {
      uint32_t g = 255 - ((x * 12 + y * 5) & 0xFF);
      ASSERT_EQ(px[size_t(y) * 21 + x], (g << 16) | (g << 8) | g) << x << "," << y;
    }
  DisposeCTable(grey);
}

TEST(Picture, OneBitRecordingOpensInImageMagickWithTheSamePixels) {
  WX_REQUIRE_TOOL("convert");
  World src(19, 7, 1);
  auto* base = reinterpret_cast<uint8_t*>(GetPixBaseAddr(GetGWorldPixMap(src.get())));
  long rowBytes = GetPixRowBytes(GetGWorldPixMap(src.get()));
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 19; ++x)
      if ((x * 3 + y) % 5 < 2) base[y * rowBytes + x / 8] |= uint8_t(0x80 >> (x % 8));
  std::vector<uint8_t> file = RecordFile(src, 3);
  std::filesystem::path pict = wxtest::OutputDir("quickdraw") / "bilevel1.pict";
  WriteFile(pict, file);
  wxtest::ScratchDir dir;
  int w = 0, h = 0;
  std::vector<uint32_t> px = ConvertedPixels(pict, dir / "bilevel1.png", &w, &h);
  ASSERT_EQ(w, 19);
  ASSERT_EQ(h, 7);
  ASSERT_EQ(px.size(), 19u * 7u);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 19; ++x) ASSERT_EQ(px[size_t(y) * 19 + x], (x * 3 + y) % 5 < 2 ? 0u : 0xFFFFFFu) << x << "," << y;
}

// A 32-bit world's pixel (0x00RRGGBB) straight in its buffer: big worlds stay quick.
uint8_t* PixelAt(const World& w, int x, int y) {
  PixMapHandle pm = GetGWorldPixMap(w.get());
  return static_cast<uint8_t*>(static_cast<void*>(GetPixBaseAddr(pm))) + y * long(GetPixRowBytes(pm)) + x * 4;
}

TEST(Picture, ClipAndMaskTooBigToStoreAreRecordedAsTheirBounds) {
  WX_REQUIRE_TOOL("convert");
  constexpr int kW = 400, kH = 170;  // the comb's stored form would pass 0xFFFF bytes
  auto colour = [](int x, int y) { return uint32_t((x % 256) << 16 | (y % 128) * 2 << 8 | ((x / 7 + y) % 2 ? 200 : 30)); };
  World src(kW, kH);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) BEPutU32(PixelAt(src, x, y), colour(x, y));
  World recorder(kW, kH);
  Rect frame = R(0, 0, kW, kH);
  RgnHandle comb = NewRgn();
  qdStoreRegion(comb, qdtest::Checkerboard(kW, kH));
  Rect box;
  GetRegionBounds(comb, &box);
  ASSERT_EQ(box.right, kW - 1);
  PicHandle pic = OpenPicture(&frame);
  SetClip(comb);
  CopyBits(src.bits(), GetPortBitMapForCopyBits(recorder.get()), &frame, &frame, srcCopy, comb);
  ClosePicture();
  DisposeRgn(comb);
  ASSERT_EQ(QDError(), noErr);

  // Played back, the clip and the mask are the comb's bounds: its last column stays white.
  World played(kW, kH);
  DrawPicture(pic, &frame);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      ASSERT_EQ(BEGetU32(PixelAt(played, x, y)) & 0xFFFFFF, x < box.right ? colour(x, y) : 0xFFFFFFu) << x << "," << y;
    }

  std::vector<uint8_t> file(512, 0);
  file.insert(file.end(), reinterpret_cast<uint8_t*>(*pic), reinterpret_cast<uint8_t*>(*pic) + GetHandleSize(reinterpret_cast<Handle>(pic)));
  KillPicture(pic);
  wxtest::ScratchDir dir;
  std::filesystem::path pict = wxtest::OutputDir("quickdraw") / "bigclip.pict";
  WriteFile(pict, file);
  int w = 0, h = 0;
  std::vector<uint32_t> px = ConvertedPixels(pict, dir / "bigclip.png", &w, &h);
  // ImageMagick sizes the image by the recorded clip.
  ASSERT_EQ(w, box.right);
  ASSERT_EQ(h, kH);
  ASSERT_EQ(px.size(), size_t(w) * kH);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < w; ++x) ASSERT_EQ(px[size_t(y) * w + x], colour(x, y)) << x << "," << y;
}

TEST(Picture, PlaybackScalesTheRecordedPixels) {
  World src(2, 2);
  src.Fill(qdtest::Rows({"#.", ".#"}), {{'.', 0xFFFFFF}, {'#', 0x000000}});
  Rect frame = R(0, 0, 2, 2);
  PicHandle pic = OpenPicture(&frame);
  CopyBits(src.bits(), GetPortBitMapForCopyBits(src.get()), &frame, &frame, srcCopy, nullptr);
  ClosePicture();
  EXPECT_EQ(BEGetU16(*pic), GetHandleSize(reinterpret_cast<Handle>(pic)));
  Rect bounds;
  QDGetPictureBounds(pic, &bounds);
  EXPECT_TRUE(EqualRect(&bounds, &frame));
  World dst(4, 4);
  Rect big = R(0, 0, 4, 4);
  DrawPicture(pic, &big);
  EXPECT_EQ(dst.Picture(), qdtest::Rows({"##..", "##..", "..##", "..##"}));
  KillPicture(pic);
}

TEST(Picture, ShapesAndTextPlayBackAsDrawn) {
  auto drawScene = [] {
    Rect r = R(1, 1, 9, 6);
    PaintRect(&r);
    Rect o = R(12, 2, 20, 10);
    RGBColor red{0xFFFF, 0, 0};
    RGBForeColor(&red);
    PenSize(2, 2);
    FrameOval(&o);
    PenNormal();
    ForeColor(blackColor);
    Pattern grey;
    Rect g = R(2, 12, 10, 18);
    FillRect(&g, GetQDGlobalsGray(&grey));
    MoveTo(20, 18);
    LineTo(38, 12);
    TextSize(10);
    MoveTo(22, 28);
    DrawString(reinterpret_cast<ConstStr255Param>("\x03" "Abc"));
  };
  World direct(40, 32);
  drawScene();
  World recorder(40, 32);
  Rect frame = R(0, 0, 40, 32);
  PicHandle pic = OpenPicture(&frame);
  drawScene();
  ClosePicture();
  EXPECT_EQ(recorder.Picture({{0xFFFFFF, '.'}}).find_first_not_of(".\n"), std::string::npos) << "recording draws nothing";
  World played(40, 32);
  DrawPicture(pic, &frame);
  const std::map<uint32_t, char> legend{{0xFFFFFF, '.'}, {0x000000, '#'}, {0xFF0000, 'r'}};
  EXPECT_EQ(played.Picture(legend), direct.Picture(legend));
  std::vector<uint8_t> file(512, 0);
  file.insert(file.end(), reinterpret_cast<uint8_t*>(*pic), reinterpret_cast<uint8_t*>(*pic) + GetHandleSize(reinterpret_cast<Handle>(pic)));
  WriteFile(wxtest::OutputDir("quickdraw") / "shapes.pict", file);
  KillPicture(pic);
}

TEST(Picture, DamagedPicturesDrawWhatTheyCanAndStop) {
  World scratch(8, 4);
  Rect frame = R(0, 0, 8, 4);
  PicHandle pic = OpenPicture(&frame);
  Rect a = R(0, 0, 2, 4), b = R(4, 0, 6, 4);
  PaintRect(&a);
  PaintRect(&b);
  ClosePicture();
  Size size = GetHandleSize(reinterpret_cast<Handle>(pic));
  std::vector<uint8_t> bytes(reinterpret_cast<uint8_t*>(*pic), reinterpret_cast<uint8_t*>(*pic) + size);
  KillPicture(pic);
  // Find the second PaintRect opcode (0x0031) and damage from there.
  size_t second = 0, seen = 0;
  for (size_t i = 10; i + 1 < bytes.size(); i += 2)
    if (bytes[i] == 0x00 && bytes[i + 1] == 0x31 && ++seen == 2) second = i;
  ASSERT_NE(second, 0u);
  struct Case {
    const char* what;
    std::vector<uint8_t> data;
  } cases[] = {
      {"truncated inside an opcode", std::vector<uint8_t>(bytes.begin(), bytes.begin() + long(second) + 5)},
      {"unknown opcode", [&] {
         auto d = bytes;
         d[second] = 0x00;
         d[second + 1] = 0x12;  // a pixel pattern: not understood here
         return d;
       }()},
  };
  for (const auto& c : cases) {
    World dst(8, 4);
    Handle h = nullptr;
    ASSERT_EQ(PtrToHand(c.data.data(), &h, Size(c.data.size())), 0);
    DrawPicture(reinterpret_cast<PicHandle>(h), &frame);
    EXPECT_EQ(dst.Picture(), qdtest::Rows({"##......", "##......", "##......", "##......"})) << c.what;
    DisposeHandle(h);
  }
  World dst(8, 4);
  DrawPicture(nullptr, &frame);
  const uint8_t tiny[] = {0, 4};
  Handle h = nullptr;
  PtrToHand(tiny, &h, 2);
  DrawPicture(reinterpret_cast<PicHandle>(h), &frame);
  DisposeHandle(h);
  EXPECT_EQ(dst.Picture(), qdtest::Rows({"........", "........", "........", "........"}));
}

// A picture of 27 bytes: a 32767-pixel pen drawn corner to corner far beyond the frame.
// Every pen position covers the world, and playback used to pile each one into every band
// it covers (half a minute); the world now simply turns black.
TEST(Picture, AHugePenOnALongDiagonalPlaysBackWhole) {
  const std::vector<uint8_t> picture = {
      0x00, 0x1B, 0x00, 0x00, 0x00, 0x00, 0x00, 0x40, 0x00, 0x40,  // size, frame 64 x 64
      0x11, 0x01,                                                  // version 1
      0x07, 0x7F, 0xFF, 0x7F, 0xFF,                                // pen 32767 x 32767
      0x20, 0x8A, 0xD0, 0x8A, 0xD0, 0x75, 0x30, 0x75, 0x30,        // line (-30000, -30000) to (30000, 30000)
      0xFF};
  World dst(64, 64);
  Handle h = nullptr;
  ASSERT_EQ(PtrToHand(picture.data(), &h, Size(picture.size())), 0);
  Rect frame = R(0, 0, 64, 64);
  DrawPicture(reinterpret_cast<PicHandle>(h), &frame);
  DisposeHandle(h);
  std::string black = std::string(64, '#');
  for (int row = 1; row < 64; ++row) black += "\n" + std::string(64, '#');
  EXPECT_EQ(dst.Picture(), black);
}

// A version 2 picture holding one DirectBitsRect whose pixel-map header the case sets.
struct DirectHeader {
  uint16_t rowBytes;
  int16_t width;
  uint16_t packType, pixelSize, cmpCount;
  std::vector<uint8_t> rows;
};

std::vector<uint8_t> DirectBitsPicture(const DirectHeader& d) {
  std::vector<uint8_t> p;
  auto u16 = [&p](unsigned v) {
    p.push_back(uint8_t(v >> 8));
    p.push_back(uint8_t(v));
  };
  auto u32 = [&](unsigned v) {
    u16(v >> 16);
    u16(v & 0xFFFF);
  };
  auto rect = [&](int w) {
    u16(0);
    u16(0);
    u16(1);
    u16(unsigned(w));
  };
  u16(0);
  rect(d.width);
  u16(0x0011);
  u16(0x02FF);
  u16(0x009A);
  u32(0xFF);  // baseAddr
  u16(0x8000u | d.rowBytes);
  rect(d.width);
  u16(0);  // pmVersion
  u16(d.packType);
  u32(0);  // packSize
  u32(0x00480000);
  u32(0x00480000);
  u16(16);  // pixelType
  u16(d.pixelSize);
  u16(d.cmpCount);
  u16(8);  // cmpSize
  p.insert(p.end(), 12, 0);
  rect(d.width);
  rect(d.width);
  u16(srcCopy);
  p.insert(p.end(), d.rows.begin(), d.rows.end());
  p.insert(p.end(), 256, 0);  // no-op opcodes, so a short header cannot read past the picture
  u16(0x00FF);
  return p;
}

TEST(Picture, PixelMapsWhoseRowsCannotHoldTheirWidthAreRefused) {
  std::vector<uint8_t> planes(1, 15);  // one packed run of 16 literal bytes
  planes.insert(planes.end(), 16, 0);
  const struct {
    const char* what;
    DirectHeader header;
  } cases[] = {
      {"16-bit rows 2 bytes wide", {2, 64, 0, 16, 3, {0, 0}}},
      {"8-bit rows 2 bytes wide", {2, 64, 0, 8, 1, {0, 0}}},
      {"32-bit planes with one component", {64, 16, 4, 32, 1, planes}},
      {"32-bit planes with no component", {64, 16, 0, 32, 0, planes}},
  };
  for (const auto& c : cases) {
    World dst(64, 1);
    std::vector<uint8_t> bytes = DirectBitsPicture(c.header);
    Handle h = nullptr;
    ASSERT_EQ(PtrToHand(bytes.data(), &h, Size(bytes.size())), 0);
    Rect frame = R(0, 0, c.header.width, 1);
    DrawPicture(reinterpret_cast<PicHandle>(h), &frame);
    DisposeHandle(h);
    EXPECT_EQ(dst.Picture(), std::string(64, '.')) << c.what;
  }
}

TEST(Picture, FarCoordinatesScaledOntoTheWidestRectangleStayInRange) {
  World scratch(8, 4);
  Rect frame = R(-8, 0, 0, 4);
  PicHandle pic = OpenPicture(&frame);
  Rect far = R(-8, 0, 32767, 4);
  PaintRect(&far);
  ClosePicture();
  World dst(8, 4);
  Rect widest = R(-32768, -32768, 32767, 32767);
  DrawPicture(pic, &widest);
  KillPicture(pic);
  EXPECT_EQ(dst.Picture(), qdtest::Rows({"########", "########", "########", "########"}));
}

}  // namespace
