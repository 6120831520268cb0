#include "dialogs/print/CopyScanOutcome.h"

#include <gtest/gtest.h>

#include <memory>

#include "prefs/LanguageTables.h"
#include "prefs/PrefRecords.h"
#include "scanner/CTWAIN.h"
#include "scanner/Scanner.h"

namespace {

void SelectLetter(char letter) {
  unsigned char item[2] = {1, static_cast<unsigned char>(letter)};
  SelectLanguage(item);
}

CopyScanOutcome Twain(short result, bool size, bool limit, bool deep) {
  CopyScanOutcome o;
  o.twain = true;
  o.result = result;
  o.imageSizeOver = size;
  o.outputLimitOver = limit;
  o.highBitDepth = deep;
  return o;
}

TEST(CopyScanOutcome, TheEndOfAScanContinuesOrAlertsAsTheSessionEnded) {
  const struct {
    CopyScanOutcome scan;
    bool driverInterface;
    bool continueSession;
    std::vector<short> alerts;
  } cases[] = {
      {Twain(3, false, false, false), true, true, {}},
      {Twain(3, false, false, false), false, false, {}},  // the pages that arrived are printed
      {Twain(1, true, false, false), true, false, {37}},
      {Twain(1, false, true, false), true, false, {49}},
      {Twain(1, true, true, true), true, false, {37, 49, 38}},
      {Twain(1, true, true, false), false, false, {}},
      {Twain(1, false, false, true), false, false, {38}},
      {Twain(0, true, true, true), true, false, {}},
      {CopyScanOutcome{}, true, false, {}},  // a plug-in scan is never cancelled
  };
  for (const auto& c : cases) {
    CopyEndPlan plan = PlanCopyEnd(c.scan, c.driverInterface);
    EXPECT_EQ(c.continueSession, plan.continueSession) << c.scan.result;
    EXPECT_EQ(c.alerts, plan.alerts) << c.scan.result;
  }
}

TEST(CopyScanOutcome, OnlyACancelledTwainRunDoesNotQuit) {
  EXPECT_TRUE(CopyRunQuits(true, Twain(0, false, false, false)));
  EXPECT_TRUE(CopyRunQuits(true, Twain(1, false, false, false)));
  EXPECT_FALSE(CopyRunQuits(true, Twain(3, false, false, false)));
  EXPECT_TRUE(CopyRunQuits(true, CopyScanOutcome{}));
  EXPECT_FALSE(CopyRunQuits(false, CopyScanOutcome{}));
}

TEST(CopyScanOutcome, FitAndMagnificationFollowTheSource) {
  SelectLetter('J');
  const struct {
    uint32_t source, scale, scale2, imageMode2;
    uint16_t product;
    bool fit;
    long percent;
  } cases[] = {
      {1, uint32_t(Copy_Popup_FitPaper), 1, 1, 0, true, 100},
      {1, uint32_t(Copy_Popup_86Percent), 2, 1, 0, false, 86},
      {1, uint32_t(Copy_Popup_Custom), 1, 1, 0, false, 150},
      {2, 1, 2, 1, 0, true, 100},
      {2, 1, 1, 3, 0, true, 100},       // negative film is fitted
      {2, 1, 1, 3, 0x1120, false, 100},  // except on the model with its own film modes
      {3, uint32_t(Copy_Popup_FitPaper), 2, 3, 0, false, 100},
  };
  for (const auto& c : cases) {
    PREF_COPY copy;
    RecordBytes r = copy.view();
    PREF_COPY::kSource.set(r, c.source);
    PREF_COPY::kScale.set(r, c.scale);
    PREF_COPY::kScale2.set(r, c.scale2);
    PREF_COPY::kImageMode2.set(r, c.imageMode2);
    PREF_COPY::kCustomPercent.set(r, 150);
    EXPECT_EQ(c.fit, CopyFitFlag(r, c.product)) << c.source << " " << c.scale;
    EXPECT_EQ(c.percent, CopyMagnification(r, true)) << c.source << " " << c.scale;
  }
}

TEST(CopyScanOutcome, TheObjectTheWatcherHoldsDecidesThePath) {
  auto session = std::make_unique<CTWAIN>();
  session->SetImageSizeOver(1);
  TW_IMAGEINFO info{};
  info.ImageWidth = 2480;
  info.ImageLength = 3508;
  info.XResolution.Whole = 300;
  session->GetImageInfoArray()->AddItem(info);
  CopyScanOutcome t = CaptureCopyScan(session.get(), nullptr);
  EXPECT_TRUE(t.twain);
  EXPECT_TRUE(t.imageSizeOver);
  ASSERT_EQ(1u, t.pages.size());
  EXPECT_EQ(2480, t.pages[0].width);
  EXPECT_EQ(300, t.pages[0].resolution);

  auto plugIn = std::make_unique<Scanner>();
  OstrelScannerRecord record{};
  record.view().setI16(OstrelField::kImageColumns, 850);
  record.view().setI16(OstrelField::kImageRows, 1100);
  record.view().setI32(OstrelField::kHResolution, 100 << 16);
  plugIn->GetAcquireOstrelArray()->AddItem(record);
  CopyScanOutcome p = CaptureCopyScan(nullptr, plugIn.get());
  EXPECT_FALSE(p.twain);
  EXPECT_EQ(0, p.result);
  ASSERT_EQ(1u, p.pages.size());
  EXPECT_EQ(1100, p.pages[0].height);
  EXPECT_EQ(100, p.pages[0].resolution);
}

}  // namespace
