#pragma once

#include "desktop/Geometry.h"

#include <vector>

namespace meridavolt {

// The logo: three closed polygons in a unit square (x to the right, y
// downwards), filled with the non-zero rule.
using Polygon = std::vector<Point>;

const std::vector<Polygon>& switchMarkPolygons();

// The logo's polygons mapped into a drawing rectangle.
std::vector<Polygon> switchMarkPath(Rect rect);

}  // namespace meridavolt
