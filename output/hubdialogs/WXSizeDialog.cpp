#include "output/hubdialogs/WXSizeDialog.h"

#include <cmath>
#include <limits>

#include "prefs/PrefRecords.h"
#include "framework/LWindow.h"
#include "output/hub/WXText.h"
#include "output/hubdialogs/CManuDialogHandler.h"
#include "output/hubdialogs/HubDialog.h"
#include "output/hubdialogs/WXSizeNumbers.h"
#include "toolbox/Resources.h"
#include "toolbox/TextUtils.h"

namespace CWXUtility {

namespace {

constexpr double kCmPerInch = 2.54;
constexpr double kTenthsPerCm = 100.0;
constexpr SInt16 kSizeTextList = 10000;

bool Within(double v, double low, double high) { return v >= low && v <= high; }

}  // namespace

SInt32 ManuscriptSizeSetting(SInt32 layoutID, LCommander* super, StDescriptDialog& size) {
  HubDialog<CManuDialogHandler> sizeDialog(layoutID, super);
  CManuDialogHandler& handler = sizeDialog.handler();

  const SInt32 unit = size.unit == kUnitInch ? kUnitInch : kUnitCentimetre;
  double width = Within(size.width, 2.54, 21.6) ? size.width : 21.0;
  double height = Within(size.height, 2.54, 29.7) ? size.height : 29.7;
  if (unit == kUnitInch) {
    width /= kCmPerInch;
    height /= kCmPerInch;
  }
  handler.SetUnit(unit);
  handler.SetWidthHeight(width, height);

  const SInt32 answer = sizeDialog.Run([&] {
    if (handler.OverValueErrorCheck()) return false;
    size.unit = handler.GetUnit();
    handler.GetWidthHeight(width, height);
    const double toCm = size.unit == kUnitInch ? kCmPerInch : 1.0;
    size.width = width * toCm * kTenthsPerCm;
    size.height = height * toCm * kTenthsPerCm;
    return true;
  });
  if (answer == msg_Cancel) {
    size.width *= kTenthsPerCm;
    size.height *= kTenthsPerCm;
  }
  return answer;
}

void ManuscriptPrefToString(StDescriptDialog size, StringPtr text) {
  const char decimalPoint = GetLocalizedDecPointChar();
  const bool inches = size.unit == kUnitInch;
  const double toUnit = inches ? 1.0 / (kTenthsPerCm * kCmPerInch) : 1.0 / kTenthsPerCm;
  Str255 prefix, unitName;
  GetIndString(prefix, kSizeTextList, 1);
  GetIndString(unitName, kSizeTextList, inches ? 3 : 2);
  std::string result = PStrToString(prefix) + " (" + FormatSizeNumber(size.width * toUnit, decimalPoint) + " x " +
                       FormatSizeNumber(size.height * toUnit, decimalPoint) + PStrToString(unitName) + ")";
  PStrFromString(result, text);
}

UInt16 RoundToTenthMillimetre(double tenths) {
  if (!(tenths > 0)) return 0;
  const double rounded = std::floor(tenths + 0.5);
  return rounded >= std::numeric_limits<UInt16>::max() ? std::numeric_limits<UInt16>::max() : UInt16(rounded);
}

SDimension16 StoredScanSize(RecordBytes record, const PrefDocSize& field) {
  return SDimension16{SInt16(field.width(record)), SInt16(field.height(record))};
}

SInt32 EditStoredManuscriptSize(SInt32 layoutID, LCommander* super, RecordBytes record, const PrefDocSize& field) {
  StDescriptDialog size;
  size.width = field.width(record) / kTenthsPerCm;
  size.height = field.height(record) / kTenthsPerCm;
  size.unit = SInt32(field.unit(record));
  const SInt32 answer = ManuscriptSizeSetting(layoutID, super, size);
  field.set(record, RoundToTenthMillimetre(size.width), RoundToTenthMillimetre(size.height),
            answer == msg_OK ? UInt32(size.unit) : field.unit(record));
  return answer;
}

}  // namespace CWXUtility
