#include "prefs/ButtonTags.h"

#include "prefs/PrefRecords.h"

namespace {

// The tag field of a function item: one record, or the five File records.
struct TagField {
  size_t record;  // offset in PREF_ALL; 0 with `settings`
  size_t tag;
  uint32_t records;
  bool settings;
};

bool FunctionTagField(uint32_t item, bool fourButtons, TagField* out) {
  switch (item) {
    case 1: *out = {PREF_ALL::kCopy.off, PREF_COPY::kTag.off, 1, false}; return true;
    case 2: *out = {PREF_ALL::kPrint.off, PREF_PRINT::kTag.off, 1, false}; return true;
    case 3: *out = {PREF_ALL::kMail.off, PREF_MAIL::kTag.off, 1, false}; return true;
    case 4: *out = {PREF_ALL::kOCR.off, PREF_OCR::kTag.off, 1, false}; return true;
    case 5: *out = {PREF_ALL::kSave.off, PREF_SAVE::kTag.off, 1, false}; return true;
    case 6: *out = {PREF_ALL::kScan1.off, PREF_SCANX::kTag.off, 1, false}; return true;
    case 7: *out = {PREF_ALL::kScan2.off, PREF_SCANX::kTag.off, 1, false}; return true;
    case 8:
      if (fourButtons) *out = {PREF_ALL::kFile0, PREF_FILE::kTag.off, PREF_ALL::kFileRecords, false};
      else *out = {0, PREF_SETTING::kTag.off, 1, true};
      return true;
    case 9:
      if (!fourButtons) return false;
      *out = {0, PREF_SETTING::kTag.off, 1, true};
      return true;
    default: return false;
  }
}

void SetRecordTag(RecordBytes all, const TagField& f, uint32_t tag) {
  for (uint32_t k = 0; k < f.records; ++k) all.setU32(f.record + k * PREF_FILE::kSize + f.tag, tag);
}

}  // namespace

uint32_t GetFunctionTag(RecordBytes all, RecordBytes setting, uint32_t item, bool fourButtons) {
  TagField f;
  if (!FunctionTagField(item, fourButtons, &f)) return 0;
  return f.settings ? setting.u32(f.tag) : all.u32(f.record + f.tag);
}

void SetFunctionTag(RecordBytes all, RecordBytes setting, uint32_t item, bool fourButtons, uint32_t tag) {
  TagField f;
  if (!FunctionTagField(item, fourButtons, &f)) return;
  if (f.settings) setting.setU32(f.tag, tag);
  else SetRecordTag(all, f, tag);
}

void ClearFunctionTags(RecordBytes all) {
  // Under the four-button numbering items 1 to 8 are the records with a tag of their own.
  TagField f;
  for (uint32_t item = 1; item <= 8; ++item)
    if (FunctionTagField(item, true, &f)) SetRecordTag(all, f, 0);
}

void AssignSlotTags(RecordBytes all, RecordBytes slots, RecordBytes setting, bool fourButtons) {
  for (uint32_t slot = 0; slot < PREF_SETTING::kSlots; ++slot) {
    if (slot == 2 && !fourButtons) continue;
    SetFunctionTag(all, setting, PREF_SETTING::ButtonSlot(slot).get(slots), fourButtons, kButtonTagBase + slot);
  }
}
