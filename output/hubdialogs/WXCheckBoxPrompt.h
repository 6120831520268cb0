// Notices with a "do not show again" check box: the check box starts cleared, OK alone ends
// the notice, and the check box's value is the answer (1: do not show the notice again).
#pragma once

#include "framework/FrameworkTypes.h"
#include "toolbox/MacTypes.h"

class LCommander;

namespace CWXUtility {

enum : SInt16 { kFavoriteScanNoticeLayout = 5100 };

// Layout `layoutID` over `super`, its check box `checkBox` ('nilP' when missing).
SInt32 CheckBoxPrompt(SInt16 layoutID, PaneIDT checkBox, LCommander* super);

// The notice of the favourite-scan tab, which scanner button 6 starts (layout 5100).
SInt32 SkipFavoriteScanCheckMsg(LCommander* super);

}  // namespace CWXUtility
