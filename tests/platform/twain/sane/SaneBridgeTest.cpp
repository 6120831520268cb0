#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "display/Display.h"
#include "framework/FrameworkDriver.h"
#include "framework/LApplication.h"
#include "framework/LWindow.h"
#include "platform/twain/sane/SaneTestConfig.h"
#include "support/TestEnv.h"
#include "toolbox/MacMemory.h"
#include "toolbox/TextUtils.h"
#include "twain/twManager.h"
#include "twain/twSourceWindow.h"
#include "windows/Events.h"
#include "windows/TestDriver.h"

namespace {

::testing::Environment* const gSaneEnvironment =
    ::testing::AddGlobalTestEnvironment(new wxsane::SaneTestEnvironment(WX_TWAIN_SOURCE_DIR));

struct Page {
  TW_IMAGEINFO info{};
  std::vector<std::vector<unsigned char>> rows;  // data bytes of each row, padding left out
  TW_UINT32 bytesPerRow = 0;
};

class SaneBridgeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    PStrFromString("Tester", mApp.ProductName, sizeof mApp.ProductName);
    ASSERT_EQ(TWRC_SUCCESS, Send(nullptr, DG_CONTROL, DAT_PARENT, MSG_OPENDSM, nullptr));
    PStrFromString("Dremlo Model A", mSource.ProductName, sizeof mSource.ProductName);
    ASSERT_EQ(TWRC_SUCCESS, Send(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &mSource));
  }
  void TearDown() override {
    Send(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &mSource);
    Send(nullptr, DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, nullptr);
  }
  TW_UINT16 Send(TW_IDENTITY* dest, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, void* data) {
    return DSM_Entry(&mApp, dest, dg, dat, msg, static_cast<TW_MEMREF>(data));
  }
  TW_UINT16 SetOne(TW_UINT16 capability, TW_UINT16 type, const void* item, size_t size) {
    Handle h = NewHandleClear(offsetof(TW_ONEVALUE, Item) + std::max<size_t>(size, 4));
    auto* one = reinterpret_cast<TW_ONEVALUE*>(*h);
    one->ItemType = type;
    std::memcpy(&one->Item, item, size);
    TW_CAPABILITY cap{capability, TWON_ONEVALUE, h};
    TW_UINT16 rc = Send(&mSource, DG_CONTROL, DAT_CAPABILITY, MSG_SET, &cap);
    DisposeHandle(h);
    return rc;
  }
  TW_UINT16 SetU16(TW_UINT16 capability, TW_UINT16 value) {
    TW_UINT32 item = value;
    return SetOne(capability, TWTY_UINT16, &item, 4);
  }
  TW_UINT16 SetFix(TW_UINT16 capability, int value) {
    TW_UINT32 item = TWFix32ToItem(TW_FIX32{static_cast<TW_INT16>(value), 0});
    return SetOne(capability, TWTY_FIX32, &item, 4);
  }
  void Negotiate(TW_UINT16 pixelType, TW_UINT16 depth, int resolution, int widthPx, int heightPx) {
    ASSERT_EQ(TWRC_SUCCESS, SetU16(ICAP_PIXELTYPE, pixelType));
    ASSERT_EQ(TWRC_SUCCESS, SetU16(ICAP_BITDEPTH, depth));
    ASSERT_EQ(TWRC_SUCCESS, SetU16(ICAP_PIXELFLAVOR, TWPF_VANILLA));
    ASSERT_EQ(TWRC_SUCCESS, SetU16(ICAP_UNITS, TWUN_PIXELS));
    ASSERT_EQ(TWRC_SUCCESS, SetFix(ICAP_XRESOLUTION, resolution));
    ASSERT_EQ(TWRC_SUCCESS, SetFix(ICAP_YRESOLUTION, resolution));
    TW_FRAME frame{{0, 0}, {0, 0}, {static_cast<TW_INT16>(widthPx), 0}, {static_cast<TW_INT16>(heightPx), 0}};
    ASSERT_EQ(TWRC_SUCCESS, SetOne(ICAP_FRAMES, TWTY_FRAME, &frame, sizeof frame));
  }
  TW_UINT16 ProcessEvent(TW_UINT16* message) {
    EventRecord record{};
    TW_EVENT event{reinterpret_cast<TW_MEMREF>(&record), 0};
    TW_UINT16 rc = Send(&mSource, DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event);
    *message = event.TWMessage;
    return rc;
  }
  Page Transfer() {
    TW_USERINTERFACE ui{0, 1, nullptr};
    EXPECT_EQ(TWRC_SUCCESS, Send(&mSource, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui));
    TW_UINT16 message = 0;
    EXPECT_EQ(TWRC_DSEVENT, ProcessEvent(&message));
    EXPECT_EQ(MSG_XFERREADY, message);
    Page page = ReadPage();
    EXPECT_EQ(TWRC_SUCCESS, Send(&mSource, DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui));
    return page;
  }
  // The page announced as ready, block by block, then the end of its transfer; without
  // `pagesLeft` the page must be the last.
  Page ReadPage(TW_UINT16* pagesLeft = nullptr) {
    Page page;
    EXPECT_EQ(TWRC_SUCCESS, Send(&mSource, DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &page.info));
    size_t dataBytes = (size_t(page.info.ImageWidth) * page.info.BitsPerPixel + 7) / 8;
    std::vector<char> buffer(1000);  // small, so a page takes several blocks
    TW_UINT16 rc = TWRC_SUCCESS;
    for (int blocks = 0; rc == TWRC_SUCCESS && blocks < 10000; ++blocks) {
      TW_IMAGEMEMXFER xfer{};
      xfer.Memory = TW_MEMORY{TWMF_APPOWNS | TWMF_POINTER, static_cast<TW_UINT32>(buffer.size()), buffer.data()};
      rc = Send(&mSource, DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &xfer);
      if (rc != TWRC_SUCCESS && rc != TWRC_XFERDONE) break;
      page.bytesPerRow = xfer.BytesPerRow;
      for (TW_UINT32 r = 0; r < xfer.Rows; ++r) {
        const auto* row = reinterpret_cast<const unsigned char*>(buffer.data()) + r * xfer.BytesPerRow;
        page.rows.emplace_back(row, row + dataBytes);
      }
    }
    EXPECT_EQ(TWRC_XFERDONE, rc);
    TW_PENDINGXFERS pending{};
    EXPECT_EQ(TWRC_SUCCESS, Send(&mSource, DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending));
    if (pagesLeft) *pagesLeft = pending.Count;
    else EXPECT_EQ(0, pending.Count);
    return page;
  }

  TW_IDENTITY mApp{}, mSource{};
  wxtest::ScratchDir mScratch;
};

struct Mode {
  const char* name;
  TW_UINT16 pixelType, depth;
  const char* saneMode;
  int saneDepth;
  int bitsPerPixel;
};

TEST_F(SaneBridgeTest, DeliversThePixelsSaneScansInEveryMode) {
  WX_REQUIRE_TOOL("scanimage");
  const Mode modes[] = {
      {"black and white", TWPT_BW, 1, "Gray", 1, 1},
      {"grey", TWPT_GRAY, 8, "Gray", 8, 8},
      {"colour", TWPT_RGB, 8, "Color", 8, 24},
  };
  for (const Mode& m : modes) {
    SCOPED_TRACE(m.name);
    Negotiate(m.pixelType, m.depth, 50, 40, 30);
    Page page = Transfer();
    wxsane::Pnm reference;
    ASSERT_TRUE(wxsane::ScanImage(m.saneMode, m.saneDepth, 50, 40 * 25.4 / 50, 30 * 25.4 / 50, mScratch / "ref.pnm", &reference));
    EXPECT_EQ(m.bitsPerPixel, page.info.BitsPerPixel);
    ASSERT_EQ(reference.width, page.info.ImageWidth);
    ASSERT_EQ(reference.height, page.info.ImageLength);
    ASSERT_EQ(size_t(reference.height), page.rows.size());
    for (int y = 0; y < reference.height; ++y) {
      std::vector<unsigned char> want(reference.data.begin() + y * reference.rowBytes,
                                      reference.data.begin() + (y + 1) * reference.rowBytes);
      // Grey comes with zero as the lightest shade (as asked), the reverse of SANE's.
      if (m.pixelType == TWPT_GRAY) for (auto& b : want) b = static_cast<unsigned char>(~b);
      ASSERT_EQ(want, page.rows[y]) << "row " << y;
    }
  }
}

TEST_F(SaneBridgeTest, ReportsTheConfiguredProductAndPhysicalSize) {
  ASSERT_EQ(TWRC_SUCCESS, SetU16(ICAP_UNITS, TWUN_PIXELS));
  ASSERT_EQ(TWRC_SUCCESS, SetFix(ICAP_XRESOLUTION, 100));
  TW_CAPABILITY cap{ICAP_PHYSICALWIDTH, 0, nullptr};
  ASSERT_EQ(TWRC_SUCCESS, Send(&mSource, DG_CONTROL, DAT_CAPABILITY, MSG_GET, &cap));
  ASSERT_NE(nullptr, cap.hContainer);
  auto* one = reinterpret_cast<TW_ONEVALUE*>(*cap.hContainer);
  EXPECT_EQ(TWTY_FIX32, one->ItemType);
  EXPECT_EQ(787, TWItemToFix32(one->Item).Whole);  // 200 mm at 100 dpi
  DisposeHandle(cap.hContainer);

  TW_CAPABILITY model{0x8423, 0, nullptr};
  ASSERT_EQ(TWRC_SUCCESS, Send(&mSource, DG_CONTROL, DAT_CAPABILITY, MSG_GET, &model));
  auto* text = reinterpret_cast<const unsigned char*>(&reinterpret_cast<TW_ONEVALUE*>(*model.hContainer)->Item);
  EXPECT_EQ("Dremlo Model A", PStrToString(text));
  DisposeHandle(model.hContainer);
}

TEST_F(SaneBridgeTest, KeepsTheMakersCapabilitiesAndReportsThemBack) {
  ASSERT_EQ(TWRC_SUCCESS, SetU16(0x8414, 1));
  TW_CAPABILITY cap{0x8414, 0, nullptr};
  ASSERT_EQ(TWRC_SUCCESS, Send(&mSource, DG_CONTROL, DAT_CAPABILITY, MSG_GETCURRENT, &cap));
  EXPECT_EQ(1u, reinterpret_cast<TW_ONEVALUE*>(*cap.hContainer)->Item & 0xFFFF);
  DisposeHandle(cap.hContainer);
}

// The test device's sources are the flatbed and a feeder: it has no film adapter to offer.
TEST_F(SaneBridgeTest, RefusesTheTransmissiveLightPathWithoutAFilmSource) {
  EXPECT_EQ(TWRC_FAILURE, SetU16(ICAP_LIGHTPATH, TWLP_TRANSMISSIVE));
  TW_STATUS status{};
  ASSERT_EQ(TWRC_SUCCESS, Send(&mSource, DG_CONTROL, DAT_STATUS, MSG_GET, &status));
  EXPECT_EQ(TWCC_BADVALUE, status.ConditionCode);

  ASSERT_EQ(TWRC_SUCCESS, SetU16(ICAP_LIGHTPATH, TWLP_REFLECTIVE));
  TW_CAPABILITY cap{ICAP_LIGHTPATH, 0, nullptr};
  ASSERT_EQ(TWRC_SUCCESS, Send(&mSource, DG_CONTROL, DAT_CAPABILITY, MSG_GETCURRENT, &cap));
  EXPECT_EQ(TWLP_REFLECTIVE, reinterpret_cast<TW_ONEVALUE*>(*cap.hContainer)->Item & 0xFFFF);
  DisposeHandle(cap.hContainer);
}

// The source the configuration names for documents is what a reflective light path selects;
// from a feeder one scan takes every sheet (the test device's holds 10), unless the transfer
// count asks for fewer.
TEST_F(SaneBridgeTest, AConfiguredFeederGivesEverySheetInOneScan) {
  const struct {
    const char* name;
    bool feeder;
    int transferCount;  // 0: not set
    size_t pages;
  } cases[] = {
      {"flatbed", false, 0, 1},
      {"feeder", true, 0, 10},
      {"feeder, every sheet asked", true, -1, 10},
      {"feeder, three sheets asked", true, 3, 3},
      {"feeder, one sheet asked", true, 1, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    wxsane::UseSaneDocumentSource("Dremlo Model A", c.feeder ? wxsane::kSaneTestFeeder : "");
    SetUp();
    Negotiate(TWPT_GRAY, 8, 50, 40, 30);
    ASSERT_EQ(TWRC_SUCCESS, SetU16(ICAP_LIGHTPATH, TWLP_REFLECTIVE));
    if (c.transferCount != 0) {
      TW_UINT32 item = static_cast<TW_UINT16>(c.transferCount);
      ASSERT_EQ(TWRC_SUCCESS, SetOne(CAP_XFERCOUNT, TWTY_INT16, &item, 4));
    }
    TW_USERINTERFACE ui{0, 1, nullptr};
    ASSERT_EQ(TWRC_SUCCESS, Send(&mSource, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui));
    TW_UINT16 message = 0;
    ASSERT_EQ(TWRC_DSEVENT, ProcessEvent(&message));
    ASSERT_EQ(MSG_XFERREADY, message);
    std::vector<Page> pages;
    TW_UINT16 left = 1;
    while (left != 0 && pages.size() < 20) pages.push_back(ReadPage(&left));
    EXPECT_EQ(c.pages, pages.size());
    for (const Page& page : pages) EXPECT_EQ(size_t(page.info.ImageLength), page.rows.size());
    EXPECT_EQ(TWRC_NOTDSEVENT, ProcessEvent(&message));
    ASSERT_EQ(TWRC_SUCCESS, Send(&mSource, DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui));
  }
  TearDown();
  wxsane::UseSaneDocumentSource("Dremlo Model A", "");
  SetUp();
}

TEST_F(SaneBridgeTest, TheSourcesOwnWindowChoosesTheKindAndStartsOrCancelsTheScan) {
  DpyUseHeadless();
  DpyClearInput();
  FlushEvents(everyEvent, 0);
  struct App : LApplication {};
  std::unique_ptr<App> app(new App);
  Negotiate(TWPT_GRAY, 8, 50, 40, 30);
  TW_USERINTERFACE ui{1, 1, nullptr};
  ASSERT_EQ(TWRC_SUCCESS, Send(&mSource, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui));
  LWindow* window = LWindow::GetActiveWindow();
  ASSERT_NE(nullptr, window);
  EXPECT_EQ(1, wxframework::PaneValue(window, kTwWindowGray));
  TW_UINT16 message = 0;
  EXPECT_EQ(TWRC_NOTDSEVENT, ProcessEvent(&message));  // nothing until the user clicks Scan

  wxframework::ClickPane(window, kTwWindowRGB);
  wxframework::PumpEvents();
  int width = 0, height = 0;
  std::vector<UInt32> pixels = wxdriver::WindowPixels(window->GetMacWindow(), &width, &height);
  ASSERT_GT(width * height, 0);
  EXPECT_TRUE(DpyWritePNG((wxtest::OutputDir("scanner") / "source-window.png").string(), pixels.data(), width, height));
  wxframework::ClickPane(window, kTwWindowScan);
  wxframework::PumpEvents();
  ASSERT_EQ(TWRC_DSEVENT, ProcessEvent(&message));
  ASSERT_EQ(MSG_XFERREADY, message);
  Page page = ReadPage();
  EXPECT_EQ(24, page.info.BitsPerPixel);
  EXPECT_EQ(size_t(page.info.ImageLength), page.rows.size());
  EXPECT_EQ(TWRC_NOTDSEVENT, ProcessEvent(&message));  // the window stays for the next scan

  wxframework::ClickPane(window, kTwWindowCancel);
  wxframework::PumpEvents();
  EXPECT_EQ(TWRC_DSEVENT, ProcessEvent(&message));
  EXPECT_EQ(MSG_CLOSEDSREQ, message);
  ASSERT_EQ(TWRC_SUCCESS, Send(&mSource, DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui));
  EXPECT_EQ(nullptr, LWindow::GetActiveWindow());
}

}  // namespace
