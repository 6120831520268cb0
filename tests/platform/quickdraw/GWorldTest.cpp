#include <gtest/gtest.h>

#include <functional>

#include "QDTestSupport.h"
#include "quickdraw/QDOffscreen.h"
#include "quickdraw/qdPort.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"

namespace {

TEST(GWorld, EachDepthStartsWhiteWithItsLayout) {
  struct Case {
    int depth;
    int rowBytes;
    int cmpCount;
  } cases[] = {{1, 4, 1}, {8, 8, 1}, {32, 20, 3}};
  for (const auto& c : cases) {
    qdtest::World w(5, 3, c.depth);
    PixMapHandle pm = GetGWorldPixMap(w.get());
    EXPECT_EQ(GetPixDepth(pm), c.depth);
    EXPECT_EQ(GetPixRowBytes(pm), c.rowBytes);
    EXPECT_EQ((**pm).rowBytes & 0x8000, 0x8000);
    EXPECT_EQ((**pm).cmpCount, c.cmpCount);
    EXPECT_EQ((**pm).hRes, 72 << 16);
    EXPECT_EQ(w.Picture(), qdtest::Rows({".....", ".....", "....."})) << "depth " << c.depth;
    if (c.depth == 1) {
      ASSERT_NE((**pm).pmTable, nullptr);
      EXPECT_EQ((**(**pm).pmTable).ctTable[0].rgb.red, 0xFFFF);  // white, then black
      EXPECT_EQ((**(**pm).pmTable).ctTable[1].rgb.red, 0);
    }
  }
}

TEST(GWorld, ThirtyTwoBitPixelsAreZeroRedGreenBlue) {
  qdtest::World w(2, 1);
  RGBColor c{0x1234, 0x5678, 0x9ABC};
  SetCPixel(1, 0, &c);
  auto* p = reinterpret_cast<uint8_t*>(GetPixBaseAddr(GetGWorldPixMap(w.get())));
  EXPECT_EQ(p[4], 0);
  EXPECT_EQ(p[5], 0x12);
  EXPECT_EQ(p[6], 0x56);
  EXPECT_EQ(p[7], 0x9A);
}

TEST(GWorld, WideWorldsKeepTheirRowBytesOutsideTheField) {
  qdtest::World w(5000, 2);
  PixMapHandle pm = GetGWorldPixMap(w.get());
  EXPECT_EQ((**pm).rowBytes & 0x3FFF, 0x3F3F);
  EXPECT_EQ(GetPixRowBytes(pm), 20000);
  RGBColor red{0xFFFF, 0, 0};
  SetCPixel(4999, 1, &red);
  auto* p = reinterpret_cast<uint8_t*>(GetPixBaseAddr(pm));
  EXPECT_EQ(p[20000 + 4999 * 4 + 1], 0xFF);
  EXPECT_EQ(w.Pixel(4999, 1), 0xFF0000u);
}

// A world whose pixels come at their first use: none for a copy its port's own procedure
// takes, white ones at the first drawing, the first copy into it, or the first look at them.
TEST(GWorld, PixelsAtFirstUseAreMadeWhiteByWhatNeedsThem) {
  static int taken = 0;
  CQDProcs procs;
  SetStdCProcs(&procs);
  procs.bitsProc = [](const BitMap*, const Rect*, const Rect*, SInt16, RgnHandle) { ++taken; };
  qdtest::World source(2, 1);
  const Rect bounds{0, 0, 2, 3}, all{0, 0, 2, 3}, one{0, 0, 1, 1}, dot{1, 1, 2, 2};
  struct Case {
    const char* name;
    bool procs;
    std::function<void()> use;
    bool made;
    const char* picture;
  } cases[] = {
      {"copy its procedure takes", true, [&] { CopyBits(source.bits(), GetPortBitMapForCopyBits(qdCurrentPort()), &one, &dot, srcCopy, nullptr); }, false, nullptr},
      {"drawing", false, [&] { PaintRect(&dot); }, true, "...\n.#."},
      {"copy", false, [&] { CopyBits(source.bits(), GetPortBitMapForCopyBits(qdCurrentPort()), &one, &dot, srcCopy, nullptr); }, true, "...\n.#."},
      {"look", false, [&] { GetPixBaseAddr(GetGWorldPixMap(qdCurrentPort())); }, true, "...\n..."},
  };
  RGBColor black{0, 0, 0};
  SetGWorld(source.get(), nullptr);
  SetCPixel(0, 0, &black);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GWorldPtr world = nullptr;
    ASSERT_EQ(NewGWorld(&world, 32, &bounds, nullptr, nullptr, kQDPixelsAtFirstUse), noErr);
    PixMapHandle pm = GetGWorldPixMap(world);
    EXPECT_EQ((**pm).baseAddr, nullptr);
    if (c.procs) SetPortGrafProcs(world, &procs);
    SetGWorld(world, nullptr);
    taken = 0;
    c.use();
    EXPECT_EQ((**pm).baseAddr != nullptr, c.made);
    EXPECT_EQ(taken, c.procs ? 1 : 0);
    if (c.picture) {
      std::string rows;
      const qdPixels p = qdPixelsOfPort(world);
      for (int y = 0; y < all.bottom; ++y) {
        if (y) rows += '\n';
        for (int x = 0; x < all.right; ++x) rows += qdPixelToRGB24(p, qdGetPixel(p, x, y)) == 0xFFFFFF ? '.' : '#';
      }
      EXPECT_EQ(rows, c.picture);
    }
    SetGWorld(source.get(), nullptr);
    DisposeGWorld(world);
  }
}

TEST(GWorld, ZeroHugeAndUnaddressableSizesFailWithMemFull) {
  Rect cases[] = {{0, 0, 0, 10}, {0, 0, 10, 0}, {5, 5, 0, 0}, {0, 0, 32000, 32000}};
  for (const Rect& r : cases) {
    GWorldPtr w = reinterpret_cast<GWorldPtr>(1);
    EXPECT_EQ(NewGWorld(&w, 32, &r, nullptr, nullptr, 0), memFullErr);
    EXPECT_EQ(w, nullptr);
  }
}

TEST(GWorld, TemporaryMemoryRunsOutSeparately) {
  MemSetTempLimit(1000);
  Rect r{0, 0, 100, 100};
  GWorldPtr w = nullptr;
  EXPECT_EQ(NewGWorld(&w, 32, &r, nullptr, nullptr, useTempMem), memFullErr);
  EXPECT_EQ(NewGWorld(&w, 32, &r, nullptr, nullptr, 0), noErr);
  DisposeGWorld(w);
  MemSetTempLimit(0);
}

TEST(GWorld, PixelsStateIsKeptAndRestored) {
  qdtest::World w(2, 2);
  PixMapHandle pm = GetGWorldPixMap(w.get());
  GWorldFlags before = GetPixelsState(pm);
  EXPECT_TRUE(LockPixels(pm));
  EXPECT_TRUE(GetPixelsState(pm) & pixelsLocked);
  SetPixelsState(pm, before);
  EXPECT_FALSE(GetPixelsState(pm) & pixelsLocked);
}

TEST(GWorld, SetGWorldSavesAndRestoresTheCurrentPort) {
  qdtest::World a(2, 2);
  CGrafPtr saved;
  GDHandle device;
  GetGWorld(&saved, &device);
  EXPECT_EQ(saved, a.get());
  {
    qdtest::World b(3, 3);
    GrafPtr now;
    GetPort(&now);
    EXPECT_EQ(now, b.get());
  }
  GrafPtr now;
  GetPort(&now);
  EXPECT_EQ(now, a.get());
  EXPECT_NE(GetMainDevice(), nullptr);
}

TEST(ColorTable, GreyAndStandardTables) {
  CTabHandle grey = GetCTable(40);
  ASSERT_NE(grey, nullptr);
  EXPECT_EQ((**grey).ctSize, 255);
  EXPECT_EQ((**grey).ctTable[0].rgb.green, 0xFFFF);  // index 0 is white
  EXPECT_EQ((**grey).ctTable[255].rgb.green, 0);
  CTabHandle eight = GetCTable(8);
  EXPECT_EQ((**eight).ctTable[0].rgb.red, 0xFFFF);
  EXPECT_EQ((**eight).ctTable[255].rgb.red, 0);
  EXPECT_NE(GetCTSeed(), GetCTSeed());
  DisposeCTable(grey);
  DisposeCTable(eight);
}

TEST(GWorld, EightBitWorldUsesTheGivenTable) {
  CTabHandle grey = GetCTable(40);
  qdtest::World w(2, 1, 8, grey);
  RGBColor mid{0x8080, 0x8080, 0x8080};
  SetCPixel(0, 0, &mid);
  auto* p = reinterpret_cast<uint8_t*>(GetPixBaseAddr(GetGWorldPixMap(w.get())));
  EXPECT_EQ(p[0], 0x7F);  // 255 - 0x80
  EXPECT_EQ(w.Pixel(0, 0), 0x808080u);
  DisposeCTable(grey);
}

}  // namespace
