#include "preview/CPrevPrevWindow.h"

#include <gtest/gtest.h>

#include <functional>

#include "display/Keys.h"
#include "framework/FrameworkDriver.h"
#include "framework/LGWorld.h"
#include "framework/LThread.h"
#include "framework/TRegistrar.h"
#include "preview/CPrevPrevView.h"
#include "tests/preview/PageFiles.h"
#include "tests/support/HeadlessApp.h"
#include "tests/support/TestEnv.h"
#include "windows/TestDriver.h"

namespace {

using wxtest::kQuarters;
using wxtest::RGB;

TEST(PrevPrevFit, ThePageFillsTheViewWithItsAspectKept) {
  struct Case {
    SInt32 w, h;
    long rotation;
    SInt32 fw, fh;
    SInt16 outH, outW;
  } cases[] = {
      {3000, 2000, 0, 600, 500, 400, 600},    // the width fills
      {3000, 2000, 90, 600, 500, 333, 500},   // turned, the height fills (before turning)
      {3000, 2000, 270, 600, 500, 333, 500},  //
      {3000, 2000, 180, 600, 500, 400, 600},  //
      {1200, 1000, 0, 600, 500, 500, 600},    // equal ratios go by the height
      {60, 40, 0, 600, 500, 400, 600},        // a small page is enlarged
      {40, 100, 0, 600, 500, 500, 200},       //
  };
  for (const Case& c : cases) {
    const Rect r = CPrevPrevView::FitRect(c.w, c.h, c.rotation, c.fw, c.fh);
    EXPECT_EQ(c.outH, r.bottom) << c.w << "x" << c.h << " at " << c.rotation;
    EXPECT_EQ(c.outW, r.right) << c.w << "x" << c.h << " at " << c.rotation;
    EXPECT_EQ(0, r.top);
    EXPECT_EQ(0, r.left);
  }
}

constexpr int kGuardPasses = 8;

class PrevPrev : public wxtest::HeadlessApp {
 protected:
  void RegisterClasses() override {
    RegisterClass_(CPrevPrevWindow);
    RegisterClass_(CPrevPrevView);
  }

  // Shows `file` enlarged; `during` runs on the window after its loader ran (when `load`).
  // Returns whether the window was still open one pass after `during`.
  bool Show(const FSSpec& page, long rotation, const std::function<void(CPrevPrevWindow*)>& during, bool load = true) {
    bool stillOpen = false;
    wxframework::QueueDialogAction([&](LWindow* dialog) {
      auto* window = dynamic_cast<CPrevPrevWindow*>(dialog);
      ASSERT_NE(nullptr, window);
      if (load) {
        window->GetView()->SpendTime(EventRecord{});
        LThread::Yield();
      }
      during(window);
    });
    // Events the first action posted may still wait in the event queue: give them passes.
    int passes = 0;
    std::function<void(LWindow*)> guard = [&](LWindow*) {
      if (++passes < kGuardPasses) return wxframework::QueueDialogAction(guard);
      stillOpen = true;
      wxframework::AnswerNextDialog(900);
    };
    wxframework::QueueDialogAction(guard);
    FSSpec file = page;
    unsigned char title[] = "\x06" "Page 1";
    unsigned char source[] = "\x00";
    CPrevPrevWindow::ShowPrevPrevWindow(file, title, source, rotation);
    return stillOpen;
  }

  FSSpec QuarterPage(int w, int h) {
    EXPECT_TRUE(wxtest::WriteQuarterPage(mDir / "page.tif", w, h, kQuarters));
    return wxtest::SpecOf(mDir / "page.tif");
  }

  wxtest::ScratchDir mDir;
};

RGB At(const std::vector<UInt32>& pixels, int width, int h, int v) {
  const UInt32 p = pixels[size_t(v) * width + h];
  return RGB{uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)};
}

TEST_F(PrevPrev, EachCornerKeepsItsColourAtEveryQuarterTurn) {
  const FSSpec page = QuarterPage(300, 200);
  struct Case {
    long rotation;
    int shownW, shownH;
  } cases[] = {{0, 600, 400}, {90, 333, 500}, {180, 600, 400}, {270, 333, 500}};
  for (const Case& c : cases) {
    Show(page, c.rotation, [&](CPrevPrevWindow* window) {
      const LGWorld* image = window->GetView()->GetImage();
      ASSERT_NE(nullptr, image);
      Rect bounds{};
      GetPortBounds(image->GetMacGWorld(), &bounds);
      EXPECT_EQ(c.shownW, bounds.right) << c.rotation;
      EXPECT_EQ(c.shownH, bounds.bottom) << c.rotation;
      // The view stands at (16, 20) and is 600 x 500; the picture is centred in it.
      int width = 0, height = 0;
      const std::vector<UInt32> pixels = wxdriver::WindowPixels(window->GetMacWindow(), &width, &height);
      const int left = 16 + (600 - c.shownW) / 2, top = 20 + (500 - c.shownH) / 2;
      const int right = left + c.shownW - 1, bottom = top + c.shownH - 1;
      const int k = int(c.rotation / 90);
      const RGB corners[] = {At(pixels, width, left + 4, top + 4), At(pixels, width, right - 4, top + 4),
                             At(pixels, width, right - 4, bottom - 4), At(pixels, width, left + 4, bottom - 4)};
      for (int i = 0; i < 4; ++i) EXPECT_EQ(wxtest::Turned(k)[size_t(i)], corners[i]) << c.rotation << " corner " << i;
      if (c.rotation == 90) wxdriver::SaveWindowPNG(window->GetMacWindow(), wxtest::OutputDir("preview") / "enlarged.png");
      wxframework::ClickPane(window, 900);
    });
  }
}

TEST_F(PrevPrev, OkCloseBoxEscapeAndDoubleClickCloseTheWindowASingleClickDoesNot) {
  const FSSpec page = QuarterPage(40, 30);
  struct Case {
    const char* how;
    std::function<void(CPrevPrevWindow*)> act;
    bool stays;
  } cases[] = {
      {"OK", [](CPrevPrevWindow* w) { wxframework::ClickPane(w, 900); }, false},
      {"close box", [](CPrevPrevWindow* w) { wxdriver::RequestWindowClose(w->GetMacWindow()); }, false},
      {"Escape", [](CPrevPrevWindow*) { wxdriver::Key(kEscapeCharCode, kVKEscape); }, false},
      {"double-click",
       [](CPrevPrevWindow* w) {
         wxframework::ClickPane(w->GetView());
         wxframework::ClickPane(w->GetView());
       },
       false},
      {"single click", [](CPrevPrevWindow* w) { wxframework::ClickPane(w->GetView()); }, true},
  };
  for (const Case& c : cases) EXPECT_EQ(c.stays, Show(page, 0, c.act)) << c.how;
}

TEST_F(PrevPrev, AnUnreadablePageGivesAnEmptyWindowThatCloses) {
  wxtest::WriteBytes(mDir / "short.tif", {'M', 'M', 0, 42, 0, 0, 0, 8, 0});
  ASSERT_TRUE(wxtest::WriteQuarterPage(mDir / "cut.tif", 64, 64, kQuarters));
  std::filesystem::resize_file(mDir / "cut.tif", 1000);
  for (const char* name : {"short.tif", "cut.tif", "missing.tif"}) {
    const bool stays = Show(wxtest::SpecOf(mDir / name), 0, [&](CPrevPrevWindow* window) {
      EXPECT_EQ(nullptr, window->GetView()->GetImage()) << name;
      wxframework::ClickPane(window, 900);
    });
    EXPECT_FALSE(stays) << name;
  }
}

TEST_F(PrevPrev, ClosingBeforeTheLoaderRanLeavesNoThread) {
  const FSSpec page = QuarterPage(40, 30);
  const size_t before = LThread::CountThreads();
  struct Case {
    const char* when;
    bool resumed, load;
  } cases[] = {{"before the first idle time", false, false},
               {"resumed, not yet run", true, false},
               {"after it ran", false, true}};
  for (const Case& c : cases) {
    Show(page, 90,
         [&](CPrevPrevWindow* window) {
           if (c.resumed) window->GetView()->SpendTime(EventRecord{});
           wxdriver::RequestWindowClose(window->GetMacWindow());
         },
         c.load);
    EXPECT_EQ(before, LThread::CountThreads()) << c.when;
  }
}

}  // namespace
