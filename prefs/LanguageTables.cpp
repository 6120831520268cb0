#include "prefs/LanguageTables.h"

#include <cstring>

#include "toolbox/Resources.h"
#include "toolbox/TextConvert.h"

int32_t IS_J = 0, IS_E = 0, IS_F = 0, IS_G = 0;

const OpenAppRow gOpenApp[4] = {
    {"\x0e" "DRWX5011J.pref", "\x0e" "Dremlo Model A"},
    {"\x0e" "DRWX5011E.pref", "\x0e" "Dremlo Model A"},
    {"\x0e" "DRWX5011F.pref", "\x0e" "Dremlo Model A"},
    {"\x0e" "DRWX5011G.pref", "\x0e" "Dremlo Model A"},
};

ConstStringPtr PREFS_FILE_NAME = gOpenApp[3].prefsFileName;
ConstStringPtr DEFAULT_DRIVER_NAME = gOpenApp[3].defaultDriverName;

const PaperSizeRow PaperSizeJ[kPaperSizeRows] = {
    {0, 0},       {2100, 2970}, {1820, 2570}, {1480, 2100}, {2100, 1480}, {2160, 2794}, {900, 550},
    {890, 1270},  {1270, 890},  {1270, 1780}, {1780, 1270}, {1000, 1480}, {1480, 1000}, {1820, 2570},
    {2100, 2970}, {2160, 2970},
};
const PaperSizeRow PaperSizeE[kPaperSizeRows] = {
    {0, 0},       {2100, 2970}, {1480, 2100}, {2100, 1480}, {2160, 2794}, {900, 550},
    {1016, 1524}, {1524, 1016}, {2160, 2794}, {2100, 2970}, {2160, 2970},
};
PaperSizeRow PaperSize[kPaperSizeRows] = {};

PaperSizeRow PaperSizeAt(long index) {
  if (index < 0 || index >= kPaperSizeRows) return PaperSizeRow{0, 0};
  return PaperSize[index];
}

int32_t Paper_Size_A4, Paper_Size_B5, Paper_Size_A5_Portrait, Paper_Size_A5_Landscape, Paper_Size_letter,
    Paper_Size_BusinessCard, Paper_Size_L_Portrait, Paper_Size_L_Landscape, Paper_Size_LL_Portrait,
    Paper_Size_LL_Landscape, Paper_Size_Postcard_Portrait, Paper_Size_Postcard_Landscape, Paper_Size_B4_Stitch,
    Paper_Size_A3_Stitch, Paper_Size_432X297_Stitch, Paper_Size_custom, Paper_Size_Postcard_4X6,
    Paper_Size_Postcard_6X4, Paper_Size_11X17_Stitch;

int32_t Copy_Popup_25Percent, Copy_Popup_47Percent, Copy_Popup_70Percent, Copy_Popup_86Percent,
    Copy_Popup_100Percent, Copy_Popup_115Percent, Copy_Popup_141Percent, Copy_Popup_200Percent,
    Copy_Popup_400Percent, Copy_Popup_FitPaper, Copy_Popup_Custom;

int16_t ButtonName_Caption_Hsight;
int32_t CopyButtonName_Caption_Top, PrintButtonName_Caption_Top, MailButtonName_Caption_Top,
    OCRButtonName_Caption_Top, SaveButtonName_Caption_Top, FileButtonName_Caption_Top, Scan1ButtonName_Caption_Top,
    Scan2ButtonName_Caption_Top, SettingButtonName_Caption_Top;

const ScannerTableRow ScannerTable[kScannerTableRows] = {
    {"\x0e" "Dremlo Model A", "\x09" "QM-00011A", 0x1200, 7},
    {"\x0e" "Dremlo Model B", "\x09" "QM-00012A", 0x1230, 7},
    {"\x0e" "Dremlo Model C", "\x09" "QM-00013A", 0x1250, 7},
    {"\x0e" "Dremlo Model D", "\x09" "QM-00014A", 0x1240, 4},
};

const ScannerTableRow* ScannerTableFind(ConstStr255Param name) {
  for (const ScannerTableRow& row : ScannerTable)
    if (std::memcmp(row.modelName, name, size_t(name[0]) + 1) == 0) return &row;
  return nullptr;
}

const ScannerTableRow* ScannerTableFindProduct(uint16_t productID) {
  for (const ScannerTableRow& row : ScannerTable)
    if (row.productID == productID) return &row;
  return nullptr;
}

namespace {

constexpr short kLanguageStrings = 128;

// One popup position: its global and its value in the J and the E, F, G tables.
struct Position {
  int32_t* global;
  int32_t j;
  int32_t e;
};

const Position kPositions[] = {
    {&Paper_Size_A4, 1, 1},
    {&Paper_Size_B5, 2, 0},
    {&Paper_Size_A5_Portrait, 3, 2},
    {&Paper_Size_A5_Landscape, 4, 3},
    {&Paper_Size_letter, 5, 4},
    {&Paper_Size_BusinessCard, 6, 5},
    {&Paper_Size_L_Portrait, 7, 0},
    {&Paper_Size_L_Landscape, 8, 0},
    {&Paper_Size_LL_Portrait, 9, 0},
    {&Paper_Size_LL_Landscape, 10, 0},
    {&Paper_Size_Postcard_Portrait, 11, 0},
    {&Paper_Size_Postcard_Landscape, 12, 0},
    {&Paper_Size_B4_Stitch, 13, 0},
    {&Paper_Size_A3_Stitch, 14, 9},
    {&Paper_Size_432X297_Stitch, 15, 10},
    {&Paper_Size_custom, 16, 11},
    {&Paper_Size_Postcard_4X6, 0, 6},
    {&Paper_Size_Postcard_6X4, 0, 7},
    {&Paper_Size_11X17_Stitch, 0, 8},
    {&Copy_Popup_25Percent, 1, 1},
    {&Copy_Popup_47Percent, 2, 2},
    {&Copy_Popup_70Percent, 3, 3},
    {&Copy_Popup_86Percent, 4, 0},
    {&Copy_Popup_100Percent, 5, 4},
    {&Copy_Popup_115Percent, 6, 0},
    {&Copy_Popup_141Percent, 7, 5},
    {&Copy_Popup_200Percent, 8, 6},
    {&Copy_Popup_400Percent, 9, 7},
    {&Copy_Popup_FitPaper, 10, 8},
    {&Copy_Popup_Custom, 11, 9},
};

int32_t* const kCaptionTops[] = {
    &CopyButtonName_Caption_Top, &PrintButtonName_Caption_Top, &MailButtonName_Caption_Top,
    &OCRButtonName_Caption_Top,  &SaveButtonName_Caption_Top,  &FileButtonName_Caption_Top,
    &Scan1ButtonName_Caption_Top, &Scan2ButtonName_Caption_Top, &SettingButtonName_Caption_Top,
};

bool Contains(ConstStr255Param item, char letter) {
  return std::memchr(item + 1, letter, item[0]) != nullptr;
}

}  // namespace

void SelectLanguage(ConstStr255Param languageItem) {
  IS_G = IS_E = IS_J = IS_F = 0;
  if (Contains(languageItem, 'J')) IS_J = 1;
  else if (Contains(languageItem, 'E')) IS_E = 1;
  else if (Contains(languageItem, 'F')) IS_F = 1;
  else if (Contains(languageItem, 'G')) IS_G = 1;

  const OpenAppRow& row = IS_J ? gOpenApp[0] : IS_E ? gOpenApp[1] : IS_F ? gOpenApp[2] : gOpenApp[3];
  PREFS_FILE_NAME = row.prefsFileName;
  DEFAULT_DRIVER_NAME = row.defaultDriverName;

  std::memcpy(PaperSize, IS_J ? PaperSizeJ : PaperSizeE, sizeof(PaperSize));
  for (const Position& p : kPositions) *p.global = IS_J ? p.j : p.e;
  ButtonName_Caption_Hsight = IS_J ? 13 : 15;
  for (int32_t* top : kCaptionTops) *top = IS_J ? 118 : 117;

  SetSystemScriptForLanguage(IS_J ? 'J' : 'E');
}

void SelectLanguageFromResources() {
  Str255 item = {0};
  GetIndString(item, kLanguageStrings, 1);
  SelectLanguage(item);
}

char LanguageLetter() {
  if (IS_J) return 'J';
  if (IS_E) return 'E';
  if (IS_F) return 'F';
  if (IS_G) return 'G';
  return 0;
}
