// Asking for the base name of the output files, with the function's recently used names
// (oldest first) in a popup.
#pragma once

#include "toolbox/MacTypes.h"

class LCommander;

namespace CWXUtility {

enum : SInt16 { kFileNameLayout = 700 };

// 1 with the accepted name copied into `name` (OK); 0 with `name` unchanged (Cancel). A
// name that cannot be used keeps the dialog open with the alert of its reason. Throws
// 'nilP' when layout 700 is not the file-name dialog.
long AddFileName(LCommander* super, Str255 name, long count, const Str255* history);

}  // namespace CWXUtility
