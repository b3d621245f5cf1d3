#include "desktop/SwitchMarkShape.h"

namespace meridavolt {

const std::vector<Polygon>& switchMarkPolygons()
{
    static const std::vector<Polygon> polygons = {
        // the vertical bar
        {{0.22, 0.18}, {0.36, 0.18}, {0.36, 0.82}, {0.22, 0.82}},
        // the upper arm with its corner arrow, and the lower leg
        {{0.31, 0.5}, {0.69, 0.18}, {0.6, 0.18}, {0.6, 0.07}, {0.87, 0.07}, {0.87, 0.34}, {0.76, 0.34},
         {0.76, 0.28}, {0.47, 0.52}, {0.85, 0.82}, {0.66, 0.82}},
        // the arrow pointing left
        {{0.06, 0.5}, {0.22, 0.35}, {0.22, 0.44}, {0.45, 0.44}, {0.45, 0.56}, {0.22, 0.56}, {0.22, 0.65}},
    };
    return polygons;
}

std::vector<Polygon> switchMarkPath(Rect rect)
{
    std::vector<Polygon> mapped;
    for (const auto& polygon : switchMarkPolygons()) {
        Polygon points;
        for (const auto& point : polygon) {
            points.push_back(Point{rect.x + point.x * rect.width, rect.y + point.y * rect.height});
        }
        mapped.push_back(std::move(points));
    }
    return mapped;
}

}  // namespace meridavolt
