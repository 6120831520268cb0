// Arcs and polygons, sampled at pixel centres row by row.
#include "quickdraw/qdArcPoly.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Spans as region x pairs, touching ones joined.
void AddSpan(std::vector<int32_t>* xs, int32_t left, int32_t right) {
  if (right <= left) return;
  if (!xs->empty() && left <= xs->back()) {
    xs->back() = std::max(xs->back(), right);
    return;
  }
  xs->push_back(left);
  xs->push_back(right);
}

}  // namespace

qdRegion qdWedgeRegion(const Rect& r, int startAngle, int arcAngle, const Rect& within) {
  Rect area;
  if (arcAngle == 0 || !SectRect(&r, &within, &area)) return {};
  if (arcAngle >= 360 || arcAngle <= -360) return qdRegion::FromRect(area);
  if (arcAngle < 0) {
    startAngle += arcAngle;
    arcAngle = -arcAngle;
  }
  double start = ((startAngle % 360) + 360) % 360;
  double cx = (r.left + r.right) / 2.0, cy = (r.top + r.bottom) / 2.0;
  double hw = (r.right - r.left) / 2.0, hh = (r.bottom - r.top) / 2.0;
  std::vector<qdBand> bands;
  for (int32_t y = area.top; y < area.bottom; ++y) {
    qdBand band{y, y + 1, {}};
    int32_t runStart = -1;
    for (int32_t x = area.left; x <= area.right; ++x) {
      bool in = false;
      if (x < area.right) {
        double angle = std::atan2((x + 0.5 - cx) / hw, -(y + 0.5 - cy) / hh) * 180.0 / std::numbers::pi;
        double from = std::fmod(angle - start + 720.0, 360.0);
        in = from < arcAngle;
      }
      if (in && runStart < 0) runStart = x;
      if (!in && runStart >= 0) {
        AddSpan(&band.xs, runStart, x);
        runStart = -1;
      }
    }
    bands.push_back(std::move(band));
  }
  return qdRegion::FromBands(std::move(bands));
}

qdRegion qdPolygonRegion(const std::vector<Point>& points, const Rect& within) {
  if (points.size() < 3) return {};
  int32_t top = INT32_MAX, bottom = INT32_MIN;
  for (Point p : points) {
    top = std::min<int32_t>(top, p.v);
    bottom = std::max<int32_t>(bottom, p.v);
  }
  top = std::max<int32_t>(top, within.top);
  bottom = std::min<int32_t>(bottom, within.bottom);
  std::vector<qdBand> bands;
  std::vector<double> crossings;
  for (int32_t y = top; y < bottom; ++y) {
    double yc = y + 0.5;
    crossings.clear();
    for (size_t i = 0; i < points.size(); ++i) {
      Point a = points[i], b = points[(i + 1) % points.size()];
      if ((a.v <= yc) == (b.v <= yc)) continue;
      crossings.push_back(a.h + (yc - a.v) * (b.h - a.h) / (b.v - a.v));
    }
    std::sort(crossings.begin(), crossings.end());
    qdBand band{y, y + 1, {}};
    // A pixel is inside when its centre lies in [entry, exit).
    for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
      auto left = static_cast<int32_t>(std::clamp<double>(std::ceil(crossings[i] - 0.5), within.left, within.right));
      auto right = static_cast<int32_t>(std::clamp<double>(std::ceil(crossings[i + 1] - 0.5), within.left, within.right));
      AddSpan(&band.xs, left, right);
    }
    bands.push_back(std::move(band));
  }
  return qdRegion::FromBands(std::move(bands));
}
