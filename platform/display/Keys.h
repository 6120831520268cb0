// The keyboard as the display reports it and the Event Manager hands it on: modifier bits,
// and the virtual key and character codes of the keys the system looks at.
#pragma once

#include "toolbox/MacTypes.h"

typedef UInt16 EventModifiers;

// Modifier bits.
enum : EventModifiers {
  activeFlag = 0x0001,
  btnState = 0x0080,
  cmdKey = 0x0100,
  shiftKey = 0x0200,
  alphaLock = 0x0400,
  optionKey = 0x0800,
  controlKey = 0x1000,
};

// message of key events: character code in the low byte, virtual key code in the next.
enum : UInt32 { charCodeMask = 0x000000FF, keyCodeMask = 0x0000FF00 };

// Virtual key codes of the keys the system looks at.
enum : UInt8 {
  kVKReturn = 0x24,
  kVKTab = 0x30,
  kVKSpace = 0x31,
  kVKDelete = 0x33,
  kVKEscape = 0x35,
  kVKEnter = 0x4C,
  kVKHome = 0x73,
  kVKPageUp = 0x74,
  kVKForwardDelete = 0x75,
  kVKEnd = 0x77,
  kVKPageDown = 0x79,
  kVKLeftArrow = 0x7B,
  kVKRightArrow = 0x7C,
  kVKDownArrow = 0x7D,
  kVKUpArrow = 0x7E,
};

// Character codes of the special keys.
enum : UInt8 {
  kHomeCharCode = 1,
  kEnterCharCode = 3,
  kEndCharCode = 4,
  kHelpCharCode = 5,
  kBackspaceCharCode = 8,
  kTabCharCode = 9,
  kPageUpCharCode = 11,
  kPageDownCharCode = 12,
  kReturnCharCode = 13,
  kEscapeCharCode = 27,
  kLeftArrowCharCode = 28,
  kRightArrowCharCode = 29,
  kUpArrowCharCode = 30,
  kDownArrowCharCode = 31,
  kSpaceCharCode = 32,
  kDeleteCharCode = 127,
};
