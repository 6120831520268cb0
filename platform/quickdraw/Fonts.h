// Font families by number and name. The system and application fonts map to the sans-serif
// font that fontconfig chooses (a Japanese one when the text script is Japanese); other
// names are looked up through fontconfig.
#pragma once

#include "toolbox/MacTypes.h"

enum : SInt16 {
  systemFont = 0,
  applFont = 1,
  kFontIDGeneva = 3,
  kFontIDMonaco = 4,
  kFontIDTimes = 20,
  kFontIDHelvetica = 21,
  kFontIDCourier = 22,
};

void GetFontName(SInt16 familyID, Str255 name);
// Known names get their classic numbers; other installed families get numbers from 1024
// up, stable for the run. An unknown name gives 0 (the system font).
void GetFNum(ConstStr255Param name, SInt16* familyID);
SInt16 GetDefFontSize();
SInt16 GetSysFont();
SInt16 GetAppFont();
