#include "CustomScaleDialog.h"

#include "prefs/PrefRecords.h"
#include "dialogs/print/ScanControlRules.h"
#include "framework/LEditText.h"
#include "output/hubdialogs/HubDialog.h"
#include "output/hubdialogs/WXAlert.h"

namespace {

constexpr SInt16 kMessageList = 400;
constexpr SInt32 kAlertLayout = 400;
constexpr SInt32 kPercentRangeItem = 12;

}  // namespace

SInt32 ShowCustomScaleDialog(LCommander* super, RecordBytes copyRecord) {
  HubDialog<> dialog(kCustomScaleLayout, super);
  LEditText* field = dialog.Pane<LEditText>('TECN');
  field->SetValue(static_cast<SInt32>(PREF_COPY::kCustomPercent.get(copyRecord)));
  LCommander::SwitchTarget(field);
  field->SelectAll();
  return dialog.Run([&] {
    CustomPercentCheck check = CheckCustomPercent(field->GetValue());
    if (check.accepted) {
      PREF_COPY::kCustomPercent.set(copyRecord, static_cast<uint32_t>(check.value));
      return true;
    }
    CWXUtility::Show_Error(kAlertLayout, dialog.dialog(), kMessageList, kPercentRangeItem, 0, 1, nullptr, 0);
    field->SetValue(check.value);
    return false;
  });
}
