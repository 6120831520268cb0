// Choosing the mail application the Mail function hands its files to.
#pragma once

#include "toolbox/MacTypes.h"

class LCommander;

namespace CWXUtility {

constexpr SInt32 kMailerLayout = 2100;

// Runs the chooser of layout `layoutID` over the saved list (`*count` entries of `saved`,
// room for 256) with `current` selected. Returns 900 or 901; on 900 `chosen` is the
// selected application (empty for none) and the list and count hold what to save.
SInt32 MailerSetting(SInt32 layoutID, LCommander* super, FSSpec& chosen, UInt32* count, FSSpec* saved,
                     FSSpec* current);

}  // namespace CWXUtility
