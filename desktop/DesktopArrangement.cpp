#include "desktop/DesktopArrangement.h"

namespace meridavolt {

DesktopArrangement DesktopArrangement::from(const LayoutValues& values)
{
    DesktopArrangement arrangement;
    if (values.memoryVisible) {
        arrangement.memoryInToolbar = values.memoryPosition == "toolbar";
        arrangement.memoryAtTop = values.memoryPosition == "top";
        arrangement.memoryAtBottom = values.memoryPosition == "bottom";
    }
    if (values.railVisible) {
        arrangement.railAtLeft = values.railPosition == "left";
        arrangement.railAtRight = values.railPosition == "right";
        arrangement.railAtBottom = values.railPosition == "bottom";
    }
    return arrangement;
}

std::optional<std::string> destination(Panel panel, Point location, Size layoutSize)
{
    const double w = layoutSize.width;
    const double h = layoutSize.height;
    if (w <= 0 || h <= 0) return std::nullopt;
    if (location.x < 0 || location.y < 0 || location.x > w || location.y > h) return std::nullopt;

    if (panel == Panel::memory) {
        if (location.y < 70) return "toolbar";
        if (location.y < h * 0.5) return "top";
        return "bottom";
    }
    if (location.y > h - 90) return "bottom";
    if (location.x < w * 0.5) return "left";
    return "right";
}

}  // namespace meridavolt
