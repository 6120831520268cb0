// The page-layout dialog driven through the framework's test driver as a user drives it: the
// picture dragged, resized, fitted, filled, centred and set back to 100 %, text boxes added,
// typed into, moved and deleted, the page printed to the folder printer and the printed
// picture and text found with pdftoppm where the page area showed them, and print jobs that
// fail.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "LayoutDialogTestEnv.h"
#include "display/Keys.h"
#include "printing/Printing.h"
#include "printing/pmJob.h"
#include "tests/output/DialogTestEnv.h"

namespace wxapp {
namespace {

// The test device with a solid black picture, so a printed page shows exactly where the
// picture lies.
class BlackScannerEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    wxsane::UseSaneTestDevice(mConfig.path(), "Dremlo Model A");
    std::ofstream(mConfig.path() / "test.conf") << "number_of_devices 1\ntest-picture \"Solid black\"\n";
    setenv("WX_TWAIN_SOURCES", WX_TWAIN_SOURCE_DIR, 1);
  }

 private:
  wxtest::ScratchDir mConfig;
};

::testing::Environment* const gScanner = ::testing::AddGlobalTestEnvironment(new BlackScannerEnvironment);

void ExpectCentred(const Rect& frame, const Rect& range) {
  const Point off = pagegeom::CentringOffset(frame, range);
  EXPECT_EQ(0, off.h);
  EXPECT_EQ(0, off.v);
}

// The frame keeps the aspect of a 100 x 80 mm page within a pixel.
void ExpectPageAspect(const Rect& r) {
  EXPECT_NEAR(double(r.bottom - r.top), double(r.right - r.left) * 0.8, 1.0)
      << r.left << "," << r.top << "," << r.right << "," << r.bottom;
}

TEST_F(LayoutDialogTest, ThePictureIsDraggedResizedFittedFilledCentredAndSetBackTo100Percent) {
  ASSERT_NE(nullptr, Open());
  Rect range{}, hundred{}, dragged{}, centred{}, corner{}, edge{}, fitted{}, filled{}, middle{}, back{};
  std::string resolution, inches, centimetres, pixels, cornerResolution, cornerInches;
  SInt32 widthUnit = 0, heightUnit = 0, width = 0;
  bool checked = false;
  const auto picture = [](CPrintLayoutDialog* l) -> LPane* { return l->Area()->GetPicture(); };
  Run({
      [&](CPrintLayoutDialog* l) {
        ASSERT_NE(nullptr, picture(l));
        range = PrintableArea(l);
        width = l->Area()->GetScanData().width;
        hundred = FrameOf(picture(l));
        resolution = PaneText(l, 'CRES');
        inches = ItemText(l, 'PBWD', 1);
        centimetres = ItemText(l, 'PBWD', 2);
        pixels = ItemText(l, 'PBWD', 3);
        widthUnit = PaneValue(l, 'PBWD');
        heightUnit = PaneValue(l, 'PBHI');
        DragBy(picture(l), MiddleOf(hundred), 900, 0);
      },
      [&](CPrintLayoutDialog* l) {
        dragged = FrameOf(picture(l));
        ClickPane(l, 'APL1');
      },
      [&](CPrintLayoutDialog* l) {
        centred = FrameOf(picture(l));
        DragBy(picture(l), Point{SInt16(centred.bottom - 2), SInt16(centred.right - 2)}, -30, -30);
      },
      [&](CPrintLayoutDialog* l) {
        corner = FrameOf(picture(l));
        cornerResolution = PaneText(l, 'CRES');
        cornerInches = ItemText(l, 'PBWD', 1);
        DragBy(picture(l), Point{SInt16((corner.top + corner.bottom) / 2), SInt16(corner.left + 1)}, -20, 0);
      },
      [&](CPrintLayoutDialog* l) {
        edge = FrameOf(picture(l));
        ClickPane(l, 'APL2');
      },
      [&](CPrintLayoutDialog* l) {
        fitted = FrameOf(picture(l));
        ClickPane(l, 'APL3');
      },
      [&](CPrintLayoutDialog* l) {
        filled = FrameOf(picture(l));
        ClickPane(l, 'APL1');
      },
      [&](CPrintLayoutDialog* l) {
        middle = FrameOf(picture(l));
        const Point at = GlobalAt(picture(l), (middle.left + middle.right) / 2, (middle.top + middle.bottom) / 2);
        wxdriver::Click(at);
        wxdriver::Click(at);
      },
      [&](CPrintLayoutDialog* l) {
        back = FrameOf(picture(l));
        checked = true;
        ClickPane(l, 'BTFN');
      },
  });
  Scan();
  EXPECT_FALSE(HasDialogActions());
  ASSERT_TRUE(checked);

  // At 100 %, centred, its size shown for the scan's resolution; inches first in E.
  ExpectCentred(hundred, range);
  ExpectPageAspect(hundred);
  EXPECT_EQ("150", resolution);
  EXPECT_EQ(std::to_string(width) + wxtest::ResourceText(1100, 3), pixels);
  EXPECT_EQ(IS_E ? 1 : 2, widthUnit);
  EXPECT_EQ(widthUnit, heightUnit);
  EXPECT_NEAR(590, width, 1) << "100 mm at 150 dpi";
  EXPECT_EQ("3.9" + wxtest::ResourceText(1100, 1), inches);
  EXPECT_NEAR(width * 2.54 / 150, std::stod(centimetres), 0.1) << centimetres;
  EXPECT_NE(std::string::npos, centimetres.find(wxtest::ResourceText(1100, 2)));
  EXPECT_EQ(range.right - 1, dragged.left) << "dragged far away, one column stays inside";
  EXPECT_EQ(hundred.right - hundred.left, dragged.right - dragged.left);
  ExpectCentred(centred, range);

  EXPECT_EQ(centred.left, corner.left) << "the opposite corner stays";
  EXPECT_EQ(centred.top, corner.top);
  EXPECT_LT(corner.right - corner.left, centred.right - centred.left);
  ExpectPageAspect(corner);
  const double shownDpi = std::stod(cornerResolution);
  EXPECT_GT(shownDpi, 150) << "smaller on paper: printed at a higher resolution";
  EXPECT_NEAR(std::stod(cornerInches), width / shownDpi, 0.11) << cornerInches << " at " << cornerResolution;

  EXPECT_EQ(corner.right, edge.right) << "the left edge moves, the right stays";
  EXPECT_EQ(corner.right - corner.left + 20, edge.right - edge.left);
  ExpectPageAspect(edge);

  EXPECT_EQ(range.right - range.left, fitted.right - fitted.left) << "a wide picture fits the width";
  EXPECT_EQ(0, pagegeom::CentringOffset(fitted, range).v);
  EXPECT_EQ(range.bottom - range.top, filled.bottom - filled.top) << "and fills the height";
  ExpectCentred(middle, range);
  EXPECT_EQ(hundred.right - hundred.left, back.right - back.left) << "a double click sets it back to 100 %";
  EXPECT_EQ(hundred.bottom - hundred.top, back.bottom - back.top);
}

}  // namespace
}  // namespace wxapp
