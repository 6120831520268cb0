#include "output/hubdialogs/WXSizeDialog.h"

#include <gtest/gtest.h>

#include <vector>

#include "prefs/PrefRecords.h"
#include "framework/LEditText.h"
#include "framework/LWindow.h"
#include "output/hub/WXText.h"
#include "output/hubdialogs/CManuDialogHandler.h"
#include "tests/output/DialogTestEnv.h"
#include "toolbox/TextUtils.h"

namespace {

using namespace wxframework;

TEST(SizeNumbers, DisplayAndParsingUseOneDecimalPoint) {
  struct Case {
    double value;
    char point;
    const char* shown;
  } shown[] = {{21.0, '.', "21.00"}, {8.070866, '.', "8.07"}, {29.7, ',', "29,70"}, {2.545, ',', "2,54"}, {0, '.', "0.00"}};
  for (const Case& c : shown) EXPECT_EQ(CWXUtility::FormatSizeNumber(c.value, c.point), c.shown) << c.value;

  struct Parse {
    const char* text;
    char point;
    bool ok;
    double value;
  } parsed[] = {{"20.5", '.', true, 20.5},  {"20,5", ',', true, 20.5}, {"20,5", '.', false, 0}, {" 7 ", '.', true, 7},
                {".5", '.', true, 0.5},     {"5.", '.', true, 5},      {".", '.', false, 0},    {"", '.', false, 0},
                {"1.2.3", '.', false, 0},   {"12a", '.', false, 0},    {"-3", '.', false, 0}};
  for (const Parse& p : parsed) {
    double value = -1;
    EXPECT_EQ(CWXUtility::ParseSizeNumber(p.text, p.point, &value), p.ok) << p.text;
    if (p.ok) {
      EXPECT_DOUBLE_EQ(value, p.value) << p.text;
    }
  }
}

TEST(SizeNumbers, TenthsOfAMillimetreAreRoundedNotCut) {
  // The values whose centimetre form does not come back exactly.
  for (UInt16 stored = 254; stored <= 2970; ++stored)
    ASSERT_EQ(CWXUtility::RoundToTenthMillimetre((stored / 100.0) * 100.0), stored);
  EXPECT_EQ(CWXUtility::RoundToTenthMillimetre(2969.26), 2969);
  EXPECT_EQ(CWXUtility::RoundToTenthMillimetre(-4), 0);
  EXPECT_EQ(CWXUtility::RoundToTenthMillimetre(1e9), 65535);
}

TEST(SizeNumbers, KeyFilterTakesDigitsAndThePoint) {
  struct Case {
    UInt16 c;
    EventModifiers modifiers;
    EKeyStatus status;
  } cases[] = {{'7', 0, keyStatus_Input},          {'.', 0, keyStatus_Input},
               {'a', 0, keyStatus_Reject},         {',', 0, keyStatus_Reject},
               {'-', 0, keyStatus_Reject},         {kBackspaceCharCode, 0, keyStatus_TEDelete},
               {kLeftArrowCharCode, 0, keyStatus_TECursor}, {kTabCharCode, 0, keyStatus_PassUp},
               {'v', cmdKey, keyStatus_PassUp},    {0x07, 0, keyStatus_PassUp}};
  for (const Case& c : cases) {
    UInt16 ch = c.c;
    EXPECT_EQ(CManuDialogHandler::PointIntegerField(nullptr, 0, ch, c.modifiers), c.status) << int(c.c);
  }
}

class SizeDialogTest : public wxtest::DialogTest {
 protected:
  // Types `text` into a field.
  static void Type(PaneIDT field, const std::string& text) {
    QueueDialogAction([field, text](LWindow* dialog) { TypeIntoPane(dialog, field, text); });
  }
  // Puts texts into both fields without moving the focus.
  static void SetFields(const std::string& width, const std::string& height) {
    QueueDialogAction([width, height](LWindow* dialog) {
      Str255 text;
      PStrFromString(width, text);
      FindPaneAs<LEditText>(dialog, 'EDWD')->SetDescriptor(text);
      PStrFromString(height, text);
      FindPaneAs<LEditText>(dialog, 'EDHG')->SetDescriptor(text);
    });
  }
  static void Choose(PaneIDT popup, SInt16 item) {
    QueueDialogAction([popup, item](LWindow* dialog) { ChoosePopupItem(dialog, popup, item); });
  }
  // Reads the open alert's message, then answers it.
  void AnswerAlert(std::vector<std::string>* alerts) {
    QueueDialogAction([alerts](LWindow* dialog) { alerts->push_back(PaneText(dialog, 'TXMS')); });
    AnswerNextDialog(900);
  }
  void ReadFields(std::string* width, std::string* height, SInt32* unit) {
    QueueDialogAction([=](LWindow* dialog) {
      *width = PaneText(dialog, 'EDWD');
      *height = PaneText(dialog, 'EDHG');
      *unit = PaneValue(dialog, 'POPU');
    });
  }
  static std::string Item(SInt16 index) {
    Str255 text;
    GetIndString(text, 400, index);
    return std::string(reinterpret_cast<const char*>(text + 1), text[0]);
  }
};

TEST_F(SizeDialogTest, EntryValuesAreShownInTheirUnit) {
  struct Case {
    double width, height;
    SInt32 unit;
    const char* shownWidth;
    const char* shownHeight;
  } cases[] = {{0, 0, 1, "21.00", "29.70"},       {0, 0, 2, "8.27", "11.69"},     {10.5, 14.8, 1, "10.50", "14.80"},
               {21.59, 27.94, 2, "8.50", "11.00"}, {30, 1, 1, "21.00", "29.70"}, {20, 25, 7, "20.00", "25.00"}};
  for (const Case& c : cases) {
    StDescriptDialog size{c.width, c.height, c.unit, 77};
    std::string width, height;
    SInt32 unit = 0;
    ReadFields(&width, &height, &unit);
    AnswerNextDialog(901);
    EXPECT_EQ(CWXUtility::ManuscriptSizeSetting(200, mApp, size), 901);
    EXPECT_EQ(width, c.shownWidth) << c.width;
    EXPECT_EQ(height, c.shownHeight) << c.height;
    EXPECT_EQ(unit, c.unit == 2 ? 2 : 1);
    // Cancel hands back the entry values times 100.
    EXPECT_DOUBLE_EQ(size.width, c.width * 100);
    EXPECT_DOUBLE_EQ(size.height, c.height * 100);
    EXPECT_EQ(size.unit, c.unit);
    EXPECT_EQ(size.spare, 77);
  }
}

TEST_F(SizeDialogTest, UnitChangeConvertsBothFields) {
  StDescriptDialog size{21.0, 29.7, 1, 0};
  std::string width, height;
  SInt32 unit = 0;
  Type('EDWD', "20.5");
  Choose('POPU', 2);
  ReadFields(&width, &height, &unit);
  AnswerNextDialog(900);
  EXPECT_EQ(CWXUtility::ManuscriptSizeSetting(200, mApp, size), 900);
  EXPECT_EQ(width, "8.07");
  EXPECT_EQ(height, "11.69");
  EXPECT_EQ(unit, 2);
  EXPECT_EQ(size.unit, 2);
  EXPECT_NEAR(size.width, 8.07 * 254, 1e-6);
  EXPECT_NEAR(size.height, 11.69 * 254, 1e-6);
}

TEST_F(SizeDialogTest, UnitChangeWithAValueOutsideTheLimitsIsRefused) {
  StDescriptDialog size{21.0, 29.7, 1, 0};
  std::vector<std::string> alerts;
  std::string width, height;
  SInt32 unit = 0;
  Type('EDWD', "1.5");
  Choose('POPU', 2);
  AnswerAlert(&alerts);
  ReadFields(&width, &height, &unit);
  AnswerNextDialog(901);
  EXPECT_EQ(CWXUtility::ManuscriptSizeSetting(200, mApp, size), 901);
  EXPECT_EQ(alerts, std::vector<std::string>{Item(23)});
  EXPECT_EQ(unit, 1);
  EXPECT_EQ(width, "2.54");
  EXPECT_EQ(height, "29.70");
  EXPECT_DOUBLE_EQ(size.width, 2100.0);
}

TEST_F(SizeDialogTest, OKCorrectsBadValuesAndStaysOpen) {
  struct Case {
    SInt32 unit;
    const char* width;
    const char* height;
    std::vector<SInt16> alerts;
    double outWidth, outHeight;  // after the second OK
  } cases[] = {
      {1, ".", "10", {19}, 2100.0, 1000.0},
      {1, "30", "", {19, 20}, 2160.0, 2970.0},
      {1, "2", "29.8", {19, 20}, 254.0, 2970.0},
      {2, "9", "0.5", {21, 22}, 8.5 * 254, 1.0 * 254},
      {2, "8.5", "11.69", {}, 2159.0, 2969.26},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    StDescriptDialog size{21.0, 29.7, c.unit, 0};
    std::vector<std::string> alerts;
    SetFields(c.width, c.height);
    AnswerNextDialog(900);
    for (size_t i = 0; i < c.alerts.size(); ++i) AnswerAlert(&alerts);
    if (!c.alerts.empty()) AnswerNextDialog(900);
    EXPECT_EQ(CWXUtility::ManuscriptSizeSetting(200, mApp, size), 900);
    std::vector<std::string> expected;
    for (SInt16 item : c.alerts) expected.push_back(Item(item));
    EXPECT_EQ(alerts, expected);
    EXPECT_NEAR(size.width, c.outWidth, 1e-6);
    EXPECT_NEAR(size.height, c.outHeight, 1e-6);
    EXPECT_FALSE(HasDialogActions());
    ClearDialogActions();
  }
}

TEST_F(SizeDialogTest, LeavingAFieldChecksIt) {
  StDescriptDialog size{21.0, 29.7, 1, 0};
  std::vector<std::string> alerts;
  std::string width, height;
  SInt32 unit = 0;
  Type('EDWD', "30");
  QueueDialogAction([](LWindow* dialog) { ClickPane(dialog, 'EDHG'); });
  AnswerAlert(&alerts);
  ReadFields(&width, &height, &unit);
  AnswerNextDialog(900);
  EXPECT_EQ(CWXUtility::ManuscriptSizeSetting(200, mApp, size), 900);
  EXPECT_EQ(alerts, std::vector<std::string>{Item(19)});
  EXPECT_EQ(width, "21.60");
  EXPECT_NEAR(size.width, 2160.0, 1e-6);
}

TEST_F(SizeDialogTest, StoredSizesSurviveCancelAndOK) {
  for (UInt16 stored : {255, 803, 1001, 2159}) {
    for (MessageT button : {901, 900}) {
      PREF_SAVE record;
      PREF_SAVE::kCustomSize.set(record.view(), stored, 2970, PrefDocSize::kCentimetre);
      AnswerNextDialog(button);
      EXPECT_EQ(CWXUtility::EditStoredManuscriptSize(200, mApp, record.view(), PREF_SAVE::kCustomSize), SInt32(button));
      EXPECT_EQ(PREF_SAVE::kCustomSize.width(record.view()), stored) << button;
      EXPECT_EQ(PREF_SAVE::kCustomSize.height(record.view()), 2970) << button;
    }
  }
}

TEST_F(SizeDialogTest, PopupText) {
  const bool english = wxtest::BuildLanguage() == 'E';
  // Other languages: the translated word and unit, with the locale's decimal point.
  auto shown = [english](const char* englishText, const char* width, const char* height, SInt16 unit) {
    if (english) return std::string(englishText);
    auto number = [](std::string digits) {
      digits[digits.size() - 3] = CWXUtility::GetLocalizedDecPointChar();
      return digits;
    };
    return wxtest::ResourceText(10000, 1) + " (" + number(width) + " x " + number(height) +
           wxtest::ResourceText(10000, unit) + ")";
  };
  Str255 text;
  CWXUtility::ManuscriptPrefToString(StDescriptDialog{2100, 2970, 1, 0}, text);
  EXPECT_EQ(PStrToString(text), shown("Custom (21.00 x 29.70 cm)", "21.00", "29.70", 2));
  CWXUtility::ManuscriptPrefToString(StDescriptDialog{2159, 2969.26, 2, 0}, text);
  EXPECT_EQ(PStrToString(text), shown("Custom (8.50 x 11.69 in)", "8.50", "11.69", 3));
}

}  // namespace
