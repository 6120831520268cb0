// The PDF writer as a core: pages of any size holding several images, each placed at a
// rectangle and clipped, as printing lays them out.
#include "paginor/PDFWriter.h"

#include <gtest/gtest.h>

#include "PageFixtures.h"
#include "support/TestEnv.h"
#include "toolbox/MacErrors.h"

namespace fs = std::filesystem;
using namespace paginortest;

namespace {

PDFImage BlackGrey(int width, int height) {
  const std::vector<UInt8> pixels(size_t(width) * height, 0);
  return PDFImage{width, height, false, false, false, PDFDeflate(pixels.data(), pixels.size())};
}

TEST(PDFWriter, PlacesAndClipsSeveralImagesOnAPage) {
  WX_REQUIRE_TOOL("pdftoppm");
  wxtest::ScratchDir dir;
  const fs::path pdf = dir / "layout.pdf";
  {
    PDFWriter writer(pdf.string());
    writer.BeginPage(200, 100);
    writer.DrawImage(BlackGrey(10, 10), {10, 10, 40, 40}, {0, 0, 200, 100});
    // Placed over 100 x 80 points, but only its left half shows.
    writer.DrawImage(BlackGrey(20, 20), {90, 10, 100, 80}, {90, 10, 50, 80});
    ASSERT_EQ(writer.EndPage(), noErr);
    writer.BeginPage(50, 60);
    writer.DrawImage(BlackGrey(5, 5), {0, 0, 50, 60}, {0, 0, 50, 60});
    ASSERT_EQ(writer.EndPage(), noErr);
    EXPECT_EQ(writer.PageCount(), 2);
    ASSERT_EQ(writer.Finish(), noErr);
  }
  EXPECT_TRUE(QpdfCheck(pdf));
  const auto sizes = PageSizes(pdf);
  ASSERT_EQ(sizes.size(), 2u);
  EXPECT_EQ(sizes[1], (std::array<double, 2>{50, 60}));

  std::vector<uint8_t> rgb;
  int width = 0, height = 0;
  ASSERT_TRUE(RenderPDFPage(pdf, 1, 72, &rgb, &width, &height));
  ASSERT_EQ(width, 200);
  ASSERT_EQ(height, 100);
  // Points from the lower left; pixels from the top left.
  auto grey = [&](int x, int y) { return rgb[(size_t(height - 1 - y) * width + x) * 3]; };
  EXPECT_EQ(grey(30, 30), 0);
  EXPECT_EQ(grey(5, 5), 255);
  EXPECT_EQ(grey(60, 30), 255);
  EXPECT_EQ(grey(110, 50), 0);
  EXPECT_EQ(grey(170, 50), 255) << "clipped away";
  EXPECT_EQ(grey(110, 95), 255);
}

TEST(PDFWriter, AnUnfinishedFileIsRemovedAndNoPageMeansNoFile) {
  wxtest::ScratchDir dir;
  {
    PDFWriter writer((dir / "unfinished.pdf").string());
    writer.BeginPage(10, 10);
    writer.DrawImage(BlackGrey(2, 2), {0, 0, 10, 10}, {0, 0, 10, 10});
    ASSERT_EQ(writer.EndPage(), noErr);
    EXPECT_FALSE(fs::exists(dir / "unfinished.pdf")) << "an unfinished PDF never has the final name";
    EXPECT_FALSE(fs::is_empty(dir.path()));
  }
  EXPECT_TRUE(fs::is_empty(dir.path()));
  {
    PDFWriter writer((dir / "empty.pdf").string());
    EXPECT_EQ(writer.Finish(), noErr);
  }
  EXPECT_FALSE(fs::exists(dir / "empty.pdf"));
}

}  // namespace
