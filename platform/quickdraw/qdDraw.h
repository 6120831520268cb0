// The fill engine under every shape, line and text run.
#pragma once

#include <cstdint>
#include <vector>

#include "quickdraw/qdPicture.h"
#include "quickdraw/qdPort.h"

// Shapes as regions; only the rows between rows.top and rows.bottom are built.
qdRegion qdShapeRegion(qdShape shape, const Rect& r, Point ovalSize, const Rect& rows);
qdRegion qdFrameRegion(qdShape shape, const Rect& r, Point ovalSize, Point pen, const Rect& rows);
// What the pen (width pen.h, height pen.v) covers dragged pixel by pixel from `from` to `to`,
// built row by row in one pass: the work grows with the line's length and the pen's height,
// and only rows between rows.top and rows.bottom are built (none when it passes wholly left
// or right of `rows`).
qdRegion qdLineRegion(Point from, Point to, Point pen, const Rect& rows);
// The lines from each point to the next drawn with the pen, joined row by row in one pass.
qdRegion qdPolylineRegion(const std::vector<Point>& points, Point pen, const Rect& rows);
// Steps, rows and pixels done by the fill engine since start: what playing a picture costs.
uint64_t qdDrawWork();
// Fills `area` (local coordinates) clipped to the port: pattern bits set take the
// foreground colour, clear bits the background colour, through a pattern mode.
void qdFillArea(GrafPtr port, const qdRegion& area, const Pattern& pat, SInt16 mode);
Point qdOvalSize(GrafPtr port);
void qdSetOvalSize(GrafPtr port, Point size);
