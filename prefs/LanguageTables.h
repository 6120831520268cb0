// The user-interface language and everything chosen by it: the preferences file name, the
// default scanner model, the paper-size table, the popup item positions and the caption
// geometry; and the table of supported scanner models.
//
// The globals are written once by SelectLanguage at start-up and only read afterwards.
#pragma once

#include <cstdint>

#include "toolbox/MacTypes.h"

// 1 for the language in force, 0 otherwise; all 0 when the resource names no letter.
extern int32_t IS_J, IS_E, IS_F, IS_G;

// One row per language, in the order J, E, F, G.
struct OpenAppRow {
  unsigned char prefsFileName[20];     // length byte + up to 19 characters
  unsigned char defaultDriverName[24];  // length byte + up to 23 characters
};
extern const OpenAppRow gOpenApp[4];

extern ConstStringPtr PREFS_FILE_NAME;
extern ConstStringPtr DEFAULT_DRIVER_NAME;

// Paper sizes in tenths of a millimetre, by popup position.
struct PaperSizeRow {
  uint16_t width;
  uint16_t height;
};
constexpr int kPaperSizeRows = 25;
extern const PaperSizeRow PaperSizeJ[kPaperSizeRows];
extern const PaperSizeRow PaperSizeE[kPaperSizeRows];
extern PaperSizeRow PaperSize[kPaperSizeRows];

// The working table's row for a paper index; an index outside the table gives 0 x 0.
PaperSizeRow PaperSizeAt(long index);

// 1-based popup positions (and rows of PaperSize); 0 = not offered in this language.
extern int32_t Paper_Size_A4, Paper_Size_B5, Paper_Size_A5_Portrait, Paper_Size_A5_Landscape,
    Paper_Size_letter, Paper_Size_BusinessCard, Paper_Size_L_Portrait, Paper_Size_L_Landscape,
    Paper_Size_LL_Portrait, Paper_Size_LL_Landscape, Paper_Size_Postcard_Portrait, Paper_Size_Postcard_Landscape,
    Paper_Size_B4_Stitch, Paper_Size_A3_Stitch, Paper_Size_432X297_Stitch, Paper_Size_custom,
    Paper_Size_Postcard_4X6, Paper_Size_Postcard_6X4, Paper_Size_11X17_Stitch;

extern int32_t Copy_Popup_25Percent, Copy_Popup_47Percent, Copy_Popup_70Percent, Copy_Popup_86Percent,
    Copy_Popup_100Percent, Copy_Popup_115Percent, Copy_Popup_141Percent, Copy_Popup_200Percent,
    Copy_Popup_400Percent, Copy_Popup_FitPaper, Copy_Popup_Custom;

extern int16_t ButtonName_Caption_Hsight;
extern int32_t CopyButtonName_Caption_Top, PrintButtonName_Caption_Top, MailButtonName_Caption_Top,
    OCRButtonName_Caption_Top, SaveButtonName_Caption_Top, FileButtonName_Caption_Top,
    Scan1ButtonName_Caption_Top, Scan2ButtonName_Caption_Top, SettingButtonName_Caption_Top;

// Supported scanner models.
struct ScannerTableRow {
  Str255 modelName;
  Str255 modelCode;
  uint16_t productID;
  uint16_t buttons;
};
constexpr int kScannerTableRows = 4;
extern const ScannerTableRow ScannerTable[kScannerTableRows];

// The first row whose model name equals `name` byte for byte, or null.
const ScannerTableRow* ScannerTableFind(ConstStr255Param name);
// The first row with this product ID, or null.
const ScannerTableRow* ScannerTableFindProduct(uint16_t productID);

// Selects the language from item 1 of string list 128: the first of "J", "E", "F", "G"
// found anywhere in it. Sets the flags, the file and model names, the paper table, the
// popup positions and caption geometry, and the system script.
void SelectLanguage(ConstStr255Param languageItem);

// The same with item 1 of the application's string list 128 (an empty item when it is missing).
void SelectLanguageFromResources();

// The letter in force ('J', 'E', 'F', 'G'), or 0 when none.
char LanguageLetter();
