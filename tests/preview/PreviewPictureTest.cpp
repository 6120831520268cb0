#include "preview/PreviewPicture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "framework/LGWorld.h"
#include "output/export/CRotate.h"
#include "tests/preview/PageFiles.h"
#include "tests/support/ColorProfiles.h"
#include "tests/support/TestEnv.h"

namespace {

using wxtest::RGB;

RGB PixelAt(LGWorld* w, int h, int v) {
  const auto* p = reinterpret_cast<const uint8_t*>(CRotate::GetBaseAddr(w)) + v * CRotate::GetRowBytes(w) + 4 * h;
  return RGB{p[1], p[2], p[3]};
}

Rect Natural(SInt32 w, SInt32 h) { return Rect{0, 0, SInt16(h), SInt16(w)}; }

// Pages of each kind the export pipeline writes for the preview: left half dark, right half light.
TEST(PreviewPicture, EveryKindOfPreviewPageDraws) {
  wxtest::ScratchDir dir;
  const int w = 16, h = 4;
  struct Case {
    const char* name;
    int bits, photometric;
    std::vector<uint8_t> row;
    RGB left, right;
  } cases[] = {
      {"bilevel", 1, 0, {0xFF, 0x00}, {0, 0, 0}, {255, 255, 255}},  // white is zero
      {"grey", 8, 1, std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0, 0, 200, 200, 200, 200, 200, 200, 200, 200},
       {0, 0, 0}, {200, 200, 200}},
      {"colour", 24, 2, {}, {10, 20, 30}, {40, 50, 60}},
  };
  cases[2].row.resize(3 * w);
  for (int x = 0; x < w; ++x) {
    const RGB& c = x < w / 2 ? cases[2].left : cases[2].right;
    std::copy(c.begin(), c.end(), cases[2].row.begin() + 3 * x);
  }
  for (const Case& c : cases) {
    const auto path = dir / (std::string(c.name) + ".tif");
    ASSERT_TRUE(wxtest::WritePage(path, w, h, c.bits, c.photometric, std::vector<std::vector<uint8_t>>(h, c.row)));
    std::unique_ptr<LGWorld> picture(PreviewPicture::Load(wxtest::SpecOf(path), 0, LStr255(), Natural));
    ASSERT_NE(nullptr, picture) << c.name;
    EXPECT_EQ(c.left, PixelAt(picture.get(), 1, 1)) << c.name;
    EXPECT_EQ(c.right, PixelAt(picture.get(), w - 2, h - 2)) << c.name;
  }
}

TEST(PreviewPicture, ATruncatedPageGivesNoPicture) {
  wxtest::ScratchDir dir;
  // Empty, inside the directory, at the first row, and half the rows.
  for (uintmax_t size : {uintmax_t(0), uintmax_t(100), uintmax_t(204), uintmax_t(204 + 3 * 40 * 20)}) {
    ASSERT_TRUE(wxtest::WriteQuarterPage(dir / "page.tif", 40, 40, wxtest::kQuarters));
    std::filesystem::resize_file(dir / "page.tif", size);
    EXPECT_EQ(nullptr, PreviewPicture::Load(wxtest::SpecOf(dir / "page.tif"), 0, LStr255(), Natural)) << size;
  }
}

}  // namespace

namespace {

class PreviewMatching : public ::testing::Test {
 protected:
  void SetUp() override {
    WX_REQUIRE_COLOR_TOOLS();
    setenv("WENDRIX_ROOT", mRoot.path().c_str(), 1);
    ASSERT_TRUE(wxtest::InstallColordProfiles(mRoot.path()));
  }
  void TearDown() override { unsetenv("WENDRIX_ROOT"); }

  std::filesystem::path SystemProfile(const std::string& name) {
    return mRoot / "usr/share/color/icc/colord" / name;
  }

  wxtest::ScratchDir mRoot;
};

// The screen has no published profile here, so it is taken as sRGB.
TEST_F(PreviewMatching, APageIsMatchedFromItsInstalledProfileToTheScreen) {
  const std::vector<uint8_t> colours = {200, 30, 40, 20, 180, 60, 30, 60, 220, 240, 240, 20};
  std::vector<std::vector<uint8_t>> rows(1, colours);
  ASSERT_TRUE(wxtest::WritePage(mRoot / "page.tif", 4, 1, 24, 2, rows));
  const std::vector<uint8_t> want =
      wxtest::TransiccRGB(SystemProfile("AdobeRGB1998.icc"), SystemProfile("sRGB.icc"), colours);
  ASSERT_EQ(colours.size(), want.size());
  struct Case {
    const char* source;
    bool matched;
  } cases[] = {{"AdobeRGB1998.icc", true}, {"NotInstalled.icc", false}};
  for (const Case& c : cases) {
    std::unique_ptr<LGWorld> picture(
        PreviewPicture::Load(wxtest::SpecOf(mRoot / "page.tif"), 0, LStr255(c.source), Natural));
    ASSERT_NE(nullptr, picture) << c.source;
    for (int x = 0; x < 4; ++x) {
      const RGB got = PixelAt(picture.get(), x, 0);
      for (int k = 0; k < 3; ++k) {
        const int expected = c.matched ? want[size_t(3 * x + k)] : colours[size_t(3 * x + k)];
        EXPECT_NEAR(expected, got[size_t(k)], c.matched ? 1 : 0) << c.source << " pixel " << x << " sample " << k;
      }
    }
  }
}

}  // namespace
