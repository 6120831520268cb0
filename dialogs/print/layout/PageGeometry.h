// The arithmetic of the page layout: where a click lands on a picture or a text box, how a
// drag resizes or moves them inside the printable area, the 100 % size and the print record
// of a placed picture, fit, fill and centring, the paper on screen, the size texts, the
// selection handles, the font style bits and the thumbnails' places. Plain numbers and
// rectangles in, so the panes only apply the results.
#pragma once

#include <array>
#include <string>

#include "framework/PaneTypes.h"
#include "output/export/PageRecords.h"
#include "printing/Printing.h"
#include "quickdraw/QuickDraw.h"

struct StFontDialog;

namespace pagegeom {

// ---- the paper pane ----

struct PaperLayout {
  double scale = 0.0;     // pane pixels per page-format unit; 0 for a paper with an empty side
  SDimension16 size = {0, 0};
  Rect printable = {0, 0, 0, 0};  // relative to the pane's top left; empty without paper
};
// The sheet scaled so that its longer side is 300 pixels, and its printable area.
PaperLayout LayOutPaper(const PMRect& paper, const PMRect& page);
// Page-format units per pane pixel (the longer paper side over 300); 0 without paper.
double ResizeRatio(const PMRect& paper);

// ---- the placed picture ----

// Screen pixels per image pixel at 100 %: s × p ÷ r in double; r ≤ 0 counts as r = p.
double HundredPercentFactor(double paperScale, SInt32 printerDpi, SInt32 imageDpi);
// The on-screen length of the longer image side at which it would print at 10 dpi, 1..32767.
SInt16 PictureSizeLimit(SInt32 width, SInt32 height, SInt32 imageDpi, double factor);
// The frame size at 100 %, each side at least 1.
SDimension16 SameRateSize(SInt32 width, SInt32 height, double factor);
// What the picture prints as at its frame width: pixels scaled by the magnification and the
// resolution divided by it (16.16). A factor of 0 leaves the scan's own values.
AcqRecord PrintRecord(SInt16 frameWidth, const AcqRecord& scan, double factor);

// Zones of a point against a rectangle: 1 top-left, 2 bottom-left, 3 top-right,
// 4 bottom-right, 5 left, 6 right, 7 top, 8 bottom, 9 inside; borders count as outside.
SInt16 PictureZone(Point pt, const Rect& r);

struct PictureDrag {
  SInt16 zone = 9;
  SDimension16 start = {0, 0};  // frame size at the mouse-down
  SInt16 dx = 0, dy = 0;        // mouse travel since the mouse-down
  double hw = 1.0, wh = 1.0;    // height ÷ width and width ÷ height of the image
  SInt16 limit = 32767;         // PictureSizeLimit
  Rect frame = {0, 0, 0, 0};    // the frame before this step
  Rect range = {0, 0, 0, 0};    // the printable area
};
// One step of a resize: the new frame, aspect kept, between 10 and the limit, the side
// opposite the grabbed one staying put, never leaving the printable area entirely.
Rect PictureResized(const PictureDrag& drag);
// The offset that brings a moved frame back until one pixel row and column lie inside.
Point PictureMoveBack(const Rect& moved, const Rect& range);

// The frame size that fits the picture inside (or makes it fill) the range, within the limit.
SDimension16 FitSize(SDimension16 picture, SDimension16 range, bool fill, SInt16 limit);
// The offset that centres a frame on the range.
Point CentringOffset(const Rect& frame, const Rect& range);
// A frame saved at another paper scale, scaled to the current one; a saved scale of 0 keeps it.
Rect RescaledFrame(const Rect& saved, double savedScale, double scale);
// A screen length in page-format units (rounded to the nearest).
SInt16 ToPaper(SInt32 length, double ratio);

// ---- the size display ----

// "3.3" + unit: the whole part, a point and the tenths digit.
std::string LengthText(double length, const std::string& unit);
// The three popup items for one side: inches, centimetres and pixels, for a side of
// `pixels` at `dpi` shown at `shown` pixels.
std::array<std::string, 3> SideTexts(SInt32 pixels, SInt32 dpi, SInt32 shown, const std::array<std::string, 3>& units);

// ---- text boxes ----

// As PictureZone, with handles at the middle of each side (within one pixel of it):
// 10 top, 11 bottom, 12 left, 13 right. Zones 5 to 9 move the box, the others resize it.
SInt16 TextBoxZone(Point pt, const Rect& r);
inline bool IsHandle(SInt16 zone) { return zone < 5 || zone > 9; }
// The box's frame after a drag of a handle from `down` to `mouse`: at least 10 × 10, the
// opposite sides staying put, then cut to the printable area.
Rect TextBoxResized(SInt16 zone, const Rect& start, const Rect& current, Point down, Point mouse, const Rect& range);
// The offset that brings a moved box back inside the printable area.
Point TextBoxMoveBack(const Rect& moved, const Rect& range);
// A box moved (and cut) to lie inside the printable area.
Rect FittedTextBox(const Rect& box, const Rect& range);
// The top-left corners of the eight 3 × 3 selection handles, clockwise from the top left.
std::array<Point, 8> HandleCorners(const Rect& box);
// The QuickDraw style of a font record: bold bit 0 .. shadow bit 4.
SInt16 StyleBits(const StFontDialog& font);

// ---- thumbnails ----

constexpr SInt16 kThumbWidth = 80, kThumbHeight = 115, kThumbPitch = 100;
// Thumbnail n (from 1) in the strip's image.
Rect ThumbnailFrame(SInt32 n);
// The strip's image width for `pages` pages.
SInt32 StripWidth(SInt32 pages);
// Where an image of that size is drawn within a thumbnail frame: 74 on its longer side,
// centred across and in the 90 pixels above the check box.
Rect ThumbnailImageRect(SInt32 imageWidth, SInt32 imageHeight, const Rect& frame);

}  // namespace pagegeom
