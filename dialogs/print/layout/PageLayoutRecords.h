// The saved layout of one page of the print layout, kept by its thumbnail while another
// page is on show: the picture's place at a paper scale and the page's text boxes.
#pragma once

#include "framework/TArray.h"
#include "framework/UTextTraits.h"
#include "output/hubdialogs/WXFontDialog.h"
#include "quickdraw/QuickDraw.h"

// One text box, copied as one block (in memory only).
struct TextBoxInfo {
  Rect frame;                // relative to the page area's top left
  Str255 text;
  TextTraitsRecord traits;
  StFontDialog font;
};
static_assert(sizeof(TextBoxInfo) == 572, "a saved text box is one 572-byte block");

struct PrePicturePaneInfo {
  double scale = 0.0;        // the paper scale the frame was taken at
  Rect frame = {0, 0, 0, 0};  // the picture's port frame; empty for a page without picture
  TArray<TextBoxInfo> textBoxes;
};
