// The prompts with a "do not show again" check box that a scanner-button start or the File
// dialog shows before it goes on.
#pragma once

#include "toolbox/MacTypes.h"

class LCommander;

namespace CWXUtility {

enum : SInt16 { kPDFButtonNoticeLayout = 10000 };

// Shows layout 10000 over `super` with its check box cleared and waits for OK; the check
// box's value (1 when ticked).
SInt32 EZPDFButtonOnCheckMsg(LCommander* super);

}  // namespace CWXUtility
