// The font sub-dialog of the page layout's text boxes (layout 1200): font, size 1 to 100,
// colour and style. The record changes only on OK (900); Cancel (901) leaves it alone.
#pragma once

#include "framework/FrameworkTypes.h"
#include "quickdraw/QuickDraw.h"
#include "toolbox/MacTypes.h"

class LDialogBox;

struct StFontDialog {
  SInt32 font = 0;  // family number; only its low 16 bits count
  SInt32 size = 12;
  RGBColor color = {0, 0, 0};
  UInt16 colorPad = 0;  // written as 0 on OK
  SInt32 bold = 0;
  SInt32 italic = 0;
  SInt32 underline = 0;
  SInt32 outline = 0;
  SInt32 shadow = 0;
};

namespace CWXUtility {

// `caller` becomes the super commander (none when null). With no font chosen in the popup
// (the record's font is not among its items), OK keeps the record's font.
SInt32 FontSetting(SInt32 layoutID, LDialogBox* caller, StFontDialog& font);

}  // namespace CWXUtility
