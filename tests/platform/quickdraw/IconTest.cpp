#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "QDTestSupport.h"
#include "quickdraw/Appearance.h"
#include "quickdraw/Icons.h"
#include "quickdraw/qdResources.h"
#include "support/TestEnv.h"
#include "toolbox/Files.h"
#include "toolbox/RecordAccess.h"

namespace {

using qdtest::Rows;
using qdtest::World;

Rect R(int l, int t, int r, int b) { return Rect{SInt16(t), SInt16(l), SInt16(b), SInt16(r)}; }

// A stored 4x4 'cicn' of depth 8: red on the left half, blue on the right, its mask a
// diamond-ish shape without the four corners.
std::vector<uint8_t> StoredIcon() {
  std::vector<uint8_t> b(82 + 4 * 2 + 4 * 2 + 8 + 2 * 8 + 4 * 4, 0);
  RecordBytes rec(b.data(), b.size());
  rec.setU16(4, 0x8000 | 4);  // pixel rowBytes
  rec.setI16(10, 4);          // bounds bottom
  rec.setI16(12, 4);          // bounds right
  rec.setI16(32, 8);          // pixelSize
  rec.setU16(54, 2);          // mask rowBytes
  rec.setI16(60, 4);
  rec.setI16(62, 4);
  rec.setU16(68, 2);  // icon bitmap rowBytes
  rec.setI16(74, 4);
  rec.setI16(76, 4);
  const uint8_t mask[4] = {0x60, 0xF0, 0xF0, 0x60};
  for (int y = 0; y < 4; ++y) rec.setU8(82 + y * 2, mask[y]);
  size_t table = 82 + 8 + 8;
  rec.setI16(table + 6, 1);  // two entries
  rec.setI16(table + 8, 0);
  rec.setU16(table + 10, 0xFFFF);  // 0: red
  rec.setI16(table + 16, 1);
  rec.setU16(table + 22, 0xFFFF);  // 1: blue
  size_t pix = table + 8 + 16;
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) rec.setU8(pix + y * 4 + x, x < 2 ? 0 : 1);
  return b;
}

TEST(Icons, ColourIconDrawsScaledThroughItsMask) {
  std::vector<uint8_t> stored = StoredIcon();
  CIconHandle icon = QDColorIconFromStoredBytes(stored.data(), Size(stored.size()));
  ASSERT_NE(icon, nullptr);
  World w(8, 8);
  Rect r = R(0, 0, 8, 8);
  PlotCIcon(&r, icon);
  EXPECT_EQ(w.Picture({{0xFFFFFF, '.'}, {0xFF0000, 'r'}, {0x0000FF, 'b'}}),
            Rows({"..rrbb..", "..rrbb..", "rrrrbbbb", "rrrrbbbb", "rrrrbbbb", "rrrrbbbb", "..rrbb..", "..rrbb.."}));
  DisposeCIcon(icon);
  for (size_t cut : {size_t(10), size_t(90), stored.size() - 1}) {
    EXPECT_EQ(QDColorIconFromStoredBytes(stored.data(), Size(cut)), nullptr) << cut;
  }
}

TEST(Icons, ApplicationIconFromItsDesktopEntryElseGeneric) {
  WX_REQUIRE_TOOL("convert");
  wxtest::ScratchDir dir;
  std::string png = (dir / "app.png").string();
  ASSERT_EQ(wxtest::Run("convert -size 4x4 xc:'#00ff00' '" + png + "'"), 0);
  std::ofstream(dir / "viewer.desktop") << "[Desktop Entry]\nType=Application\nName=Viewer\nExec=viewer %f\nIcon=" << png << "\n";
  std::ofstream(dir / "plain.txt") << "text";
  struct Case {
    const char* file;
    uint32_t centre;
  } cases[] = {{"viewer.desktop", 0x00FF00}, {"plain.txt", 0xF0F0F0}};
  for (const auto& c : cases) {
    FSSpec spec;
    ASSERT_EQ(FSpMakeFromPOSIXPath((dir / c.file).string(), &spec), 0);
    IconRef icon = nullptr;
    ASSERT_EQ(GetIconRefFromFile(&spec, &icon, nullptr), 0);
    ASSERT_NE(icon, nullptr);
    World w(32, 32);
    Rect r = R(0, 0, 32, 32);
    EXPECT_EQ(PlotIconRef(&r, kAlignNone, kTransformNone, kIconServicesNormalUsageFlag, icon), 0);
    EXPECT_EQ(w.Pixel(16, 16), c.centre) << c.file;
    EXPECT_EQ(IconRefHoldCount(icon), 1);
    AcquireIconRef(icon);
    EXPECT_EQ(IconRefHoldCount(icon), 2);
    ReleaseIconRef(icon);
    ReleaseIconRef(icon);
  }
}

TEST(Icons, AFolderGetsTheThemesFolderIcon) {
  WX_REQUIRE_TOOL("convert");
  wxtest::ScratchDir dir;
  const std::filesystem::path places = dir / "home/.local/share/icons/hicolor/32x32/places";
  std::filesystem::create_directories(places);
  std::filesystem::create_directories(dir / "folder");
  ASSERT_EQ(wxtest::Run("convert -size 4x4 xc:'#0000ff' '" + (places / "folder.png").string() + "'"), 0);
  const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
  setenv("HOME", (dir / "home").c_str(), 1);
  FSSpec spec;
  ASSERT_EQ(FSpMakeFromPOSIXPath((dir / "folder").string(), &spec), 0);
  IconRef icon = nullptr;
  EXPECT_EQ(GetIconRefFromFile(&spec, &icon, nullptr), 0);
  setenv("HOME", savedHome.c_str(), 1);
  ASSERT_NE(icon, nullptr);
  World w(32, 32);
  Rect r = R(0, 0, 32, 32);
  EXPECT_EQ(PlotIconRef(&r, kAlignNone, kTransformNone, kIconServicesNormalUsageFlag, icon), 0);
  EXPECT_EQ(w.Pixel(16, 16), 0x0000FFu);
  ReleaseIconRef(icon);
}

TEST(Cursors, StoredCursorThemeCursorsAndTheArrow) {
  std::vector<uint8_t> stored(68, 0);
  stored[0] = 0x80;   // first data row
  stored[33] = 0x01;  // first mask row, low byte
  stored[65] = 3;     // hot spot v
  stored[67] = 5;     // hot spot h
  Cursor c;
  ASSERT_TRUE(qdCursorFromStored(stored.data(), stored.size(), &c));
  EXPECT_EQ(c.data[0], 0x8000);
  EXPECT_EQ(c.mask[0], 0x0001);
  EXPECT_EQ(c.hotSpot.v, 3);
  EXPECT_EQ(c.hotSpot.h, 5);
  EXPECT_FALSE(qdCursorFromStored(stored.data(), 67, &c));
  SetCursor(&c);
  EXPECT_EQ(QDCurrentCursor()->data[0], 0x8000);
  SetThemeCursor(kThemeCopyArrowCursor);
  EXPECT_EQ(GetCurrentThemeCursorForTest(), kThemeCopyArrowCursor);
  InitCursor();
  Cursor arrow;
  GetQDGlobalsArrow(&arrow);
  EXPECT_EQ(std::memcmp(QDCurrentCursor(), &arrow, sizeof arrow), 0);
  EXPECT_EQ(GetCurrentThemeCursorForTest(), kThemeArrowCursor);
}

}  // namespace
