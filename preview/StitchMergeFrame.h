// The wizard's last step turns what the user did on screen (the halves' panes and the crop
// frame, in screen pixels) into image pixels for the merge: where the right half lies
// beside the left one and which frame of the left half's canvas is kept.
#pragma once

#include "toolbox/MacTypes.h"

namespace StitchMergeFrame {

struct Places {
  Point rightPt{};  // the right half's top left on the canvas
  Point framePt{};  // the kept frame's top left on the canvas
  Rect frame{};     // the kept frame, from (0, 0)
};

// A screen distance in image pixels, to the nearest pixel either way.
long ToImage(long screen, double scale);

// `leftPane`, `rightPane` and `crop` are the panes' frames; `leftImage` and `rightImage`
// the halves' rectangles; `leftPt`, `rightPt`, `mergePt` and `merge` what the geometry
// gave before anything moved. The frame is measured from the left pane; halves of equal
// size measure its right edge from a pane as wide as the left one placed beside it. False
// when a result does not fit 16 bits.
bool ImagePlaces(const Rect& leftPane, const Rect& rightPane, const Rect& crop, double scale, const Rect& leftImage,
                 const Rect& rightImage, Point leftPt, Point rightPt, Point mergePt, const Rect& merge, Places* out);

}  // namespace StitchMergeFrame
