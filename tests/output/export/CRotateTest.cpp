#include "output/export/CRotate.h"

#include <gtest/gtest.h>

#include "framework/LException.h"
#include "support/TestEnv.h"
#include "tests/output/export/Pnm.h"
#include "toolbox/MacErrors.h"

namespace {

// The world's pixels as a Netpbm image: 32-bit as P6 (the 0, R, G, B words), 8-bit as P5
// (the index values), 1-bit as P4.
wxtest::Pnm Pixels(LGWorld& world) {
  PixMapHandle pm = CRotate::GetMacPixMap(&world);
  Rect r;
  GetPixBounds(pm, &r);
  const short depth = CRotate::GetPixMapDepth(&world);
  wxtest::Pnm image{depth == 32 ? 6 : depth == 8 ? 5 : 4, r.right - r.left, r.bottom - r.top, {}};
  LockPixels(pm);
  const auto* base = reinterpret_cast<const uint8_t*>(CRotate::GetBaseAddr(&world));
  const long rowBytes = CRotate::GetRowBytes(&world);
  for (long y = 0; y < image.height; ++y) {
    const uint8_t* row = base + y * rowBytes;
    for (long i = 0; i < image.RowBytes(); ++i) image.rows.push_back(depth == 32 ? row[i / 3 * 4 + 1 + i % 3] : row[i]);
  }
  UnlockPixels(pm);
  return image;
}

void Fill(LGWorld& world, int seed) {
  PixMapHandle pm = CRotate::GetMacPixMap(&world);
  LockPixels(pm);
  auto* base = reinterpret_cast<uint8_t*>(CRotate::GetBaseAddr(&world));
  Rect r;
  GetPixBounds(pm, &r);
  const long rowBytes = CRotate::GetRowBytes(&world);
  const short depth = CRotate::GetPixMapDepth(&world);
  const long used = (r.right - r.left) * depth / 8;
  for (long y = 0; y < r.bottom - r.top; ++y)
    for (long i = 0; i < used; ++i) base[y * rowBytes + i] = uint8_t((i * 37 + y * 11 + seed) * 2654435761u >> 24);
  if (depth == 1 && (r.right - r.left) % 8)  // the last byte: only bits inside the width
    for (long y = 0; y < r.bottom - r.top; ++y) base[y * rowBytes + used] = 0x5A & uint8_t(0xFF00 >> ((r.right - r.left) % 8));
  UnlockPixels(pm);
}

Rect Bounds(long w, long h) { return Rect{0, 0, SInt16(h), SInt16(w)}; }

TEST(CRotate, EqualsTheOutsideRotationAtEachDepthAndAngle) {
  WX_REQUIRE_TOOL("convert");
  wxtest::ScratchDir dir;
  for (SInt16 depth : {32, 8, 1}) {
    for (long degrees : {90, 180, 270}) {
      for (long width : {10, 13}) {
        const long height = 7;
        LGWorld source(Bounds(width, height), depth);
        Fill(source, int(degrees + width));
        const bool quarter = degrees != 180;
        LGWorld turned(quarter ? Bounds(height, width) : Bounds(width, height), depth);
        CRotate::RotateImage(&source, &turned, degrees);

        const auto name = std::to_string(depth) + "-" + std::to_string(degrees) + "-" + std::to_string(width);
        const std::string ext = depth == 32 ? ".ppm" : depth == 8 ? ".pgm" : ".pbm";
        const auto in = dir / (name + ext), out = dir / (name + "-turned" + ext);
        wxtest::WritePnm(in, Pixels(source));
        ASSERT_EQ(wxtest::Run("convert '" + in.string() + "' -rotate " + std::to_string(degrees) + " '" + out.string() + "'"), 0);
        wxtest::Pnm expected;
        ASSERT_TRUE(wxtest::ReadPnm(out, &expected)) << name;
        const wxtest::Pnm got = Pixels(turned);
        EXPECT_EQ(got.width, expected.width) << name;
        EXPECT_EQ(got.height, expected.height) << name;
        EXPECT_EQ(got.rows, expected.rows) << name;
      }
    }
  }
}

TEST(CRotate, TheSmallCasesLandWhereTheyShould) {
  LGWorld source(Bounds(3, 2), 32), turned(Bounds(2, 3), 32), back(Bounds(2, 3), 32);
  Fill(source, 1);
  const auto at = [](const wxtest::Pnm& p, long x, long y) {
    const long i = (y * p.width + x) * 3;
    return std::vector<uint8_t>(p.rows.begin() + i, p.rows.begin() + i + 3);
  };
  CRotate::RotateImage(&source, &turned, 90);
  const auto src = Pixels(source), right = Pixels(turned);
  EXPECT_EQ(at(right, 1, 0), at(src, 0, 0)) << "top-left to top-right";
  EXPECT_EQ(at(right, 0, 2), at(src, 2, 1)) << "bottom-right to bottom-left";
  CRotate::RotateImage(&source, &back, 270);
  EXPECT_EQ(at(Pixels(back), 0, 2), at(src, 0, 0)) << "top-left to bottom-left";
}

TEST(CRotate, OneBitPixelsAreOredIntoTheDestination) {
  LGWorld source(Bounds(10, 1), 1), turned(Bounds(10, 1), 1);
  PixMapHandle spm = CRotate::GetMacPixMap(&source), dpm = CRotate::GetMacPixMap(&turned);
  LockPixels(spm);
  LockPixels(dpm);
  auto* s = reinterpret_cast<uint8_t*>(CRotate::GetBaseAddr(&source));
  auto* d = reinterpret_cast<uint8_t*>(CRotate::GetBaseAddr(&turned));
  s[0] = 0, s[1] = 0x40;  // pixel 9
  d[0] = 0x01, d[1] = 0;  // already set: pixel 7
  UnlockPixels(spm);
  UnlockPixels(dpm);
  CRotate::RotateImage(&source, &turned, 180);
  LockPixels(dpm);
  d = reinterpret_cast<uint8_t*>(CRotate::GetBaseAddr(&turned));
  EXPECT_EQ(d[0], 0x81) << "pixel 9 lands at column 0, pixel 7 stays set";
  EXPECT_EQ(d[1], 0);
  UnlockPixels(dpm);
}

TEST(CRotate, AWrongDestinationThrowsWithEverythingPutBack) {
  LGWorld source(Bounds(3, 2), 32), wrong(Bounds(2, 3), 32), other(Bounds(4, 4), 32);
  Fill(wrong, 9);
  const auto before = Pixels(wrong);
  other.BeginDrawing();  // a world the caller made current
  CGrafPtr port;
  GDHandle device;
  GetGWorld(&port, &device);
  try {
    CRotate::RotateImage(&source, &wrong, 180);
    FAIL() << "no exception";
  } catch (const LException& e) {
    EXPECT_EQ(e.GetErrorCode(), paramErr);
  }
  CGrafPtr portAfter;
  GDHandle deviceAfter;
  GetGWorld(&portAfter, &deviceAfter);
  EXPECT_EQ(portAfter, port);
  EXPECT_EQ(deviceAfter, device);
  EXPECT_FALSE(GetPixelsState(CRotate::GetMacPixMap(&source)) & pixelsLocked);
  EXPECT_FALSE(GetPixelsState(CRotate::GetMacPixMap(&wrong)) & pixelsLocked);
  EXPECT_EQ(Pixels(wrong).rows, before.rows);
  other.EndDrawing();

  const std::pair<LGWorld*, LGWorld*> nulls[] = {{nullptr, &wrong}, {&source, nullptr}};
  for (const auto& pair : nulls) {
    try {
      CRotate::RotateImage(pair.first, pair.second, 90);
      FAIL() << "no exception";
    } catch (const LException& e) {
      EXPECT_EQ(e.GetErrorCode(), err_NilPointer);
    }
  }
}

}  // namespace
