// QuickDraw's resources read through the Resource Manager: pictures, regions (checked
// against their stored size), cursors and colour tables.
#include <gtest/gtest.h>

#include <vector>

#include "QDTestSupport.h"
#include "quickdraw/QDOffscreen.h"
#include "support/TestEnv.h"
#include "toolbox/Files.h"
#include "toolbox/MacMemory.h"
#include "toolbox/Resources.h"

namespace {

Handle HandleOf(const std::vector<uint8_t>& bytes) {
  Handle h = nullptr;
  PtrToHand(bytes.data(), &h, Size(bytes.size()));
  return h;
}

TEST(ResourceLoad, PicturesRegionsCursorsAndColourTables) {
  wxtest::ScratchDir dir;
  std::string path = (dir / "art.rsrc").string();
  ASSERT_EQ(CreateResFilePath(path), 0);
  SInt16 ref = OpenResFilePath(path, fsRdWrPerm);
  ASSERT_GE(ref, 0);

  // A 2x1 picture: black, then white.
  Rect frame{0, 0, 1, 2};
  PicHandle pic;
  {
    qdtest::World src(2, 1);
    Rect black{0, 0, 1, 1};
    PaintRect(&black);
    pic = OpenPicture(&frame);
    CopyBits(src.bits(), GetPortBitMapForCopyBits(src.get()), &frame, &frame, srcCopy, nullptr);
    ClosePicture();
  }
  AddResource(reinterpret_cast<Handle>(pic), 'PICT', 200, reinterpret_cast<ConstStr255Param>(""));
  // A 2x2 square region, and the same with a size word that claims more than is there.
  std::vector<uint8_t> square = {0, 10, 0, 0, 0, 0, 0, 2, 0, 2};
  std::vector<uint8_t> ring = {0, 28, 0, 0, 0, 0, 0, 2, 0, 2, 0, 0, 0, 0, 0, 2, 0x7F, 0xFF,
                               0, 2, 0, 0, 0, 2, 0x7F, 0xFF, 0x7F, 0xFF};
  std::vector<uint8_t> damaged = ring;
  damaged[1] = 60;
  AddResource(HandleOf(ring), 'XRGN', 300, reinterpret_cast<ConstStr255Param>(""));
  AddResource(HandleOf(damaged), 'XRGN', 301, reinterpret_cast<ConstStr255Param>(""));
  AddResource(HandleOf(square), 'XRGN', 302, reinterpret_cast<ConstStr255Param>(""));
  std::vector<uint8_t> cursor(68, 0);
  cursor[0] = 0xFF;
  cursor[67] = 2;
  AddResource(HandleOf(cursor), 'CURS', 130, reinterpret_cast<ConstStr255Param>(""));
  // An inverted grey table: index 0 white, 255 black.
  std::vector<uint8_t> clut(8 + 256 * 8, 0);
  clut[7] = 255;
  for (int i = 0; i < 256; ++i) {
    uint16_t v = uint16_t((255 - i) * 257);
    uint8_t* e = clut.data() + 8 + i * 8;
    e[1] = uint8_t(i);
    for (int c = 0; c < 3; ++c) {
      e[2 + c * 2] = uint8_t(v >> 8);
      e[3 + c * 2] = uint8_t(v);
    }
  }
  AddResource(HandleOf(clut), 'clut', 1024, reinterpret_cast<ConstStr255Param>(""));
  UpdateResFile(ref);
  ASSERT_EQ(ResError(), 0);

  PicHandle loaded = GetPicture(200);
  ASSERT_NE(loaded, nullptr);
  {
    qdtest::World dst(4, 1);
    Rect wide{0, 0, 1, 4};
    DrawPicture(loaded, &wide);
    EXPECT_EQ(dst.Picture(), "##..");
  }
  KillPicture(loaded);
  EXPECT_EQ(GetPicture(999), nullptr) << "a missing picture is a null handle";

  RgnHandle rgn = GetRegionResource(300);
  ASSERT_NE(rgn, nullptr);
  EXPECT_TRUE(PtInRgn(Point{1, 1}, rgn));
  EXPECT_FALSE(PtInRgn(Point{2, 2}, rgn));
  DisposeRgn(rgn);
  EXPECT_EQ(GetRegionResource(301), nullptr) << "stated size beyond the data";
  rgn = GetRegionResource(302);
  ASSERT_NE(rgn, nullptr);
  EXPECT_TRUE(IsRegionRectangular(rgn));
  DisposeRgn(rgn);
  EXPECT_EQ(GetRegionResource(303), nullptr);

  CursHandle cur = GetCursor(130);
  ASSERT_NE(cur, nullptr);
  EXPECT_EQ((**cur).data[0], 0xFF00);
  EXPECT_EQ((**cur).hotSpot.h, 2);
  DisposeHandle(reinterpret_cast<Handle>(cur));

  CTabHandle table = GetCTable(1024);
  ASSERT_NE(table, nullptr);
  EXPECT_EQ((**table).ctSize, 255);
  EXPECT_EQ((**table).ctTable[0].rgb.red, 0xFFFF) << "index 0 is white";
  {
    qdtest::World grey(2, 1, 8, table);
    auto* p = reinterpret_cast<uint8_t*>(GetPixBaseAddr(GetGWorldPixMap(grey.get())));
    EXPECT_EQ(p[0], 0) << "a fresh world is white";
  }
  DisposeCTable(table);
  CloseResFile(ref);
}

}  // namespace
