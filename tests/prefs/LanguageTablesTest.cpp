#include "prefs/LanguageTables.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string P(ConstStringPtr s) { return std::string(reinterpret_cast<const char*>(s + 1), s[0]); }

void Select(const std::string& item) {
  Str255 s;
  s[0] = static_cast<unsigned char>(item.size());
  std::copy(item.begin(), item.end(), s + 1);
  SelectLanguage(s);
}

struct LanguageCase {
  const char* item;
  int j, e, f, g;
  const char* fileName;
  bool japaneseTables;
  char letter;
};

class LanguageSelection : public ::testing::TestWithParam<LanguageCase> {};

TEST_P(LanguageSelection, PicksFlagsFileNameAndTables) {
  const LanguageCase& c = GetParam();
  Select(c.item);
  EXPECT_EQ(IS_J, c.j);
  EXPECT_EQ(IS_E, c.e);
  EXPECT_EQ(IS_F, c.f);
  EXPECT_EQ(IS_G, c.g);
  EXPECT_EQ(LanguageLetter(), c.letter);
  EXPECT_EQ(P(PREFS_FILE_NAME), c.fileName);
  EXPECT_EQ(P(DEFAULT_DRIVER_NAME), "Dremlo Model A");
  const PaperSizeRow* expected = c.japaneseTables ? PaperSizeJ : PaperSizeE;
  for (int row = 0; row < kPaperSizeRows; ++row) {
    EXPECT_EQ(PaperSize[row].width, expected[row].width) << row;
    EXPECT_EQ(PaperSize[row].height, expected[row].height) << row;
  }
  EXPECT_EQ(Paper_Size_B5, c.japaneseTables ? 2 : 0);
  EXPECT_EQ(Copy_Popup_86Percent, c.japaneseTables ? 4 : 0);
  EXPECT_EQ(Paper_Size_custom, c.japaneseTables ? 16 : 11);
  EXPECT_EQ(Paper_Size_Postcard_4X6, c.japaneseTables ? 0 : 6);
  EXPECT_EQ(ButtonName_Caption_Hsight, c.japaneseTables ? 13 : 15);
  EXPECT_EQ(SettingButtonName_Caption_Top, c.japaneseTables ? 118 : 117);
}

INSTANTIATE_TEST_SUITE_P(
    Letters, LanguageSelection,
    ::testing::Values(LanguageCase{"J", 1, 0, 0, 0, "DRWX5011J.pref", true, 'J'},
                      LanguageCase{"E", 0, 1, 0, 0, "DRWX5011E.pref", false, 'E'},
                      LanguageCase{"F", 0, 0, 1, 0, "DRWX5011F.pref", false, 'F'},
                      LanguageCase{"G", 0, 0, 0, 1, "DRWX5011G.pref", false, 'G'},
                      LanguageCase{"xEyJ", 1, 0, 0, 0, "DRWX5011J.pref", true, 'J'},
                      LanguageCase{"X", 0, 0, 0, 0, "DRWX5011G.pref", false, 0},
                      LanguageCase{"", 0, 0, 0, 0, "DRWX5011G.pref", false, 0}));

// Every paper position names the row of PaperSize that holds that paper's size.
TEST(LanguageTables, PaperPositionsAreRowsOfTheirSize) {
  struct Paper {
    int32_t* position;
    uint16_t w, h;
  };
  const Paper papers[] = {
      {&Paper_Size_A4, 2100, 2970},           {&Paper_Size_B5, 1820, 2570},
      {&Paper_Size_A5_Portrait, 1480, 2100},  {&Paper_Size_A5_Landscape, 2100, 1480},
      {&Paper_Size_letter, 2160, 2794},       {&Paper_Size_BusinessCard, 900, 550},
      {&Paper_Size_L_Portrait, 890, 1270},    {&Paper_Size_L_Landscape, 1270, 890},
      {&Paper_Size_Postcard_4X6, 1016, 1524}, {&Paper_Size_Postcard_6X4, 1524, 1016},
      {&Paper_Size_A3_Stitch, 2100, 2970},    {&Paper_Size_432X297_Stitch, 2160, 2970},
  };
  for (const char* letter : {"J", "E"}) {
    Select(letter);
    for (const Paper& p : papers) {
      if (*p.position == 0) continue;
      EXPECT_EQ(PaperSize[*p.position].width, p.w) << letter << " " << *p.position;
      EXPECT_EQ(PaperSize[*p.position].height, p.h) << letter << " " << *p.position;
    }
    EXPECT_EQ(PaperSize[Paper_Size_custom].width, 0);
  }
}

TEST(LanguageTables, PaperIndexOutsideTheTableIsEmpty) {
  Select("J");
  for (long index : {-1L, 25L, 1000L, 0x7fffffffL}) {
    EXPECT_EQ(PaperSizeAt(index).width, 0) << index;
    EXPECT_EQ(PaperSizeAt(index).height, 0) << index;
  }
  EXPECT_EQ(PaperSizeAt(1).width, 2100);
}

TEST(LanguageTables, ModelTableLookups) {
  struct Row {
    const char* name;
    uint16_t id;
    uint16_t buttons;
  };
  const Row rows[] = {{"Dremlo Model A", 0x1200, 7},
                      {"Dremlo Model B", 0x1230, 7},
                      {"Dremlo Model C", 0x1250, 7},
                      {"Dremlo Model D", 0x1240, 4}};
  for (const Row& r : rows) {
    Str255 name;
    name[0] = static_cast<unsigned char>(std::strlen(r.name));
    std::memcpy(name + 1, r.name, name[0]);
    const ScannerTableRow* row = ScannerTableFind(name);
    ASSERT_NE(row, nullptr) << r.name;
    EXPECT_EQ(row->productID, r.id);
    EXPECT_EQ(row->buttons, r.buttons);
    EXPECT_EQ(ScannerTableFindProduct(r.id), row);
  }
  EXPECT_EQ(ScannerTableFind(reinterpret_cast<ConstStr255Param>("\x0e" "dremlo model a")), nullptr);
  EXPECT_EQ(ScannerTableFind(reinterpret_cast<ConstStr255Param>("\x0d" "Dremlo Model ")), nullptr);
  EXPECT_EQ(ScannerTableFindProduct(0x1120), nullptr);
}

}  // namespace
