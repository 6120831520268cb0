#include "preview/PreviewPicture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

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

// How the picture was made before: the page at full size, then scaled by CopyBits.
std::unique_ptr<LGWorld> ShrunkFromFullSize(const FSSpec& file, const Rect& target) {
  std::unique_ptr<LGWorld> page = PreviewPicture::Decode(file);
  if (!page) return nullptr;
  std::unique_ptr<LGWorld> picture(PreviewPicture::NewWorld(target));
  page->CopyImage(picture->GetMacGWorld(), target);
  return picture;
}

void WritePPM(LGWorld* w, const std::filesystem::path& path) {
  Rect r{};
  GetPortBounds(w->GetMacGWorld(), &r);
  std::ofstream out(path, std::ios::binary);
  out << "P6\n" << r.right - r.left << " " << r.bottom - r.top << "\n255\n";
  for (int v = 0; v < r.bottom - r.top; ++v)
    for (int h = 0; h < r.right - r.left; ++h) {
      const RGB p = PixelAt(w, h, v);
      out.write(reinterpret_cast<const char*>(p.data()), 3);
    }
}

// ImageMagick's PSNR of two pictures ("inf" when they are the same).
double PSNR(LGWorld* a, LGWorld* b, const std::filesystem::path& dir) {
  WritePPM(a, dir / "a.ppm");
  WritePPM(b, dir / "b.ppm");
  std::string out;
  wxtest::Run("compare -metric PSNR '" + (dir / "a.ppm").string() + "' '" + (dir / "b.ppm").string() + "' null: 2>&1", &out);
  return std::strtod(out.c_str(), nullptr);
}

// A thumbnail is drawn from the file straight at its size; it shows what shrinking the
// full-size page showed. Pages of fine detail (one-pixel stripes and dots) and of smooth
// gradients, in every kind, upright and across, to thumbnail and to preview sizes.
TEST(PreviewPicture, APictureMadeAtItsSizeMatchesTheFullSizePageShrunk) {
  WX_REQUIRE_TOOL("compare");
  wxtest::ScratchDir dir;
  struct Case {
    const char* name;
    int w, h, bits, photometric;
    int fitW, fitH;
  } cases[] = {
      {"colour-a4", 620, 877, 24, 2, 70, 70},  {"colour-across", 877, 620, 24, 2, 300, 300},
      {"grey", 500, 707, 8, 1, 70, 70},        {"bilevel", 640, 905, 1, 0, 70, 70},
      {"colour-small", 50, 40, 24, 2, 70, 70},
  };
  for (const Case& c : cases) {
    const int bytes = c.bits == 1 ? (c.w + 7) / 8 : c.w * c.bits / 8;
    std::vector<std::vector<uint8_t>> rows(size_t(c.h), std::vector<uint8_t>(size_t(bytes)));
    for (int y = 0; y < c.h; ++y)
      for (int i = 0; i < bytes; ++i)
        rows[size_t(y)][size_t(i)] = c.bits == 1 ? uint8_t(y % 3 ? 0x55 << (y % 2) : 0x0F)
                                                 : uint8_t(i % 5 == 0 || y % 7 == 0 ? 255 - i * 3 % 256 : (i + y) / 4);
    const auto path = dir / (std::string(c.name) + ".tif");
    ASSERT_TRUE(wxtest::WritePage(path, c.w, c.h, c.bits, c.photometric, rows));
    auto fit = [&](SInt32 w, SInt32 h) {
      const double s = w > h ? double(c.fitW) / w : double(c.fitH) / h;
      return Rect{0, 0, SInt16(h * s), SInt16(w * s)};
    };
    std::unique_ptr<LGWorld> picture(PreviewPicture::Load(wxtest::SpecOf(path), 0, LStr255(), fit));
    std::unique_ptr<LGWorld> before = ShrunkFromFullSize(wxtest::SpecOf(path), fit(c.w, c.h));
    ASSERT_NE(nullptr, picture) << c.name;
    ASSERT_NE(nullptr, before) << c.name;
    EXPECT_GE(PSNR(picture.get(), before.get(), dir.path()), 40.0) << c.name;
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
