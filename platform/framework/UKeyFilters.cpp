#include "framework/UKeyFilters.h"

#include "framework/LCommander.h"

EKeyStatus UKeyFilters::ClassOfNonInput(UInt16 c, EventModifiers modifiers) {
  if (modifiers & cmdKey) return keyStatus_PassUp;
  if (IsTEDeleteKey(c)) return keyStatus_TEDelete;
  if (IsTECursorKey(c)) return keyStatus_TECursor;
  if (IsExtraEditKey(c)) return keyStatus_ExtraEdit;
  if (IsActionKey(c)) return keyStatus_PassUp;
  return keyStatus_Input;
}

EKeyStatus UKeyFilters::PrintingCharField(TEHandle, UInt16, UInt16& c, EventModifiers modifiers) {
  EKeyStatus status = ClassOfNonInput(c, modifiers);
  if (status != keyStatus_Input) return status;
  return IsPrintingChar(c) ? keyStatus_Input : keyStatus_Reject;
}

EKeyStatus UKeyFilters::PrintingCharAndCRField(TEHandle te, UInt16 keyCode, UInt16& c, EventModifiers modifiers) {
  if (c == kReturnCharCode && !(modifiers & cmdKey)) return keyStatus_Input;
  return PrintingCharField(te, keyCode, c, modifiers);
}

EKeyStatus UKeyFilters::IntegerField(TEHandle, UInt16, UInt16& c, EventModifiers modifiers) {
  EKeyStatus status = ClassOfNonInput(c, modifiers);
  if (status != keyStatus_Input) return status;
  return IsNumberChar(c) ? keyStatus_Input : keyStatus_Reject;
}

EKeyStatus UKeyFilters::NegativeIntegerField(TEHandle te, UInt16 keyCode, UInt16& c, EventModifiers modifiers) {
  if (c == '-' && !(modifiers & cmdKey)) return keyStatus_Input;
  return IntegerField(te, keyCode, c, modifiers);
}

EKeyStatus UKeyFilters::AlphaNumericField(TEHandle, UInt16, UInt16& c, EventModifiers modifiers) {
  EKeyStatus status = ClassOfNonInput(c, modifiers);
  if (status != keyStatus_Input) return status;
  return IsNumberChar(c) || IsLetterChar(c) ? keyStatus_Input : keyStatus_Reject;
}

KeyFilterFunc UKeyFilters::FilterForCode(UInt8 code) {
  switch (code) {
    case keyFilter_PrintingChar:
      return &PrintingCharField;
    case keyFilter_PrintingCharAndCR:
      return &PrintingCharAndCRField;
    case keyFilter_Integer:
      return &IntegerField;
    case keyFilter_NegativeInteger:
      return &NegativeIntegerField;
    case keyFilter_AlphaNumeric:
      return &AlphaNumericField;
    default:
      return nullptr;
  }
}

EKeyStatus UKeyFilters::ClassOfKeyPress(const EventRecord& event, KeyFilterFunc filter, TEHandle te, bool pendingLead,
                                        UInt16& c) {
  c = static_cast<UInt16>(event.message & charCodeMask);
  const UInt16 keyCode = static_cast<UInt16>((event.message & keyCodeMask) >> 8);
  EKeyStatus status = filter ? filter(te, keyCode, c, event.modifiers) : ClassOfNonInput(c, event.modifiers);
  if (pendingLead && status != keyStatus_PassUp) status = keyStatus_Input;
  return status;
}

bool UKeyFilters::TakeNonEditingKey(EKeyStatus status, LCommander& field, const EventRecord& event) {
  switch (status) {
    case keyStatus_ExtraEdit:
    case keyStatus_Ignore:
      return true;
    case keyStatus_Reject:
      SysBeep(1);
      return true;
    default:
      return field.LCommander::HandleKeyPress(event);
  }
}
