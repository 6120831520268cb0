#include <gtest/gtest.h>

#include <cstdlib>

#include "framework/FrameworkDriver.h"
#include "framework/LWindow.h"
#include "preview/CStitchCropPane.h"
#include "preview/CStitchPicturePane.h"
#include "preview/CStitchPictureView.h"
#include "tests/preview/PageFiles.h"
#include "tests/support/HeadlessApp.h"
#include "tests/support/TestEnv.h"
#include "windows/TestDriver.h"

namespace {

using wxtest::RGB;

constexpr RGB kRed{255, 0, 0}, kBlue{0, 0, 255};

Rect FrameOf(const LPane* pane) {
  Rect r{};
  pane->CalcLocalFrameRect(r);
  return r;
}

// A window holding the view, 400 x 300 at the port's origin, with a picture 'AbcP' 200 high.
class StitchView : public wxtest::HeadlessApp {
 protected:
  void SetUp() override {
    HeadlessApp::SetUp();
    mWindow = new LWindow(Rect{40, 40, 340, 440},
                          reinterpret_cast<ConstStr255Param>("\x01"
                                                             "S"),
                          4, 0, mApp);
    mView = new CStitchPictureView(MakePaneInfo(mWindow, 'StVw', 0, 0, 400, 300), SViewInfo{});
    mView->FinishCreate();
    auto* picture = new LPane(MakePaneInfo(mView, CStitchPictureView::kPicturePaneID, 0, 0, 10, 200));
    picture->FinishCreate();
    mWindow->Show();
    mWindow->Activate();
  }

  ScanData Half(const std::string& name, int w, int h, RGB colour) {
    EXPECT_TRUE(wxtest::WriteQuarterPage(mDir / name, w, h, {colour, colour, colour, colour}));
    ScanData record;
    record.width = w;
    record.height = h;
    record.imageFile = wxtest::SpecOf(mDir / name);
    return record;
  }
  // Red left and blue right halves of 150 x 200, shown at scale 1, aligning.
  void BothHalves() {
    mView->SetStep(CStitchPictureView::step_LeftShown);
    mView->SetPicturePane(Half("l.tif", 150, 200, kRed), CStitchPictureView::side_Left);
    mView->SetStep(CStitchPictureView::step_Align);
    mView->SetPicturePane(Half("r.tif", 150, 200, kBlue), CStitchPictureView::side_Right);
  }
  RGB Pixel(int h, int v) const {
    int width = 0, height = 0;
    const auto pixels = wxdriver::WindowPixels(mWindow->GetMacWindow(), &width, &height);
    const UInt32 p = pixels[size_t(v) * size_t(width) + size_t(h)];
    return RGB{uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)};
  }
  Point Global(Point local) const {
    mView->FocusDraw();
    LocalToGlobal(&local);
    return local;
  }
  void Screenshot(const std::string& name) const {
    wxdriver::SaveWindowPNG(mWindow->GetMacWindow(), wxtest::OutputDir("stitch") / name);
  }

  wxtest::ScratchDir mDir;
  LWindow* mWindow = nullptr;
  CStitchPictureView* mView = nullptr;
};

std::string Str(const Rect& r) {
  return "{" + std::to_string(r.top) + "," + std::to_string(r.left) + "," + std::to_string(r.bottom) + "," +
         std::to_string(r.right) + "}";
}

TEST_F(StitchView, HalvesStartSideBySideAndTheCropOverBoth) {
  BothHalves();
  mView->DrawNow();
  EXPECT_EQ(mView->GetDisplayScale(), 1.0);
  EXPECT_EQ(Str(FrameOf(mView->GetLeftPane())), "{50,50,250,200}");
  EXPECT_EQ(Str(FrameOf(mView->GetRightPane())), "{50,200,250,350}");
  EXPECT_EQ(Str(mView->GetMoveLimits()), "{25,51,275,350}");
  EXPECT_EQ(Pixel(100, 100), kRed);
  EXPECT_EQ(Pixel(300, 100), kBlue);
  EXPECT_EQ(Pixel(380, 10), (RGB{0xB9, 0xB9, 0xB4})) << "the view's background";
  Screenshot("step3.png");
  mView->SetStep(CStitchPictureView::step_Crop);
  mView->SetCropPane();
  ASSERT_NE(mView->GetCropPane(), nullptr);
  EXPECT_EQ(Str(FrameOf(mView->GetCropPane())), "{50,50,250,350}");
  Screenshot("step4.png");
}

TEST_F(StitchView, HalvesOfDifferentHeightsShareOneScale) {
  mView->SetPicturePane(Half("l.tif", 150, 200, kRed), CStitchPictureView::side_Left);
  EXPECT_EQ(Str(FrameOf(mView->GetLeftPane())), "{50,50,250,200}");
  mView->SetPicturePane(Half("r.tif", 150, 400, kBlue), CStitchPictureView::side_Right);
  EXPECT_EQ(mView->GetDisplayScale(), 0.5);
  EXPECT_EQ(Str(FrameOf(mView->GetLeftPane())), "{100,125,200,200}");
  EXPECT_EQ(Str(FrameOf(mView->GetRightPane())), "{50,200,250,275}");
  EXPECT_EQ(Pixel(150, 150), kRed);
}

TEST_F(StitchView, AHalfTheImporterCannotReadShowsWhite) {
  wxtest::WriteBytes(mDir / "bad.tif", {'n', 'o', 't'});
  ScanData record;
  record.width = 150;
  record.height = 200;
  record.imageFile = wxtest::SpecOf(mDir / "bad.tif");
  mView->SetPicturePane(record, CStitchPictureView::side_Left);
  EXPECT_EQ(Pixel(100, 100), (RGB{255, 255, 255}));
}

TEST_F(StitchView, ArrowKeysMoveTheRightHalfOnlyWhileAligning) {
  BothHalves();
  struct Case {
    long step;
    unsigned char key;
    int times;
    const char* frame;
  };
  const Case cases[] = {
      {CStitchPictureView::step_Align, 0x1C, 1, "{50,199,250,349}"},
      {CStitchPictureView::step_Align, 0x1F, 2, "{52,199,252,349}"},
      {CStitchPictureView::step_Align, 0x1E, 100, "{25,199,225,349}"},
      {CStitchPictureView::step_Align, 0x1D, 5, "{25,200,225,350}"},
      {CStitchPictureView::step_LeftShown, 0x1C, 1, "{25,200,225,350}"},
      {CStitchPictureView::step_Crop, 0x1C, 1, "{25,200,225,350}"},
      {CStitchPictureView::step_Align, 'a', 1, "{25,200,225,350}"},
  };
  for (const auto& c : cases) {
    mView->SetStep(c.step);
    for (int i = 0; i < c.times; ++i) mView->MoveRightPictureByKeyPress(c.key);
    EXPECT_EQ(Str(FrameOf(mView->GetRightPane())), c.frame) << c.step << " " << int(c.key);
  }
  EXPECT_EQ(mView->GetIsRightImageOver(), 1);
}

TEST_F(StitchView, TurningTwiceGivesBackTheAngleAndTheRightHalfItsStart) {
  BothHalves();
  mView->MoveRightPictureByKeyPress(0x1C);
  mView->RotatePicture(CStitchPictureView::step_Align);
  EXPECT_EQ(mView->GetRightAngle(), 180);
  EXPECT_EQ(Str(FrameOf(mView->GetRightPane())), "{50,200,250,350}");
  mView->RotatePicture(CStitchPictureView::step_Align);
  EXPECT_EQ(mView->GetRightAngle(), 0);
  mView->RotatePicture(CStitchPictureView::step_LeftShown);
  mView->RotatePicture(CStitchPictureView::step_LeftShown);
  EXPECT_EQ(mView->GetLeftAngle(), 0);
  mView->RotatePicture(CStitchPictureView::step_Crop);
  EXPECT_EQ(mView->GetLeftAngle(), 0);
  EXPECT_EQ(mView->GetRightAngle(), 0);
}

TEST_F(StitchView, ADraggedHalfIsMixedOverTheOtherUntilTheNextRedraw) {
  BothHalves();
  // From the right half's middle 60 pixels left: it then covers the left half's columns 140 to 199.
  wxdriver::Drag(Global(Point{150, 275}), Global(Point{150, 215}), 6);
  wxframework::PumpEvents();
  EXPECT_EQ(Str(FrameOf(mView->GetRightPane())), "{50,140,250,290}");
  EXPECT_EQ(mView->GetIsRightImageOver(), 1);
  const RGB mixed = Pixel(170, 100);
  EXPECT_NEAR(mixed[0], 128, 1);
  EXPECT_EQ(mixed[1], 0);
  EXPECT_NEAR(mixed[2], 128, 1);
  EXPECT_EQ(Pixel(100, 100), kRed);
  EXPECT_EQ(Pixel(250, 100), kBlue);
  Screenshot("step3-drag.png");

  mView->DrawNow();
  EXPECT_EQ(Pixel(170, 100), kBlue) << "opaque once drawn again";
  wxdriver::Click(Global(Point{100, 100}));
  wxframework::PumpEvents();
  EXPECT_EQ(mView->GetIsRightImageOver(), 0);
  EXPECT_EQ(Pixel(170, 100), kRed) << "the half clicked last lies on top";
}

TEST_F(StitchView, TheCropFrameIsDrawnInAntsAndFollowsItsHandles) {
  BothHalves();
  mView->SetStep(CStitchPictureView::step_Crop);
  mView->SetCropPane();
  const Rect crop = FrameOf(mView->GetCropPane());
  // Along the top edge the stripes are five pixels in eight black, the rest white.
  int black = 0, white = 0;
  for (int h = crop.left; h < crop.right; ++h) {
    const RGB p = Pixel(h, crop.top);
    black += p == RGB{0, 0, 0};
    white += p == RGB{255, 255, 255};
  }
  EXPECT_EQ(black + white, crop.right - crop.left);
  EXPECT_NEAR(double(black) / (black + white), 5.0 / 8, 0.02);
  EXPECT_EQ(Pixel(100, 100), kRed) << "the inside is not painted";

  // A click without moving changes nothing; the bottom-right handle dragged in resizes.
  wxdriver::Click(Global(Point{150, 200}));
  wxframework::PumpEvents();
  EXPECT_EQ(Str(FrameOf(mView->GetCropPane())), Str(crop));
  wxdriver::Drag(Global(Point{248, 348}), Global(Point{200, 300}), 4);
  wxframework::PumpEvents();
  EXPECT_EQ(Str(FrameOf(mView->GetCropPane())), "{50,50,202,302}");
  // Clicks on the halves do nothing at this step.
  EXPECT_EQ(mView->GetIsRightImageOver(), 1);
}

}  // namespace
