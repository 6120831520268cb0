// Where the stitch view puts its two halves and the crop frame, in screen pixels of the
// view, and how they follow the mouse and the arrow keys: plain functions of rectangles, so
// that the panes only apply what these answer.
#pragma once

#include "framework/PaneTypes.h"
#include "toolbox/MacTypes.h"

namespace StitchPaneGeometry {

enum : SInt16 {
  hit_TopLeft = 1,
  hit_BottomLeft,
  hit_TopRight,
  hit_BottomRight,
  hit_Left,
  hit_Right,
  hit_Top,
  hit_Bottom,
  hit_Inside,
};

// Screen pixels per image pixel: both halves share it, taken from the taller one.
double DisplayScale(SInt16 pictureHeight, SInt32 leftImageHeight, SInt32 rightImageHeight);
// A half's frame in a view of `view`: centred vertically, its inner edge on the centre line
// (side 1 left, 2 right).
Rect HalfFrame(SDimension16 view, double scale, SInt32 imageWidth, SInt32 imageHeight, long side);
// How far the right half (of `rightSize`) may go: an eighth of the left height up or down,
// left until one column of the left half stays uncovered, right until one left width past
// it; a right half taller or wider than the left one has that much more room.
Rect MoveLimits(const Rect& leftFrame, SDimension16 rightSize);
// The move (h, v) that brings `frame` back inside `limits`: top, bottom, right, left, each
// tested on `frame` as given.
Point Clamp(const Rect& frame, const Rect& limits);
// The starting crop: from the left half's left edge to the right half's right edge, over
// the rows both halves cover.
Rect CropFrame(const Rect& left, const Rect& right);
// The box around both halves, which the crop frame never leaves.
Rect BoundingBox(const Rect& left, const Rect& right);
// The part of the crop frame under `pt`: corners, edges or inside, against `band`.
SInt16 WhereClicked(Point pt, const Rect& band);
// The band a click is tested against (handles four pixels wide), and the one the cursor is
// tested against (four at the top and left, three at the bottom and right).
Rect ClickBand(const Rect& crop);
Rect CursorBand(const Rect& crop);
// The crop frame at the click (`start`) dragged from `click` to `mouse`: kept in the box,
// then reaching over the seam.
Rect MoveCrop(const Rect& start, Point click, Point mouse, const Rect& left, const Rect& right);
// The crop frame resized by the handle `code` dragged from `click` to `mouse`: at least
// 10 x 10, inside the box, over the seam. `now` is the frame before this step.
Rect ResizeCrop(SInt16 code, const Rect& start, const Rect& now, Point click, Point mouse, const Rect& left,
                const Rect& right);

}  // namespace StitchPaneGeometry
