#include "prefs/FactoryDefaults.h"

#include <gtest/gtest.h>

#include "prefs/CPreferences.h"
#include "output/hub/WXFolders.h"
#include "tests/prefs/PrefsTestEnv.h"

namespace {

using wxtest::ButtonNames;
using wxtest::DefaultFileName;
using wxtest::FromP;
using wxtest::PrefsEnv;

struct StartCase {
  const char* language;
  bool metric;
  const char* model;
  bool fourButtons;
  uint32_t paper;     // expected paper index
  uint32_t unit;
  uint32_t languageValue;
};

class FactoryStart : public ::testing::TestWithParam<StartCase> {};

std::string Str(RecordBytes r, PrefStr255 f) {
  Str255 s;
  f.get(r, s);
  return FromP(s);
}

void ExpectSameSpec(const FSSpec& a, const FSSpec& b, const char* what) {
  EXPECT_EQ(a.vRefNum, b.vRefNum) << what;
  EXPECT_EQ(a.parID, b.parID) << what;
  EXPECT_EQ(FromP(a.name), FromP(b.name)) << what;
}

void ExpectHistory(RecordBytes r, PrefHistory h, const std::string& name) {
  EXPECT_EQ(h.count(r), 1u);
  Str255 s;
  h.entry(r, 0, s);
  EXPECT_EQ(FromP(s), name);
}

void ExpectJPEG(RecordBytes r, uint32_t lang) {
  EXPECT_EQ(StJPEGDialog::kLanguageOption.get(r), 0u);
  EXPECT_EQ(StJPEGDialog::kLanguage.get(r), lang);
  EXPECT_EQ(StJPEGDialog::kOptionSLT.get(r), 0u);
  EXPECT_EQ(StJPEGDialog::kOptionPRB.get(r), 0u);
  EXPECT_EQ(StJPEGDialog::kCompression.get(r), 2u);
}

void ExpectOther(RecordBytes r, uint32_t lang) {
  EXPECT_EQ(StOtherDialog::kLanguageOption.get(r), 0u);
  EXPECT_EQ(StOtherDialog::kLanguage.get(r), lang);
  EXPECT_EQ(StOtherDialog::kOptionSLT.get(r), 0u);
  EXPECT_EQ(StOtherDialog::kOptionPRB.get(r), 0u);
}

void ExpectPDF(RecordBytes r, uint32_t lang, bool fileRecord) {
  EXPECT_EQ(StPDFDialog::kLanguageOption.get(r), 1u);
  EXPECT_EQ(StPDFDialog::kUnused4.get(r), fileRecord ? 1u : 0u);
  EXPECT_EQ(StPDFDialog::kUnused8.get(r), 0u);
  EXPECT_EQ(StPDFDialog::kLanguage.get(r), lang);
  EXPECT_EQ(StPDFDialog::kCompression.get(r), 1u);
  EXPECT_EQ(StPDFDialog::kSavedCompression.get(r), fileRecord ? 1u : 0u);
  EXPECT_EQ(StPDFDialog::kRestricted.get(r), 0);
  EXPECT_EQ(StPDFDialog::kAppendTo.get(r).name[0], 0);
  EXPECT_EQ(StPDFDialog::kOptionCBCR.get(r), 1u);
  EXPECT_EQ(StPDFDialog::kOptionCBXT.get(r), 1u);
  EXPECT_EQ(StPDFDialog::kOptionCBXP.get(r), 0u);
}

void ExpectCustom(RecordBytes r, PrefDocSize f, uint32_t unit) {
  EXPECT_EQ(f.width(r), 2160);
  EXPECT_EQ(f.height(r), 2970);
  EXPECT_EQ(f.unit(r), unit);
}

TEST_P(FactoryStart, EveryRecordHoldsItsDefaults) {
  const StartCase& c = GetParam();
  PrefsEnv env(c.language);
  ASSERT_EQ(LanguageLetter(), c.language[0]);  // read from string list 128
  PrefsEnv::UseModels({"Some Other Scanner", c.model, "Dremlo Model C"});
  CPreferences::sSources.metric = c.metric;
  CPreferences prefs(PREFS_FILE_NAME, 0);
  RecordBytes all = prefs.PrefAll();
  const uint32_t lang = c.languageValue;
  FSSpec output{}, temp{}, tempBase{};
  ASSERT_TRUE(CWXUtility::Get_Default_Dir(&output));
  ASSERT_TRUE(CWXUtility::Get_Default_TempDir(&temp, &tempBase));

  {
    SCOPED_TRACE("PREF_SETTING");
    using R = PREF_SETTING;
    RecordBytes r = PREF_ALL::kSetting.in(all);
    EXPECT_EQ(Str(r, R::kModelName), c.model);
    EXPECT_EQ(R::kButtonSlot0.get(r), 1u);
    EXPECT_EQ(R::kButtonSlot1.get(r), 6u);
    EXPECT_EQ(R::kButtonSlot2.get(r), c.fourButtons ? 8u : 0u);
    EXPECT_EQ(R::kButtonSlot3.get(r), 3u);
    EXPECT_EQ(Str(r, R::kButtonName), ButtonNames()[8]);
    EXPECT_EQ(Str(r, R::kPopupText), ButtonNames()[9]);
    EXPECT_EQ(R::kTag.get(r), 0u);
    EXPECT_EQ(R::kTWAIN.get(r), 1);
    EXPECT_EQ(R::kFilmAdapter.get(r), 1);
    EXPECT_EQ(R::kQuitOption.get(r), 0);
    EXPECT_EQ(R::kCheckDone.get(r), 0);
    ExpectSameSpec(R::kTempFolder.get(r), temp, "temp");
    ExpectSameSpec(R::kTempBase.get(r), tempBase, "temp base");
    EXPECT_EQ(FromP(temp.name), "WX50Temp");
    EXPECT_EQ(FromP(tempBase.name), "Dremlo Wendrix 5.0");
  }
  {
    SCOPED_TRACE("PREF_COPY");
    using R = PREF_COPY;
    RecordBytes r = PREF_ALL::kCopy.in(all);
    const uint32_t want[][2] = {{0, 3}, {4, 1}, {8, 3}, {12, 2}, {16, 2}, {20, 2}, {28, 1}, {32, 4}, {40, 1},
                                {44, 100}, {308, 2000}, {320, 1}, {324, 1}, {328, 1}, {332, 1}};
    for (const auto& w : want) EXPECT_EQ(r.u32(w[0]), w[1]) << w[0];
    EXPECT_EQ(R::kPaperSize.get(r), c.paper);
    EXPECT_EQ(R::kScale.get(r), uint32_t(Copy_Popup_100Percent));
    EXPECT_EQ(R::kCheckUION.get(r), 0);
    EXPECT_EQ(R::kCollate.get(r), 1);
    EXPECT_EQ(Str(r, R::kButtonName), "Copy");
    ExpectCustom(r, R::kCustomSize, c.unit);
  }
  {
    SCOPED_TRACE("PREF_PRINT");
    using R = PREF_PRINT;
    RecordBytes r = PREF_ALL::kPrint.in(all);
    const uint32_t want[][2] = {{0, 1}, {4, 1}, {8, 5}, {12, 2}, {16, 2}, {20, 2}, {28, 1}, {32, 4},
                                {296, 0}, {308, 1}, {312, 1}, {316, 1}, {320, 1}};
    for (const auto& w : want) EXPECT_EQ(r.u32(w[0]), w[1]) << w[0];
    EXPECT_EQ(R::kPaperSize.get(r), c.paper);
    EXPECT_EQ(R::kJobFlag.get(r), 1);
    EXPECT_EQ(Str(r, R::kButtonName), "Print");
    ExpectCustom(r, R::kCustomSize, c.unit);
  }
  {
    SCOPED_TRACE("PREF_MAIL");
    using R = PREF_MAIL;
    RecordBytes r = PREF_ALL::kMail.in(all);
    const uint32_t want[][2] = {{0, 5}, {4, 1}, {12, 1}, {16, 1}, {3496, 2003}, {3676, 0}, {21604, 0}};
    for (const auto& w : want) EXPECT_EQ(r.u32(w[0]), w[1]) << w[0];
    EXPECT_EQ(R::kPaperSize.get(r), c.paper);
    EXPECT_EQ(R::kCheckUION.get(r), 0);
    EXPECT_EQ(R::kCheckDYIN.get(r), 1);
    EXPECT_EQ(Str(r, R::kButtonName), "Mail");
    EXPECT_EQ(Str(r, R::kDefaultFileName), DefaultFileName(2000));
    EXPECT_EQ(Str(r, R::kFileName), "");
    ExpectHistory(r, R::kHistory, DefaultFileName(2000));
    ExpectSameSpec(R::kFolder.get(r), output, "folder");
    EXPECT_EQ(R::kMailApp.get(r).vRefNum, 0);
    ExpectCustom(r, R::kCustomSize, c.unit);
    ExpectPDF(R::kPDF.in(r), lang, false);
    ExpectJPEG(R::kJPEG.in(r), lang);
    ExpectOther(R::kPICT.in(r), lang);
    ExpectOther(R::kTIFF.in(r), lang);
    EXPECT_EQ(R::kCheckAIRE.get(r), 0);
    EXPECT_EQ(R::kCheckEZFN.get(r), 0);
    EXPECT_EQ(R::kFlag21601.get(r), 0);
  }
  {
    SCOPED_TRACE("PREF_OCR");
    using R = PREF_OCR;
    RecordBytes r = PREF_ALL::kOCR.in(all);
    EXPECT_EQ(R::kColourMode.get(r), 3u);
    EXPECT_EQ(R::kSetting4.get(r), 1u);
    EXPECT_EQ(R::kPaperSize.get(r), c.paper);
    EXPECT_EQ(R::kColourSetting.get(r), 2u);
    EXPECT_EQ(R::kFlag16.get(r), 0);
    EXPECT_EQ(R::kCheckDYIN.get(r), 1);
    EXPECT_EQ(Str(r, R::kButtonName), "OCR");
    EXPECT_EQ(Str(r, R::kDefaultFileName), DefaultFileName(3000));
    ExpectHistory(r, R::kHistory, DefaultFileName(3000));
    ExpectSameSpec(R::kFolder.get(r), output, "folder");
    EXPECT_EQ(R::kOCRApp.get(r).name[0], 0);
    EXPECT_EQ(R::kTag.get(r), 0u);
    ExpectCustom(r, R::kCustomSize, c.unit);
    ExpectJPEG(R::kJPEG.in(r), lang);
    ExpectOther(R::kPICT.in(r), lang);
    ExpectOther(R::kTIFF.in(r), lang);
    EXPECT_EQ(R::kSetting3416.get(r), 0u);
  }
  {
    SCOPED_TRACE("PREF_SAVE");
    using R = PREF_SAVE;
    RecordBytes r = PREF_ALL::kSave.in(all);
    const uint32_t want[][2] = {{0, 1}, {4, 1}, {8, 3}, {12, 2}, {16, 5}, {20, 2}, {28, 1}, {32, 2}, {3444, 0},
                                {3624, 0}};
    for (const auto& w : want) EXPECT_EQ(r.u32(w[0]), w[1]) << w[0];
    EXPECT_EQ(R::kPaperSize.get(r), c.paper);
    EXPECT_EQ(R::kCheckDYIN.get(r), 1);
    EXPECT_EQ(Str(r, R::kButtonName), "Save");
    EXPECT_EQ(Str(r, R::kDefaultFileName), DefaultFileName(4000));
    ExpectHistory(r, R::kHistory, DefaultFileName(4000));
    ExpectSameSpec(R::kFolder.get(r), output, "folder");
    ExpectCustom(r, R::kCustomSize, c.unit);
    ExpectPDF(R::kPDF.in(r), lang, false);
    ExpectJPEG(R::kJPEG.in(r), lang);
    ExpectOther(R::kPICT.in(r), lang);
    ExpectOther(R::kTIFF.in(r), lang);
    EXPECT_EQ(R::kCheckFORE.get(r), 0);
  }
  for (uint32_t k = 0; k < 5; ++k) {
    SCOPED_TRACE("PREF_FILE " + std::to_string(k));
    using R = PREF_FILE;
    RecordBytes r = PREF_ALL::File(k).in(all);
    const uint32_t tabs[] = {1, 0, 1, 1, 1};
    const uint32_t setting4[] = {3, 3, 3, 1, 3};
    EXPECT_EQ(R::kCurrentTab.get(r), tabs[k]);
    EXPECT_EQ(R::kSetting4.get(r), setting4[k]);
    EXPECT_EQ(R::kSetting8.get(r), 5u);
    EXPECT_EQ(R::kPaperSize.get(r), c.paper);
    EXPECT_EQ(R::kSetting16.get(r), 2u);
    EXPECT_EQ(R::kFlag21.get(r), 1);
    EXPECT_EQ(Str(r, R::kButtonName), "File");
    EXPECT_EQ(Str(r, R::kDefaultFileName), DefaultFileName(5000));
    ExpectHistory(r, R::kHistory, DefaultFileName(5000));
    ExpectSameSpec(R::kFolder.get(r), output, "folder");
    EXPECT_EQ(R::kTag.get(r), 2002u);
    ExpectCustom(r, R::kCustomSize, c.unit);
    ExpectPDF(R::kPDF.in(r), lang, true);
    ExpectJPEG(R::kJPEG.in(r), lang);
    EXPECT_EQ(R::kFlag3673.get(r), k == 4 ? 1 : 0);
    EXPECT_EQ(R::kFlag3680.get(r), 1);
    EXPECT_EQ(R::kButtonPending.get(r), 1);
  }
  for (bool scan2 : {false, true}) {
    SCOPED_TRACE(scan2 ? "Scan-2" : "Scan-1");
    using R = PREF_SCANX;
    RecordBytes r = (scan2 ? PREF_ALL::kScan2 : PREF_ALL::kScan1).in(all);
    const uint32_t want[][2] = {{0, 3}, {4, 1}, {8, 5}, {12, 2}, {16, 5}, {20, 2}, {28, 1}, {32, 2}};
    for (const auto& w : want) EXPECT_EQ(r.u32(w[0]), w[1]) << w[0];
    EXPECT_EQ(R::kPaperSize.get(r), c.paper);
    EXPECT_EQ(R::kCheckDYIN.get(r), 1);
    EXPECT_EQ(Str(r, R::kButtonName), scan2 ? "Scan2" : "Scan1");
    EXPECT_EQ(Str(r, R::kDefaultFileName), DefaultFileName(scan2 ? 7000 : 6000));
    ExpectHistory(r, R::kHistory, DefaultFileName(scan2 ? 7000 : 6000));
    EXPECT_EQ(R::kTag.get(r), scan2 ? 0u : 2001u);
    ExpectCustom(r, R::kCustomSize, c.unit);
    ExpectJPEG(R::kJPEG.in(r), lang);
  }
  {
    SCOPED_TRACE("EXIF_PREF");
    using R = EXIF_PREF;
    RecordBytes r = PREF_ALL::kExif.in(all);
    EXPECT_EQ(R::kMark.get(r), 220u);
    EXPECT_EQ(Str(r, R::kMake), "Maker");
    EXPECT_EQ(Str(r, R::kSoftware), "Software");
    EXPECT_EQ(Str(r, R::kModel), c.model);  // taken from the record being built
    EXPECT_EQ(R::kColourPage.get(r), 1u);
    EXPECT_EQ(R::kSource.get(r), 2u);
    EXPECT_EQ(R::kYearIndex.get(r), 2026u - 1899u);
    EXPECT_EQ(R::kMonth.get(r), 12u);
    EXPECT_EQ(R::kDay.get(r), 10u);
    EXPECT_EQ(R::kShutterIndex.get(r), 12u);
    EXPECT_EQ(R::kApertureIndex.get(r), 4u);
    EXPECT_EQ(R::kFlashIndex.get(r), 1);
    EXPECT_EQ(R::kISOIndex.get(r), 5u);
    EXPECT_EQ(R::kSceneValue.get(r), 1u);
    EXPECT_EQ(R::kExposureModeIndex.get(r), 1u);
    EXPECT_EQ(R::kKept2440.get(r), 1);
    EXPECT_EQ(R::kIsDefault.get(r), 0);
  }
  EXPECT_EQ(PREF_ALL::kWindowTop.get(all), 0);
  EXPECT_EQ(PREF_ALL::kWindowLeft.get(all), 0);
  EXPECT_EQ(PREF_ALL::kLastButton.get(all), 0);
  // Gaps are zero: the block is cleared before the defaults go in.
  for (size_t off : {size_t(305), size_t(337), size_t(668 + 3673), size_t(22276 + 3300)})
    EXPECT_EQ(all.u8(off), 0) << off;
}

INSTANTIATE_TEST_SUITE_P(
    Starts, FactoryStart,
    ::testing::Values(StartCase{"J", true, "Dremlo Model A", false, 1, 1, 1},
                      StartCase{"J", false, "Dremlo Model D", true, 5, 2, 1},
                      StartCase{"E", false, "Dremlo Model B", false, 4, 2, 1},
                      StartCase{"E", true, "Dremlo Model D", true, 1, 1, 1},
                      StartCase{"F", true, "Dremlo Model C", false, 1, 1, 2},
                      StartCase{"G", true, "Dremlo Model A", false, 1, 1, 4}));

TEST(FactoryDefaults, NoKnownDataSourceLeavesTheModelEmpty) {
  PrefsEnv env("E");
  PrefsEnv::UseModels({"Some Other Scanner"});
  CPreferences prefs(PREFS_FILE_NAME, 0);
  RecordBytes setting = PREF_ALL::kSetting.in(prefs.PrefAll());
  EXPECT_EQ(Str(setting, PREF_SETTING::kModelName), "");
  EXPECT_EQ(PREF_SETTING::kButtonSlot2.get(setting), 0u);
  EXPECT_EQ(PREF_COPY::kImageMode2.get(PREF_ALL::kCopy.in(prefs.PrefAll())), 2u);
}

TEST(FactoryDefaults, ProductIDNeedsTheTWAINFlagAndAKnownModel) {
  EXPECT_EQ(FDProductID(1, reinterpret_cast<ConstStr255Param>("\x0e" "Dremlo Model C")), 0x1250);
  EXPECT_EQ(FDProductID(0, reinterpret_cast<ConstStr255Param>("\x0e" "Dremlo Model C")), 0);
  EXPECT_EQ(FDProductID(1, reinterpret_cast<ConstStr255Param>("\x05" "Other")), 0);
}

}  // namespace
