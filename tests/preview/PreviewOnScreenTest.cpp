// The preview's pictures on a real X screen (a private Xvfb): a loader's picture is on the
// screen as soon as the loader yields, before any update, and screenshots are kept.
#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "display/Display.h"
#include "framework/LThread.h"
#include "framework/LWindow.h"
#include "output/export/PageRecords.h"
#include "preview/CPreviewPicPane.h"
#include "support/TestEnv.h"
#include "support/Xvfb.h"
#include "tests/preview/PageFiles.h"
#include "tests/support/HeadlessApp.h"

namespace {

class PreviewOnScreen : public wxtest::HeadlessApp {
 protected:
  void SetUp() override {
    WX_REQUIRE_TOOL("xwd");
    WX_REQUIRE_TOOL("convert");
    WX_REQUIRE_XVFB();
    HeadlessApp::SetUp();
    ASSERT_TRUE(DpyUseScreen()) << SDL_GetError();
  }

  // The screen's pixel at a global point, as 0xRRGGBB.
  static UInt32 ScreenPixel(Point global) {
    wxtest::ScratchDir scratch;
    const std::string dump = (scratch / "screen.xwd").string();
    EXPECT_EQ(0, wxtest::Run("xwd -root -silent -display " + wxtest::Xvfb::Get().name() + " -out '" + dump + "'"));
    std::string rgb;
    wxtest::Run("convert xwd:'" + dump + "' -crop 1x1+" + std::to_string(global.h) + "+" + std::to_string(global.v) +
                    " -depth 8 rgb:-",
                &rgb);
    if (rgb.size() != 3) return 0xFFFFFFFF;
    return (UInt32(UInt8(rgb[0])) << 16) | (UInt32(UInt8(rgb[1])) << 8) | UInt8(rgb[2]);
  }

  static void LetTheScreenShow() {
    for (int i = 0; i < 20; ++i) {
      SDL_PumpEvents();
      DpyCurrent().Poll();
    }
  }

  wxtest::ScratchDir mDir;
};

TEST_F(PreviewOnScreen, ALoadersPictureIsOnTheScreenWhenItYields) {
  ASSERT_TRUE(wxtest::WriteQuarterPage(mDir / "page.tif", 300, 200, wxtest::kQuarters));
  auto* window = new LWindow(Rect{60, 60, 160, 160}, reinterpret_cast<ConstStr255Param>("\x01" "W"), 4, 0, mApp);
  window->Show();
  window->UpdatePort();
  LetTheScreenShow();
  ScanDataPlus page;
  SPaneInfo info;
  info.width = info.height = 70;
  info.left = info.top = 5;
  info.superView = window;
  auto pane = std::make_unique<CPreviewPicPane>(info, wxtest::SpecOf(mDir / "page.tif"));
  pane->SetPageRecord(&page);
  pane->FinishCreate();
  pane->SpendTime(EventRecord{});
  LThread::Yield();
  LetTheScreenShow();
  Rect bounds{};
  window->GetGlobalBounds(bounds);
  // The 70 x 46 picture sits 12 pixels down in the pane: its top-left quarter is red.
  EXPECT_EQ(0xFF0000u, ScreenPixel(Point{SInt16(bounds.top + 5 + 12 + 4), SInt16(bounds.left + 5 + 4)}));
  pane.reset();
  delete window;
}

}  // namespace
