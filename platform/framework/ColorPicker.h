// The colour picker: a modal dialog with the prompt, red, green and blue (0-255) and a
// swatch. True with the chosen colour on OK; false (the colour left alone) on Cancel.
#pragma once

#include "quickdraw/QuickDraw.h"

// `where` (global top left) of (0, 0) centres the dialog.
Boolean GetColor(Point where, ConstStr255Param prompt, const RGBColor* inColor, RGBColor* outColor);
