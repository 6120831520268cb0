// Flags the function dialogs set for the application and the main window; main thread only.
#pragma once

#include "toolbox/MacTypes.h"

namespace CWXUtility {

// 1 while the scanner driver's own window is up: every command is disabled.
inline UInt8 sIsQuellaneOpened = 0;
// 1 while the stitch assistant is open: About and Quit are disabled.
inline UInt8 sIsStitchDialogOpened = 0;
// The File dialog's current tab, 1 to 3, which a scanner button's answer must match.
inline UInt16 sTabMode = 0;

}  // namespace CWXUtility
