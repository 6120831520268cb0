// The shared alert: a message from a string list in a modal dialog, answered by OK (900)
// or Cancel (901). The next-page prompt of layout 360 can also be answered by a scanner
// button: the application stores the answer in sEZMag while sIsOpen says a prompt waits.
#pragma once

#include <string>

#include "framework/FrameworkTypes.h"
#include "toolbox/MacTypes.h"

class LCommander;

namespace CWXUtility {

enum : SInt32 {
  kAlertLayout = 400,            // errors, warnings, questions
  kNextPageLayout = 350,         // scan another page? (click only)
  kNextPageButtonLayout = 360,   // the same, answerable by a scanner button
};

// Written by the scanner-button dispatch, read by a waiting prompt; main thread only.
inline SInt32 sEZMag = 0;
inline Boolean sIsOpen = 0;

// Shows item `index` of string list `listID` (with `param` put in place of its first "%s")
// and waits for 900 or 901. `showCancel` / `showIcon` 0 hide the Cancel button and the icon;
// `buttonChoice` picks 'BOK1'..'BOK3' of layout 360. Throws 'nilP' for a missing pane.
SInt32 Show_Error(SInt32 layoutID, LCommander* super, SInt16 listID, SInt32 index, UInt8 showCancel, UInt8 showIcon,
                  ConstStr255Param param, UInt16 buttonChoice);

// The message text: `item` with `param` in place of its first "%s" ("%%" is a '%'), or
// `item` unchanged without a parameter; cut to 255 bytes between characters.
void ComposeAlertMessage(ConstStr255Param item, ConstStr255Param param, Str255 out);

}  // namespace CWXUtility
