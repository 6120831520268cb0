#include "output/hubdialogs/CManuDialogHandler.h"

#include <cmath>

#include "framework/LEditText.h"
#include "framework/LException.h"
#include "framework/LPopupButton.h"
#include "framework/LWindow.h"
#include "output/hub/WXText.h"
#include "output/hubdialogs/WXAlert.h"
#include "output/hubdialogs/WXPanes.h"
#include "output/hubdialogs/WXSizeNumbers.h"
#include "toolbox/TextUtils.h"

namespace {

constexpr double kCmPerInch = 2.54;
constexpr double kCloseEnough = 0.005;

struct Limits {
  double low, high, fallback;
  SInt32 alertItem;
};

// Width and height limits per unit, and the default that replaces an empty field.
Limits LimitsOf(bool isWidth, SInt32 unit) {
  if (unit == CWXUtility::kUnitInch) return isWidth ? Limits{1.0, 8.5, 8.27, 21} : Limits{1.0, 11.69, 11.69, 22};
  return isWidth ? Limits{2.54, 21.6, 21.0, 19} : Limits{2.54, 29.7, 29.7, 20};
}

// Raises a flag for its life, also when an alert throws.
class StChecking {
 public:
  explicit StChecking(bool& flag) : mFlag(flag) { mFlag = true; }
  ~StChecking() { mFlag = false; }
  StChecking(const StChecking&) = delete;
  StChecking& operator=(const StChecking&) = delete;

 private:
  bool& mFlag;
};

}  // namespace

CManuDialogHandler::CManuDialogHandler(ResIDT layoutID, LCommander* super) : StDialogHandler(layoutID, super) { Init(); }

CManuDialogHandler::CManuDialogHandler(LWindow* window, LCommander* super) : StDialogHandler(window, super) { Init(); }

void CManuDialogHandler::Init() {
  LWindow* dialog = GetDialog();
  ThrowIfNil_(dialog);
  mWidthField = CWXUtility::FindPaneAs<LEditText>(dialog, 'EDWD');
  mHeightField = CWXUtility::FindPaneAs<LEditText>(dialog, 'EDHG');
  mUnitPopup = CWXUtility::FindPaneAs<LPopupButton>(dialog, 'POPU');
  mWidthField->SetKeyFilter(&PointIntegerField);
  mHeightField->SetKeyFilter(&PointIntegerField);
  mUnit = mUnitPopup->GetValue() == CWXUtility::kUnitInch ? CWXUtility::kUnitInch : CWXUtility::kUnitCentimetre;
}

void CManuDialogHandler::GetWidthHeight(double& width, double& height) const {
  width = mWidth;
  height = mHeight;
}

void CManuDialogHandler::SetWidthHeight(double width, double height) {
  mWidth = width;
  mHeight = height;
  ShowField(true);
  ShowField(false);
}

void CManuDialogHandler::SetUnit(SInt32 unit) {
  StopListening();
  mUnitPopup->SetValue(unit);
  StartListening();
  mUnit = mUnitPopup->GetValue();
}

void CManuDialogHandler::ShowField(bool isWidth) {
  Str255 text;
  PStrFromString(CWXUtility::FormatSizeNumber(isWidth ? mWidth : mHeight, CWXUtility::GetLocalizedDecPointChar()), text);
  (isWidth ? mWidthField : mHeightField)->SetDescriptor(text);
}

void CManuDialogHandler::ReadField(bool isWidth) {
  double value = 0;
  if (!CWXUtility::ParseSizeNumber((isWidth ? mWidthField : mHeightField)->GetText(),
                                   CWXUtility::GetLocalizedDecPointChar(), &value))
    value = 0;
  double& held = isWidth ? mWidth : mHeight;
  if (std::fabs(value - held) >= kCloseEnough) held = value;
}

bool CManuDialogHandler::CheckField(bool isWidth, SInt32 unit, Check mode, bool keepClose) {
  const Limits limits = LimitsOf(isWidth, unit);
  const char decimalPoint = CWXUtility::GetLocalizedDecPointChar();
  const std::string& text = (isWidth ? mWidthField : mHeightField)->GetText();
  double& held = isWidth ? mWidth : mHeight;

  double value = 0;
  bool corrected = true;
  if (text.empty() || text == std::string(1, decimalPoint)) {
    held = limits.fallback;
  } else {
    if (!CWXUtility::ParseSizeNumber(text, decimalPoint, &value)) value = 0;
    if (value < limits.low) {
      held = limits.low;
    } else if (value > limits.high) {
      held = limits.high;
    } else {
      corrected = false;
      if (!keepClose || std::fabs(value - held) >= kCloseEnough) held = value;
    }
  }
  ShowField(isWidth);
  if (corrected && mode == Check::Alerts)
    CWXUtility::Show_Error(CWXUtility::kAlertLayout, GetDialog(), 400, limits.alertItem, 0, 1, nullptr, 0);
  return corrected;
}

bool CManuDialogHandler::CheckFields(SInt32 unit, Check mode, bool keepClose) {
  const bool width = CheckField(true, unit, mode, keepClose);
  const bool height = CheckField(false, unit, mode, keepClose);
  return width || height;
}

Boolean CManuDialogHandler::OverValueErrorCheck() {
  StChecking checking(mChecking);
  return CheckFields(mUnit, Check::Alerts, false) ? 1 : 0;
}

void CManuDialogHandler::SubTargetChanged() {
  // The alerts of a check move the focus themselves.
  if (mChecking || !mWidthField || !mHeightField) return;
  StChecking checking(mChecking);
  CheckFields(mUnit, Check::Alerts, true);
}

Boolean CManuDialogHandler::CheckValueFromListenToMessage(SInt32 unit) {
  return CheckFields(unit, Check::Quiet, true) ? 1 : 0;
}

void CManuDialogHandler::ListenToMessage(MessageT message, void* param) {
  if (message != 'POPU') {
    StDialogHandler::ListenToMessage(message, param);
    return;
  }
  const SInt32 previous = mUnit;
  const SInt32 wanted = mUnitPopup->GetValue();
  if (wanted == previous) return;
  if (CheckValueFromListenToMessage(previous)) {
    SetUnit(previous);
    CWXUtility::Show_Error(CWXUtility::kAlertLayout, GetDialog(), 400, previous == CWXUtility::kUnitCentimetre ? 23 : 24,
                           0, 1, nullptr, 0);
    return;
  }
  ReadField(true);
  ReadField(false);
  const double factor = wanted == CWXUtility::kUnitCentimetre ? kCmPerInch : 1.0 / kCmPerInch;
  mUnit = wanted;
  SetWidthHeight(mWidth * factor, mHeight * factor);
}

EKeyStatus CManuDialogHandler::PointIntegerField(TEHandle, UInt16, UInt16& ioCharCode, EventModifiers modifiers) {
  const EKeyStatus status = UKeyFilters::ClassOfNonInput(ioCharCode, modifiers);
  if (status != keyStatus_Input) return status;
  if (!UKeyFilters::IsPrintingChar(ioCharCode)) return keyStatus_PassUp;
  const bool accepted =
      UKeyFilters::IsNumberChar(ioCharCode) || ioCharCode == UInt16(UInt8(CWXUtility::GetLocalizedDecPointChar()));
  return accepted ? keyStatus_Input : keyStatus_Reject;
}
