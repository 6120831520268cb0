// PixMaps in, through the row transfer and the PixMap entry point.
#include <gtest/gtest.h>

#include <cstring>

#include "JpegTestKit.h"
#include "jpeg/complibMac.h"
#include "jpeg/jpgWMac.h"
#include "quickdraw/QDOffscreen.h"
#include "support/TestEnv.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"

using namespace jpgtest;

namespace {

struct World {
  GWorldPtr world = nullptr;
  PixMapHandle pm = nullptr;
  World(int depth, int width, int height, CTabHandle table = nullptr) {
    Rect bounds{0, 0, static_cast<int16_t>(height), static_cast<int16_t>(width)};
    EXPECT_EQ(NewGWorld(&world, static_cast<SInt16>(depth), &bounds, table, nullptr, 0), noErr);
    pm = GetGWorldPixMap(world);
  }
  ~World() {
    if (world) DisposeGWorld(world);
  }
  uint8_t* row(int y) { return reinterpret_cast<uint8_t*>(GetPixBaseAddr(pm)) + y * GetPixRowBytes(pm); }
};

std::vector<uint8_t> EncodePixMap(PixMapHandle pm, int32_t* status) {
  void* ctx = nullptr;
  EXPECT_EQ(jpgWritePrologToMemory(0, &ctx), 0);
  *status = jpgWriteFromMacPixMap(ctx, pm);
  void* data = nullptr;
  int64_t size = 0;
  int32_t closed = jpgWriteEpilogToMemory(ctx, &data, &size);
  std::vector<uint8_t> out;
  if (data) {
    out.assign(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
    jpgWriteFreeBitstream(data);
  }
  if (!*status) *status = closed;
  return out;
}

}  // namespace

TEST(JpegPixMap, ColourPixMapCodesAsTheSameStripsWould) {
  Image p = MakeScene(45, 37, 3, 4);  // blue, green, red
  World w(32, 45, 37);
  for (int y = 0; y < 37; ++y)
    for (int x = 0; x < 45; ++x) {
      const uint8_t* s = &p.pixels[(size_t(y) * 45 + x) * 3];
      uint8_t* d = w.row(y) + 4 * x;
      d[0] = 0;
      d[1] = s[2];
      d[2] = s[1];
      d[3] = s[0];
    }
  int32_t status = 0;
  std::vector<uint8_t> fromPixMap = EncodePixMap(w.pm, &status);
  ASSERT_EQ(status, 0);
  std::vector<uint8_t> fromStrips;
  ASSERT_EQ(Encode(p, Settings{}, &fromStrips), 0);
  EXPECT_EQ(fromPixMap, fromStrips);
  wxtest::WriteBytes(wxtest::OutputDir("jpeg") / "from_pixmap.jpg", fromPixMap);
}

TEST(JpegPixMap, EightBitPixMapGoesThroughItsColourTableAsGrey) {
  CTabHandle grey = complibMacCreateColorTable(8);
  ASSERT_NE(grey, nullptr);
  EXPECT_EQ((*grey)->ctSize, 255);
  EXPECT_EQ((*grey)->ctTable[200].rgb.green, 200 * 257);
  World w(8, 20, 18, grey);
  for (int y = 0; y < 18; ++y)
    for (int x = 0; x < 20; ++x) w.row(y)[x] = static_cast<uint8_t>(x * 12 + y);
  int32_t status = 0;
  std::vector<uint8_t> out = EncodePixMap(w.pm, &status);
  ASSERT_EQ(status, 0);
  Image d;
  ASSERT_TRUE(Decode(out, &d));
  ASSERT_EQ(d.channels, 1);
  EXPECT_NEAR(d.pixels[size_t(5) * 20 + 10], 10 * 12 + 5, 6);
  DisposeHandle(reinterpret_cast<Handle>(grey));
}

TEST(JpegPixMap, RefusedPixMaps) {
  int32_t status = 0;
  World one(1, 16, 16);
  EncodePixMap(one.pm, &status);
  EXPECT_EQ(status, kJpgBadSampling);
  // A PixMap whose pixels are not there cannot be locked.
  PixMap bare{};
  bare.rowBytes = static_cast<SInt16>(64 | kPixMapFlag);
  bare.bounds = Rect{0, 0, 8, 16};
  bare.pixelSize = 32;
  PixMapPtr ptr = &bare;
  EncodePixMap(&ptr, &status);
  EXPECT_EQ(status, kJpgCannotLock);
}

TEST(JpegPixMap, RowTransferChecksItsRange) {
  World w(32, 10, 10);
  std::vector<uint8_t> buffer(10 * 3 * 4);
  _complibImageRect rect{10, 4, 30, 24, 3, 8, buffer.data()};
  EXPECT_EQ(complibMacSetBitMapBitsToRect(&rect, 8, 4, w.pm), kJpgBadParameter);  // past the PixMap
  EXPECT_EQ(complibMacSetBitMapBitsToRect(&rect, 0, 5, w.pm), kJpgBadParameter);  // past the rect
  EXPECT_EQ(complibMacSetBitMapBitsToRect(&rect, 6, 4, w.pm), 0);
  _complibImageRect oneBit{10, 4, 2, 1, 1, 1, buffer.data()};
  EXPECT_EQ(complibMacSetBitMapBitsToRect(&oneBit, 0, 4, w.pm), kJpgBadParameter);
}

TEST(JpegPixMap, RectsBackIntoPixMaps) {
  std::vector<uint8_t> bgr = {10, 20, 30, 40, 50, 60};
  _complibImageRect rect{2, 1, 6, 24, 3, 8, bgr.data()};
  PixMap described{};
  PixMapPtr ptr = &described;
  ASSERT_EQ(complibMacGetBitMapBitsFromRect(&rect, 0, 0, &ptr), 0);
  EXPECT_EQ(described.pixelSize, 32);
  EXPECT_EQ(described.rowBytes & kRowBytesMask, 8);
  EXPECT_EQ(described.hRes, IntToFixed(72));
  World w(32, 2, 1);
  ASSERT_EQ(complibMacGetBitMapBitsFromRect(&rect, 0, 1, w.pm), 0);
  EXPECT_EQ(std::vector<uint8_t>(w.row(0), w.row(0) + 8), (std::vector<uint8_t>{0, 30, 20, 10, 0, 60, 50, 40}));
  // And forth again.
  std::vector<uint8_t> back(6);
  _complibImageRect again{2, 1, 6, 24, 3, 8, back.data()};
  ASSERT_EQ(complibMacSetBitMapBitsToRect(&again, 0, 1, w.pm), 0);
  EXPECT_EQ(back, bgr);
}
