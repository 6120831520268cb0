#include "preview/CPreviewPicPane.h"

#include <gtest/gtest.h>

#include <memory>

#include "framework/FrameworkDriver.h"
#include "framework/LException.h"
#include "framework/LGWorld.h"
#include "framework/LListener.h"
#include "framework/LThread.h"
#include "framework/LWindow.h"
#include "output/export/CRotate.h"
#include "output/export/PageRecords.h"
#include "tests/preview/PageFiles.h"
#include "tests/support/HeadlessApp.h"
#include "tests/support/TestEnv.h"
#include "toolbox/MacMemory.h"
#include "windows/Events.h"
#include "windows/TestDriver.h"

namespace {

using wxtest::kQuarters;
using wxtest::RGB;

TEST(PreviewPicFit, TheLargerSideFillsThePane) {
  struct Case {
    SInt32 w, h;
    SInt16 outW, outH;
  } cases[] = {{2000, 1000, 70, 35}, {1000, 2000, 35, 70}, {500, 500, 70, 70}, {20, 10, 70, 35}, {7, 14, 35, 70}};
  for (const Case& c : cases) {
    const Rect r = CPreviewPicPane::FitRect(c.w, c.h, 70, 70);
    EXPECT_EQ(c.outW, r.right) << c.w << "x" << c.h;
    EXPECT_EQ(c.outH, r.bottom) << c.w << "x" << c.h;
  }
}

RGB PixelAt(const LGWorld* world, int h, int v) {
  LGWorld* w = const_cast<LGWorld*>(world);
  const auto* base = reinterpret_cast<const uint8_t*>(CRotate::GetBaseAddr(w));
  const uint8_t* p = base + v * CRotate::GetRowBytes(w) + 4 * h;
  return RGB{p[1], p[2], p[3]};
}

// The four corners of the picture, inset by 3 pixels: top-left, top-right, bottom-right, bottom-left.
std::array<RGB, 4> Corners(const LGWorld* world) {
  Rect r{};
  GetPortBounds(world->GetMacGWorld(), &r);
  const int right = r.right - 4, bottom = r.bottom - 4;
  return {PixelAt(world, 3, 3), PixelAt(world, right, 3), PixelAt(world, right, bottom), PixelAt(world, 3, bottom)};
}

using wxtest::Turned;

class PreviewPic : public wxtest::HeadlessApp {
 protected:
  void SetUp() override {
    HeadlessApp::SetUp();
    mWindow = new LWindow(Rect{40, 40, 200, 200}, reinterpret_cast<ConstStr255Param>("\x01" "W"), 4, 0, mApp);
    mWindow->Show();
  }

  std::unique_ptr<CPreviewPicPane> MakePane(const std::filesystem::path& file) {
    SPaneInfo info;
    info.paneID = CPreviewPicPane::kPaneID;
    info.width = info.height = 70;
    info.left = info.top = 5;
    info.superView = mWindow;
    auto pane = std::make_unique<CPreviewPicPane>(info, wxtest::SpecOf(file));
    pane->SetPageRecord(&mPage);
    pane->FinishCreate();
    return pane;
  }

  static void Load(CPreviewPicPane& pane) {
    pane.SpendTime(EventRecord{});
    LThread::Yield();
  }

  FSSpec Page(int w, int h) {
    EXPECT_TRUE(wxtest::WriteQuarterPage(mDir / "page.tif", w, h, kQuarters));
    return wxtest::SpecOf(mDir / "page.tif");
  }

  wxtest::ScratchDir mDir;
  LWindow* mWindow = nullptr;
  ScanDataPlus mPage;
};

TEST_F(PreviewPic, PicturesAreScaledAndTurnedAsTheRecordSays) {
  struct Case {
    int w, h;
    long rotation;
    SInt16 outW, outH;
  } cases[] = {{200, 100, 0, 70, 35}, {100, 200, 0, 35, 70}, {120, 120, 0, 70, 70},
               {40, 20, 0, 70, 35},   {200, 100, 90, 35, 70}, {200, 100, 180, 70, 35}, {200, 100, 270, 35, 70}};
  for (const Case& c : cases) {
    Page(c.w, c.h);
    mPage.rotation = c.rotation;
    auto pane = MakePane(mDir / "page.tif");
    Load(*pane);
    const LGWorld* image = pane->GetImage();
    ASSERT_NE(nullptr, image) << c.w << "x" << c.h;
    Rect r{};
    GetPortBounds(image->GetMacGWorld(), &r);
    EXPECT_EQ(c.outW, r.right) << c.w << "x" << c.h << " at " << c.rotation;
    EXPECT_EQ(c.outH, r.bottom) << c.w << "x" << c.h << " at " << c.rotation;
    EXPECT_EQ(Turned(int(c.rotation / 90)), Corners(image)) << c.rotation;
  }
}

TEST_F(PreviewPic, NinetyThenTwoSeventyGivesBackThePicture) {
  Page(200, 100);
  auto pane = MakePane(mDir / "page.tif");
  Load(*pane);
  pane->RotatePicture(90);
  EXPECT_EQ(Turned(1), Corners(pane->GetImage()));
  pane->RotatePicture(270);
  EXPECT_EQ(Turned(0), Corners(pane->GetImage()));
}

TEST_F(PreviewPic, ATurnThatCannotAllocateChangesNothing) {
  Page(200, 100);
  auto pane = MakePane(mDir / "page.tif");
  Load(*pane);
  const LGWorld* before = pane->GetImage();
  MemSetTempLimit(1);
  EXPECT_THROW(pane->RotatePicture(90), LException);
  MemSetTempLimit(0);
  EXPECT_EQ(before, pane->GetImage());
  EXPECT_EQ(Turned(0), Corners(pane->GetImage()));
}

TEST_F(PreviewPic, WithTemporaryMemoryCappedThePictureLoadsFromTheHeap) {
  Page(200, 100);
  MemSetTempLimit(1);
  auto pane = MakePane(mDir / "page.tif");
  Load(*pane);
  MemSetTempLimit(0);
  ASSERT_NE(nullptr, pane->GetImage());
  EXPECT_EQ(Turned(0), Corners(pane->GetImage()));
}

TEST_F(PreviewPic, AnUnreadablePageLeavesTheAreaBlank) {
  ASSERT_TRUE(wxtest::WriteQuarterPage(mDir / "cut.tif", 64, 64, kQuarters));
  std::filesystem::resize_file(mDir / "cut.tif", 1000);
  auto pane = MakePane(mDir / "cut.tif");
  Load(*pane);
  EXPECT_EQ(nullptr, pane->GetImage());
}

TEST_F(PreviewPic, APaneDestroyedBeforeItsLoaderRanLeavesNoThread) {
  Page(40, 20);
  const size_t before = LThread::CountThreads();
  struct Case {
    const char* when;
    bool idle, run;
  } cases[] = {{"before the first idle time", false, false}, {"resumed, not run", true, false}, {"after it ran", true, true}};
  for (const Case& c : cases) {
    auto pane = MakePane(mDir / "page.tif");
    if (c.idle) pane->SpendTime(EventRecord{});
    if (c.run) LThread::Yield();
    pane.reset();
    EXPECT_EQ(before, LThread::CountThreads()) << c.when;
  }
}

}  // namespace

namespace {

struct Heard : LListener {
  std::vector<MessageT> messages;
  void ListenToMessage(MessageT message, void*) override { messages.push_back(message); }
};

}  // namespace

TEST_F(PreviewPic, ClicksTellTheThumbnailWhatHappened) {
  Page(40, 20);
  auto pane = MakePane(mDir / "page.tif");
  Heard heard;
  pane->AddListener(&heard);
  wxframework::ClickPane(pane.get());
  wxframework::ClickPane(pane.get());
  wxframework::PumpEvents();
  EXPECT_EQ((std::vector<MessageT>{'Pppn', 'DblC'}), heard.messages);
}

TEST_F(PreviewPic, WaitingInputIsServedBetweenTwoLoadsAndEachPictureShowsAtOnce) {
  Page(300, 200);
  std::vector<std::unique_ptr<CPreviewPicPane>> panes;
  for (int i = 0; i < 20; ++i) {
    auto pane = MakePane(mDir / "page.tif");
    pane->MoveBy(80 * (i % 2), 0, false);
    panes.push_back(std::move(pane));
  }
  for (auto& pane : panes) pane->SpendTime(EventRecord{});
  PostEvent(keyDown, 'a');
  auto loaded = [&] {
    int n = 0;
    for (auto& pane : panes) n += pane->GetImage() != nullptr;
    return n;
  };
  LThread::Yield();
  EXPECT_EQ(1, loaded());
  // The first picture is in the window already: its top-left quarter is red.
  int width = 0, height = 0;
  const std::vector<UInt32> pixels = wxdriver::WindowPixels(mWindow->GetMacWindow(), &width, &height);
  const int top = 5 + (70 - 46) / 2;
  EXPECT_EQ(0xFF0000u, pixels[size_t(top + 4) * width + 5 + 4] & 0xFFFFFF);
  FlushEvents(everyEvent, 0);
  LThread::Yield();
  EXPECT_EQ(20, loaded());
}
