#include "dialogs/print/ScanControlRules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "prefs/FactoryDefaults.h"
#include "prefs/LanguageTables.h"
#include "prefs/PrefRecords.h"

namespace {

// Item counts of the dialogs' menus as the resources give them.
int32_t MenuItems(int16_t menuID) {
  switch (menuID) {
    case 1000: case 1002: case 1003: case 1004: case 1005: case 9000: case 9002: case 9003: case 9004: case 9005: return 3;
    case 1001: case 9001: return 7;
    case 1014: case 9012: return 4;
    case 1007: case 9007: return IS_J ? 16 : 11;
    case 1008: case 9008: return IS_J ? 12 : 7;
    case 1011: return IS_J ? 11 : 9;
    case 1013: return 2;
    default: return 0;
  }
}

// A letter-size page at 72 dpi with half-inch margins.
std::optional<PageFacts> LetterPage() { return PageFacts{72, 540, 720}; }
std::optional<PageFacts> NoPrinter() { return std::nullopt; }

struct Case {
  std::string name;
  char language;
  uint16_t product;
  bool film;
  std::function<void(RecordBytes)> stored;
  std::function<void(ScanRuleState&, const ScanRuleParams&)> act;
  std::function<void(const ScanRuleState&)> check;
};

void SelectLetter(char letter) {
  unsigned char item[2] = {1, static_cast<unsigned char>(letter)};
  SelectLanguage(item);
}

ScanRuleParams CopyParams(char language, uint16_t product, bool film) {
  ScanRuleParams p;
  p.productID = product;
  p.filmAdapter = film;
  p.stitchItems[0] = language == 'J' ? Paper_Size_B4_Stitch : Paper_Size_11X17_Stitch;
  p.stitchItems[1] = Paper_Size_A3_Stitch;
  p.stitchItems[2] = Paper_Size_432X297_Stitch;
  p.customSizeItem = Paper_Size_custom;
  p.menuItems = MenuItems;
  p.pageFacts = LetterPage;
  p.japanese = language == 'J';
  return p;
}

// The Copy record as the factory writes it on a metric system, on the document glass.
PREF_COPY FactoryCopy() {
  std::vector<uint8_t> all(PREF_ALL::kSize);
  RecordBytes record = FDCopy(RecordBytes(all.data(), all.size()), FDSources{});
  PREF_COPY copy;
  std::copy_n(record.data(), PREF_COPY::kSize, copy.bytes.begin());
  PREF_COPY::kSource.set(copy.view(), 1);
  return copy;
}

uint32_t Get(const ScanRuleState& s, PrefU32 f) { return f.get(s.work); }
uint32_t Items(std::initializer_list<int> items) {
  uint32_t mask = 0;
  for (int i : items) mask |= 1u << (i - 1);
  return mask;
}

const Case kCases[] = {
    {"A4At400PercentDisablesOnly600Dpi", 'E', 0, true,
     [](RecordBytes r) { PREF_COPY::kScale.set(r, Copy_Popup_400Percent); PREF_COPY::kResolution.set(r, 3); },
     nullptr,
     [](const ScanRuleState& s) {
       EXPECT_EQ(1004, s.controls.resl.menuID);
       EXPECT_EQ(Items({3}), s.controls.resl.disabledItems);
       EXPECT_EQ(2, s.controls.resl.value);
       EXPECT_EQ(2u, Get(s, PREF_COPY::kResolution));
     }},
    {"A4At200PercentDisablesNothing", 'E', 0, true,
     [](RecordBytes r) { PREF_COPY::kScale.set(r, Copy_Popup_200Percent); PREF_COPY::kResolution.set(r, 3); },
     nullptr, [](const ScanRuleState& s) { EXPECT_EQ(0u, s.controls.resl.disabledItems); }},
    {"A3StitchAt141PercentDisables600Dpi", 'J', 0, true,
     [](RecordBytes r) { PREF_COPY::kPaperSize.set(r, Paper_Size_A3_Stitch); PREF_COPY::kScale.set(r, Copy_Popup_141Percent); },
     nullptr,
     [](const ScanRuleState& s) {
       EXPECT_EQ(Items({3}), s.controls.resl.disabledItems);
       EXPECT_EQ(Items({6, 7}), s.controls.imag.disabledItems);  // no stitch of the last two modes
     }},
    {"A3StitchAt115PercentKeeps600Dpi", 'J', 0, true,
     [](RecordBytes r) {
       PREF_COPY::kPaperSize.set(r, Paper_Size_A3_Stitch);
       PREF_COPY::kScale.set(r, Copy_Popup_115Percent);
       PREF_COPY::kCheckUION.set(r, 1);  // the stitch width counts with the driver interface too
     },
     nullptr, [](const ScanRuleState& s) { EXPECT_EQ(0u, s.controls.resl.disabledItems); }},
    {"EveryItemAboveTheLimitKeepsTheStoredItem", 'E', 0, true,
     [](RecordBytes r) {
       PREF_COPY::kPaperSize.set(r, Paper_Size_custom);
       r.setU16(PREF_COPY::kCustomSize.off, 60000);
       PREF_COPY::kResolution.set(r, 3);
     },
     nullptr,
     [](const ScanRuleState& s) {
       EXPECT_EQ(Items({1, 2, 3}), s.controls.resl.disabledItems);
       EXPECT_EQ(3, s.controls.resl.value);
     }},
    {"ACustomSizeOfZeroDisablesNothing", 'E', 0, true,
     [](RecordBytes r) {
       PREF_COPY::kPaperSize.set(r, Paper_Size_custom);
       r.setU16(PREF_COPY::kCustomSize.off, 0);
       PREF_COPY::kScale.set(r, Copy_Popup_FitPaper);
     },
     nullptr, [](const ScanRuleState& s) { EXPECT_EQ(0u, s.controls.resl.disabledItems); }},
    {"600DpiForces100PercentUntil300DpiReturns", 'E', 0, true,
     [](RecordBytes r) { PREF_COPY::kScale.set(r, Copy_Popup_200Percent); PREF_COPY::kPaperSize.set(r, Paper_Size_A5_Portrait); },
     [](ScanRuleState& s, const ScanRuleParams& p) {
       OnResolutionChanged(s, p, 3);
       EXPECT_FALSE(s.controls.scal.enabled);
       EXPECT_EQ(Copy_Popup_100Percent, s.controls.scal.value);
       OnResolutionChanged(s, p, 2);
     },
     [](const ScanRuleState& s) {
       EXPECT_TRUE(s.controls.scal.enabled);
       EXPECT_EQ(uint32_t(Copy_Popup_100Percent), Get(s, PREF_COPY::kScale));
     }},
    {"FitCarriesOverFromGlassToFilm", 'E', 0, true,
     [](RecordBytes r) { PREF_COPY::kScale.set(r, Copy_Popup_FitPaper); },
     [](ScanRuleState& s, const ScanRuleParams& p) { OnModeChanged(s, p, 2); },
     [](const ScanRuleState& s) {
       EXPECT_EQ(2u, Get(s, PREF_COPY::kScale2));
       EXPECT_EQ(1013, s.controls.scal.menuID);
       EXPECT_EQ(2, s.controls.scal.value);
       EXPECT_EQ(1002, s.controls.imag.menuID);
       EXPECT_EQ(Items({3}), s.controls.imag.disabledItems);
       EXPECT_EQ(1005, s.controls.resl.menuID);
       EXPECT_EQ(1008, s.controls.size.menuID);
       EXPECT_FALSE(s.controls.brightnessEnabled);
       EXPECT_EQ(4, s.controls.brightness);
     }},
    {"FitCarriesOverFromFilmToGlass", 'J', 0, true,
     [](RecordBytes r) { PREF_COPY::kSource.set(r, 2); PREF_COPY::kScale2.set(r, 2); },
     [](ScanRuleState& s, const ScanRuleParams& p) { OnModeChanged(s, p, 1); },
     [](const ScanRuleState& s) {
       EXPECT_EQ(uint32_t(Copy_Popup_FitPaper), Get(s, PREF_COPY::kScale));
       EXPECT_EQ(1011, s.controls.scal.menuID);
     }},
    {"NegativeFilmCopiesAtTheLowestResolution", 'E', 0, true, nullptr,
     [](ScanRuleState& s, const ScanRuleParams& p) {
       OnModeChanged(s, p, 2);
       OnImageModeChanged(s, p, 3);
     },
     [](const ScanRuleState& s) {
       EXPECT_EQ(Items({2, 3}), s.controls.resl.disabledItems);
       EXPECT_EQ(1u, Get(s, PREF_COPY::kResolution2));
       EXPECT_EQ(1, s.controls.resl.value);
       EXPECT_FALSE(s.controls.size.enabled);
     }},
    {"TheThirdSourceShowsTheLastSourceDisabled", 'E', 0, true,
     [](RecordBytes r) { PREF_COPY::kSource.set(r, 3); PREF_COPY::kLastSource.set(r, 2); PREF_COPY::kResolution2.set(r, 3); },
     nullptr,
     [](const ScanRuleState& s) {
       const ScanControls& c = s.controls;
       EXPECT_EQ(3, c.mode.value);
       EXPECT_EQ(1002, c.imag.menuID);
       EXPECT_EQ(1005, c.resl.menuID);
       EXPECT_EQ(3, c.resl.value);
       EXPECT_EQ(1008, c.size.menuID);
       EXPECT_EQ(1013, c.scal.menuID);
       EXPECT_FALSE(c.imag.enabled || c.resl.enabled || c.size.enabled || c.scal.enabled);
       EXPECT_EQ(300, ResolutionValue(s));
     }},
    {"NoFilmAdapterLeavesTheGlassAlone", 'E', 0, false,
     [](RecordBytes r) { PREF_COPY::kSource.set(r, 2); },
     nullptr,
     [](const ScanRuleState& s) {
       EXPECT_EQ(1, s.controls.mode.items);
       EXPECT_EQ(1u, Get(s, PREF_COPY::kSource));
     }},
    {"AModelWithoutFilmLeavesTheGlassAlone", 'E', 0x1240, true,
     [](RecordBytes r) { PREF_COPY::kSource.set(r, 3); },
     nullptr, [](const ScanRuleState& s) { EXPECT_EQ(1, s.controls.mode.items); }},
    {"Model1120HasItsOwnFilmModes", 'E', 0x1120, true,
     [](RecordBytes r) { PREF_COPY::kSource.set(r, 2); PREF_COPY::kImageMode2.set(r, 3); },
     nullptr,
     [](const ScanRuleState& s) {
       EXPECT_EQ(1014, s.controls.imag.menuID);
       EXPECT_EQ(2u, Get(s, PREF_COPY::kImageMode2));
     }},
    {"TheDriverInterfaceDisablesEveryScanControl", 'E', 0, true, nullptr,
     [](ScanRuleState& s, const ScanRuleParams& p) { OnUIChanged(s, p, 1); },
     [](const ScanRuleState& s) {
       const ScanControls& c = s.controls;
       EXPECT_FALSE(c.mode.enabled || c.imag.enabled || c.resl.enabled || c.size.enabled || c.scal.enabled ||
                    c.brightnessEnabled);
       EXPECT_EQ(1, PREF_COPY::kCheckUION.get(s.work));
     }},
    {"ImageModesWithoutPaperSizeDisableSizeAndBrightness", 'E', 0, true, nullptr,
     [](ScanRuleState& s, const ScanRuleParams& p) { OnImageModeChanged(s, p, 6); },
     [](const ScanRuleState& s) {
       EXPECT_EQ(5u, Get(s, PREF_COPY::kImageMode));
       EXPECT_FALSE(s.controls.size.enabled);
       EXPECT_FALSE(s.controls.brightnessEnabled);
       EXPECT_EQ(1003 + 1, s.controls.resl.menuID);
     }},
    {"ValuesOutsideTheirMenusAreBroughtIn", 'E', 0, true,
     [](RecordBytes r) {
       PREF_COPY::kSource.set(r, 9);
       PREF_COPY::kLastSource.set(r, 0);
       PREF_COPY::kImageMode.set(r, 40);
       PREF_COPY::kResolution.set(r, 0);
       PREF_COPY::kPaperSize.set(r, 99);
       PREF_COPY::kScale.set(r, 77);
       PREF_COPY::kCustomPercent.set(r, 0);
       PREF_COPY::kBrightness.set(r, 1000);
     },
     nullptr,
     [](const ScanRuleState& s) {
       EXPECT_EQ(3u, Get(s, PREF_COPY::kSource));
       EXPECT_EQ(1u, Get(s, PREF_COPY::kLastSource));
       EXPECT_EQ(3u, Get(s, PREF_COPY::kImageMode));
       EXPECT_EQ(1u, Get(s, PREF_COPY::kResolution));
       EXPECT_EQ(11u, Get(s, PREF_COPY::kPaperSize));
       EXPECT_EQ(9u, Get(s, PREF_COPY::kScale));
       EXPECT_EQ(25u, Get(s, PREF_COPY::kCustomPercent));
       EXPECT_EQ(7u, Get(s, PREF_COPY::kBrightness));
     }},
};

class ScanControlRulesTest : public ::testing::TestWithParam<Case> {};

TEST_P(ScanControlRulesTest, ControlsFollowTheRecord) {
  const Case& c = GetParam();
  SelectLetter(c.language);
  PREF_COPY copy = FactoryCopy();
  if (c.stored) c.stored(copy.view());
  ScanRuleParams p = CopyParams(c.language, c.product, c.film);
  ScanRuleState s{copy.view(), {}, true};
  SetAllControls(s, p);
  SetAllControls(s, p);
  s.initialising = false;
  if (c.act) c.act(s, p);
  c.check(s);
}

INSTANTIATE_TEST_SUITE_P(Copy, ScanControlRulesTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) { return info.param.name; });

// The Print dialog shares the rules: its own menus, record offsets, the limit against the
// output resolution, no magnification and no film rule for negative film.
TEST(PrintControlRules, ThePrintDialogDiffersWhereItsRecordDoes) {
  SelectLetter('E');
  const struct {
    const char* name;
    std::function<void(RecordBytes)> stored;
    std::function<void(ScanRuleState&, const ScanRuleParams&)> act;
    std::function<void(const ScanRuleState&)> check;
  } cases[] = {
      {"the limit against the output resolution",
       [](RecordBytes r) {
         PREF_PRINT::kPaperSize.set(r, Paper_Size_custom);
         r.setU16(PREF_PRINT::kCustomSize.off, 6000);
       },
       nullptr,
       [](const ScanRuleState& s) {
         EXPECT_EQ(9004, s.controls.resl.menuID);
         EXPECT_EQ(Items({3}), s.controls.resl.disabledItems);
         EXPECT_EQ(0, s.controls.scal.menuID);
       }},
      {"negative film keeps every resolution", nullptr,
       [](ScanRuleState& s, const ScanRuleParams& p) {
         OnModeChanged(s, p, 2);
         OnImageModeChanged(s, p, 3);
       },
       [](const ScanRuleState& s) {
         EXPECT_EQ(9005, s.controls.resl.menuID);
         EXPECT_EQ(0u, s.controls.resl.disabledItems);
       }},
      {"the driver interface at its own offset", nullptr,
       [](ScanRuleState& s, const ScanRuleParams& p) { OnUIChanged(s, p, 1); },
       [](const ScanRuleState& s) {
         EXPECT_EQ(1, PREF_PRINT::kCheckUION.get(s.work));
         EXPECT_FALSE(s.controls.resl.enabled || s.controls.size.enabled || s.controls.brightnessEnabled);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> all(PREF_ALL::kSize);
    RecordBytes record = FDPrint(RecordBytes(all.data(), all.size()), FDSources{});
    PREF_PRINT print;
    std::copy_n(record.data(), PREF_PRINT::kSize, print.bytes.begin());
    PREF_PRINT::kSource.set(print.view(), 1);
    if (c.stored) c.stored(print.view());
    ScanRuleParams p = CopyParams('E', 0, true);
    p.kind = ScanDialogKind::Print;
    p.menuBase = 9000;
    p.filmImageMenu1120 = 9012;
    p.customSizeOffset = PREF_PRINT::kCustomSize.off;
    p.uionOffset = PREF_PRINT::kCheckUION.off;
    ScanRuleState s{print.view(), {}, true};
    SetAllControls(s, p);
    s.initialising = false;
    if (c.act) c.act(s, p);
    c.check(s);
  }
}

struct Resolution {
  char language;
  const int32_t* scaleItem;  // the language's item
  int32_t percent;
  int32_t output;
  std::optional<PageFacts> (*page)();
  int32_t paper;  // 0: A4
  int32_t want;
};

TEST(CalcInputResolutionValue, ScalesTheOutputResolution) {
  SelectLetter('E');
  const Resolution cases[] = {
      {'E', &Copy_Popup_141Percent, 0, 300, LetterPage, 0, 423},
      {'E', &Copy_Popup_25Percent, 0, 150, LetterPage, 0, 38},
      {'J', &Copy_Popup_86Percent, 0, 300, LetterPage, 0, 258},
      {'E', &Copy_Popup_Custom, 150, 300, LetterPage, 0, 450},
      {'E', &Copy_Popup_FitPaper, 0, 300, LetterPage, 0, 257},  // A4 fitted by its height: 720 / 841
      {'J', &Copy_Popup_FitPaper, 0, 300, LetterPage, 0, 257},
      {'E', &Copy_Popup_FitPaper, 0, 300, NoPrinter, 0, 300},   // no printer: as it is
      {'E', &Copy_Popup_FitPaper, 0, 300, LetterPage, -1, 300},  // a custom size of 0
  };
  for (const Resolution& r : cases) {
    SelectLetter(r.language);
    PREF_COPY copy = FactoryCopy();
    PREF_COPY::kScale.set(copy.view(), *r.scaleItem);
    PREF_COPY::kCustomPercent.set(copy.view(), r.percent);
    ScanRuleParams p = CopyParams(r.language, 0, true);
    p.pageFacts = r.page;
    ScanRuleState s{copy.view(), {}, false};
    s.controls.mode.value = 1;
    s.controls.imag.value = 4;
    s.controls.size.value = Paper_Size_A4;
    if (r.paper < 0) {
      s.controls.size.value = Paper_Size_custom;
      copy.view().setU16(PREF_COPY::kCustomSize.off, 0);
    }
    EXPECT_EQ(r.want, CalcInputResolutionValue(s, p, r.output)) << r.language << " item " << *r.scaleItem;
  }
}

TEST(CalcInputResolutionValue, FilmFitsThePostcardWhateverThePaper) {
  SelectLetter('E');
  PREF_COPY copy = FactoryCopy();
  PREF_COPY::kSource.set(copy.view(), 2);
  PREF_COPY::kScale2.set(copy.view(), 2);
  ScanRuleParams p = CopyParams('E', 0, true);
  ScanRuleState s{copy.view(), {}, false};
  s.controls.size.value = 1;
  // 1524 x 1016 at 72 dpi is 432 x 288; the page's width sets the factor: 540 / 432.
  EXPECT_EQ(375, CalcInputResolutionValue(s, p, 300));
}

TEST(ScaleMenu, TheFourthItemIs86PercentOnlyInJ) {
  SelectLetter('J');
  EXPECT_EQ(86, Percent_J[4 - 1]);
  EXPECT_EQ(4, Copy_Popup_86Percent);
  SelectLetter('E');
  EXPECT_EQ(100, Percent_E[4 - 1]);
  EXPECT_EQ(4, Copy_Popup_100Percent);
}

TEST(CustomPercent, AcceptsFrom25To400AndOtherwiseShowsTheNearerBound) {
  const struct {
    long typed;
    bool accepted;
    int32_t value;
  } cases[] = {{25, true, 25}, {400, true, 400}, {24, false, 25}, {401, false, 400}, {0, false, 25}, {-7, false, 25}};
  for (const auto& c : cases) {
    CustomPercentCheck check = CheckCustomPercent(c.typed);
    EXPECT_EQ(c.accepted, check.accepted) << c.typed;
    EXPECT_EQ(c.value, check.value) << c.typed;
  }
}

TEST(ImageModeTable, UnknownEntriesFallBack) {
  EXPECT_EQ(4, GetImageModePopupNum(9, 1));
  EXPECT_EQ(3, GetImageMode(1, 9));
  EXPECT_EQ(9, GetImageMode(2, 9));
  EXPECT_EQ(3, GetImageModePopupNum(7, 1));
}

TEST(ImageModeTable, TheFilmModesOf1120CountFrom11) {
  EXPECT_EQ(12, ScanImageModeCode(2, 2, 0x1120));
  EXPECT_EQ(2, ScanImageModeCode(2, 1, 0x1120));
  EXPECT_EQ(2, ScanImageModeCode(2, 3, 0x1120));
  EXPECT_EQ(2, ScanImageModeCode(2, 2, 0x1200));
}

}  // namespace
