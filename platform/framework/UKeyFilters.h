// Key filters of edit fields: each key is classed (input, deletion, cursor movement, ...)
// and a filter says what the field does with it. Keys with the command key down, and
// keys a field has no use for (tab, return, escape), are passed up the chain of command.
#pragma once

#include "framework/FrameworkTypes.h"
#include "windows/Events.h"

class LCommander;
struct TERec;
typedef TERec** TEHandle;

enum EKeyStatus {
  keyStatus_Input,
  keyStatus_TEDelete,
  keyStatus_TECursor,
  keyStatus_ExtraEdit,
  keyStatus_Ignore,
  keyStatus_Reject,
  keyStatus_PassUp,
};

typedef EKeyStatus (*KeyFilterFunc)(TEHandle te, UInt16 keyCode, UInt16& ioCharCode, EventModifiers modifiers);

// Layout codes of the standard filters.
enum : UInt8 {
  keyFilter_None = 0,
  keyFilter_PrintingChar = 1,
  keyFilter_PrintingCharAndCR = 2,
  keyFilter_Integer = 3,
  keyFilter_NegativeInteger = 4,
  keyFilter_AlphaNumeric = 5,
};

class UKeyFilters {
 public:
  // Key classes.
  static bool IsPrintingChar(UInt16 c) { return c >= 0x20 && c != kDeleteCharCode; }
  static bool IsNumberChar(UInt16 c) { return c >= '0' && c <= '9'; }
  static bool IsLetterChar(UInt16 c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
  static bool IsTEDeleteKey(UInt16 c) { return c == kBackspaceCharCode || c == kDeleteCharCode; }
  static bool IsTECursorKey(UInt16 c) {
    return c == kLeftArrowCharCode || c == kRightArrowCharCode || c == kUpArrowCharCode || c == kDownArrowCharCode ||
           c == kHomeCharCode || c == kEndCharCode;
  }
  static bool IsExtraEditKey(UInt16 c) { return c == kPageUpCharCode || c == kPageDownCharCode; }
  static bool IsActionKey(UInt16 c) {
    return c == kTabCharCode || c == kReturnCharCode || c == kEnterCharCode || c == kEscapeCharCode ||
           c == kHelpCharCode;
  }

  // The standard filters.
  static EKeyStatus PrintingCharField(TEHandle te, UInt16 keyCode, UInt16& ioCharCode, EventModifiers modifiers);
  static EKeyStatus PrintingCharAndCRField(TEHandle te, UInt16 keyCode, UInt16& ioCharCode, EventModifiers modifiers);
  static EKeyStatus IntegerField(TEHandle te, UInt16 keyCode, UInt16& ioCharCode, EventModifiers modifiers);
  static EKeyStatus NegativeIntegerField(TEHandle te, UInt16 keyCode, UInt16& ioCharCode, EventModifiers modifiers);
  static EKeyStatus AlphaNumericField(TEHandle te, UInt16 keyCode, UInt16& ioCharCode, EventModifiers modifiers);

  // The filter of a layout code (null for none).
  static KeyFilterFunc FilterForCode(UInt8 code);
  // The class of a key that is not input: deletion, cursor, extra edit, pass up, or input.
  static EKeyStatus ClassOfNonInput(UInt16 c, EventModifiers modifiers);

  // What both edit fields share about a key press. Command-A selects all. ClassOfKeyPress
  // sets `c` to the key's character (as the filter may change it) and classes it with
  // `filter`, or as a key that is not input without one; the second byte of a two-byte
  // character is input whatever the filter thinks of it alone. TakeNonEditingKey ends the
  // handling of a key the field neither types, deletes nor moves with: extra-edit and
  // ignored keys are taken, a rejected one beeps, the rest go up the chain of command.
  static bool IsSelectAllKey(const EventRecord& event) {
    const UInt16 c = static_cast<UInt16>(event.message & charCodeMask);
    return (event.modifiers & cmdKey) && (c == 'a' || c == 'A');
  }
  static EKeyStatus ClassOfKeyPress(const EventRecord& event, KeyFilterFunc filter, TEHandle te, bool pendingLead,
                                    UInt16& c);
  static bool TakeNonEditingKey(EKeyStatus status, LCommander& field, const EventRecord& event);
};
