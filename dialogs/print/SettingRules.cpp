#include "SettingRules.h"

#include <algorithm>

#include "prefs/ButtonTags.h"
#include "prefs/CPreferences.h"
#include "prefs/FactoryDefaults.h"
#include "prefs/LanguageTables.h"
#include "prefs/PrefRecords.h"
#include "prefs/WXModels.h"

namespace {

void SetSlots(RecordBytes setting, const std::array<uint32_t, 4>& slots) {
  for (uint32_t k = 0; k < PREF_SETTING::kSlots; ++k) PREF_SETTING::ButtonSlot(k).set(setting, slots[k]);
}

}  // namespace

uint32_t ButtonCountOf(ConstStr255Param modelName) {
  return CWXUtility::Is4ButtonDriver(FDProductID(1, modelName)) ? 4 : 7;
}

bool IsFourButtonModel(RecordBytes setting) {
  Str255 name;
  PREF_SETTING::kModelName.get(setting, name);
  return ButtonCountOf(name) == 4;
}

uint32_t SlotMenuItems(bool fourButtons, uint32_t slot) {
  if (fourButtons) return 9;
  return slot == 2 ? 5 : 8;
}

std::array<uint32_t, 4> DefaultSlots(bool fourButtons) { return {1, 6, fourButtons ? 8u : 0u, 3}; }

void ClampSlots(RecordBytes setting) {
  bool four = IsFourButtonModel(setting);
  for (uint32_t k = 0; k < PREF_SETTING::kSlots; ++k) {
    PrefU32 slot = PREF_SETTING::ButtonSlot(k);
    slot.set(setting, std::min(slot.get(setting), SlotMenuItems(four, k)));
  }
}

bool FunctionIsFree(RecordBytes all, RecordBytes working, uint32_t item) {
  bool four = IsFourButtonModel(working);
  return item >= 1 && item <= SlotMenuItems(four, 0) && GetFunctionTag(all, working, item, four) == 0;
}

void MoveTag(RecordBytes all, RecordBytes working, uint32_t newItem, uint32_t oldItem) {
  bool four = IsFourButtonModel(working);
  if (oldItem < 1 || oldItem > SlotMenuItems(four, 0)) return;
  uint32_t tag = GetFunctionTag(all, working, oldItem, four);
  SetFunctionTag(all, working, oldItem, four, 0);
  SetFunctionTag(all, working, newItem, four, tag);
}

void SetDefaultTags(RecordBytes all, bool fourButtons) {
  PREF_SETTING defaults;
  SetSlots(defaults.view(), DefaultSlots(fourButtons));
  ClearFunctionTags(all);
  AssignSlotTags(all, defaults.view(), defaults.view(), fourButtons);
}

void DeriveTags(RecordBytes all, RecordBytes slots, RecordBytes setting) {
  ClearFunctionTags(all);
  PREF_SETTING::kTag.set(setting, 0);
  AssignSlotTags(all, slots, setting, IsFourButtonModel(slots));
}

void WriteSavedSetting(const PREF_SETTING& saved) {
  CPreferences store(PREFS_FILE_NAME, 0);
  RecordBytes all = store.PrefAll();
  RecordBytes setting = PREF_ALL::kSetting.in(all);
  std::copy(saved.bytes.begin(), saved.bytes.end(), setting.data());
  DeriveTags(all, setting, setting);
}

bool ChangeModel(RecordBytes all, RecordBytes working, ConstStr255Param modelName) {
  uint32_t oldCount = IsFourButtonModel(working) ? 4 : 7;
  PREF_SETTING::kModelName.set(working, modelName);
  PREF_SETTING::kTWAIN.set(working, 1);
  bool four = IsFourButtonModel(working);
  bool slot2Used = PREF_SETTING::kButtonSlot2.get(working) != 0;
  if (four != slot2Used) SetSlots(working, DefaultSlots(four));
  bool changed = oldCount != (four ? 4u : 7u);
  if (changed) PREF_SETTING::kTag.set(working, 0);
  SetDefaultTags(all, four);
  if (changed) {
    std::array<uint32_t, 4> slots = DefaultSlots(four);
    if (!four) slots[2] = PREF_SETTING::kButtonSlot2.get(working);
    SetSlots(working, slots);
  }
  return changed;
}
