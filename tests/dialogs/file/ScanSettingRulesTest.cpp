// The popup rules of the Save and custom-scan dialogs, as tables of settings and what the
// resolution popup then allows.
#include <gtest/gtest.h>

#include <string>

#include "dialogs/file/ScanSettingRules.h"

namespace {

using namespace ScanSettingRules;

TEST(ScanSettingRules, ImageModeItemsAndCodesPairOnThePlatenOnly) {
  const long codeOfItem[] = {0, 1, 2, 7, 3, 4, 5, 6};
  for (long item = 1; item <= 7; ++item) {
    EXPECT_EQ(ImageModeOfItem(item, kSourcePlaten), codeOfItem[item]) << item;
    EXPECT_EQ(ItemOfImageMode(codeOfItem[item], kSourcePlaten), item) << item;
  }
  EXPECT_EQ(ImageModeOfItem(8, kSourcePlaten), 3);
  EXPECT_EQ(ImageModeOfItem(0, kSourcePlaten), 3);
  EXPECT_EQ(ItemOfImageMode(0, kSourcePlaten), 4);
  EXPECT_EQ(ItemOfImageMode(99, kSourcePlaten), 4);
  for (long source : {kSourceFilm, kSourceLast}) {
    EXPECT_EQ(ImageModeOfItem(3, source), 3);
    EXPECT_EQ(ItemOfImageMode(7, source), 7);
  }
}

TEST(ScanSettingRules, ResolutionOfEachItem) {
  const long platen[] = {75, 100, 150, 200, 300, 400, 600, 800, 1200};
  for (long item = 1; item <= 9; ++item) EXPECT_EQ(ResolutionOfItem(item, kSourcePlaten), platen[item - 1]) << item;
  EXPECT_EQ(ResolutionOfItem(1, kSourceFilm), 150);
  EXPECT_EQ(ResolutionOfItem(2, kSourceFilm), 300);
  EXPECT_EQ(ResolutionOfItem(3, kSourceFilm), 600);
  EXPECT_EQ(ResolutionOfItem(7, kSourceLast), 300);
  // Stored items past their menus never index past the tables.
  EXPECT_EQ(ResolutionOfItem(40, kSourcePlaten), 1200);
  EXPECT_EQ(ResolutionOfItem(0, kSourcePlaten), 75);
  EXPECT_EQ(ResolutionOfItem(9, kSourceFilm), 600);
}

struct ResolutionRow {
  const char* what;
  ResolutionSetting setting;
  uint32_t item;
  const char* enabled;  // items 1..9: '+' enabled, '-' disabled
};

std::string EnabledItems(const ResolutionChoice& choice) {
  std::string out;
  for (uint32_t n = 1; n <= kResolutionItems; ++n) out += choice.Enabled(n) ? '+' : '-';
  return out;
}

TEST(ScanSettingRules, ResolutionPopupByTable) {
  const ResolutionRow rows[] = {
      {"JPEG colour, all allowed", {9, kTypeJPEG, 3, false, false, 2100}, 9, "+++++++++"},
      {"PDF stops at 400 dpi", {9, 4, 3, false, false, 2100}, 6, "++++++---"},
      {"multi-page PDF", {7, 5, 3, false, false, 2100}, 6, "++++++---"},
      {"stitch stops at 600 dpi", {9, kTypeJPEG, 3, true, true, 2970}, 7, "+++++++--"},
      {"PICT on A4 (2100 wide): 600 dpi and up disabled", {7, kTypePICT, 3, false, false, 2100}, 6, "++++++---"},
      {"PICT on letter (2160): at most 481 dpi", {9, kTypePICT, 3, false, false, 2160}, 6, "++++++---"},
      {"PICT lower items stay", {3, kTypePICT, 3, false, false, 2100}, 3, "++++++---"},
      {"PICT on the 11x17 stitch (halves 2160 wide) counts the width twice: at most 240 dpi", {9, kTypePICT, 3, true, true, 2160}, 4, "++++-----"},
      {"stitch size with the driver's window: the width still counts twice",
       {9, kTypePICT, 3, false, true, 2160}, 4, "++++-----"},
      {"PICT with a custom width of 0: no limit", {9, kTypePICT, 3, false, false, 0}, 9, "+++++++++"},
      {"PICT with a negative width: no limit", {9, kTypePICT, 3, false, false, -5}, 9, "+++++++++"},
      {"code 4 stops at 600 dpi", {9, kTypeJPEG, 4, false, false, 2100}, 7, "+++++++--"},
      {"code 7 stops at 600 dpi", {8, kTypeTIFF, 7, false, false, 2100}, 7, "+++++++--"},
      {"code 5 takes odd items", {6, kTypeJPEG, 5, false, false, 2100}, 5, "+-+-+-+--"},
      {"code 6 moves 2 to 1", {2, kTypeTIFF, 6, false, false, 2100}, 1, "+-+-+-+--"},
      {"code 5 above 7 to 7", {9, kTypeJPEG, 5, false, false, 2100}, 7, "+-+-+-+--"},
      {"code 5 PICT: no 600 dpi", {7, kTypePICT, 5, false, false, 1000}, 5, "+-+-+----"},
      {"code 5 PICT on a narrow limit ends on an allowed item", {9, kTypePICT, 5, false, false, 4000}, 3,
       "+-+------"},
      {"stored item 0 counts as item 1", {0, kTypeJPEG, 3, false, false, 2100}, 1, "+++++++++"},
      {"stored item past the menu counts as its last", {99, kTypeJPEG, 3, false, false, 2100}, 9, "+++++++++"},
  };
  for (const ResolutionRow& row : rows) {
    const ResolutionChoice choice = ChooseResolution(row.setting);
    EXPECT_EQ(choice.item, row.item) << row.what;
    EXPECT_EQ(EnabledItems(choice), row.enabled) << row.what;
    EXPECT_TRUE(choice.Enabled(choice.item)) << row.what << ": the stored item must be one the popup allows";
  }
}

// Every setting ends on an item the popup allows and that a PICT can hold.
TEST(ScanSettingRules, TheChosenItemIsAlwaysAllowed) {
  for (uint32_t type = 1; type <= 6; ++type)
    for (long code = 1; code <= 7; ++code)
      for (uint32_t item = 1; item <= 9; ++item)
        for (long width : {0L, 500L, 1000L, 2100L, 2794L, 4320L, 8000L})
          for (bool stitch : {false, true}) {
            const ResolutionChoice choice = ChooseResolution({item, type, code, stitch, stitch, width});
            ASSERT_TRUE(choice.Enabled(choice.item)) << type << " " << code << " " << item << " " << width;
            ASSERT_LE(choice.item, item);
          }
}

}  // namespace
