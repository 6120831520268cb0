// Arcs and polygons as regions, for the pictures that contain them.
#pragma once

#include <vector>

#include "quickdraw/qdRegion.h"

// The pixels of `r` whose centres lie in the wedge from `startAngle` through `arcAngle`
// degrees (0 is up, positive clockwise; angles stretch with the rectangle, so 45 meets its
// corner). Only the part inside `within` is built.
qdRegion qdWedgeRegion(const Rect& r, int startAngle, int arcAngle, const Rect& within);
// The inside of the closed polygon through `points` by the even-odd rule, pixel centres
// deciding; only the part inside `within` is built.
qdRegion qdPolygonRegion(const std::vector<Point>& points, const Rect& within);
