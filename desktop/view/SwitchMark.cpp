#include "desktop/view/SwitchMark.h"

#include "desktop/SwitchMarkShape.h"

#include <algorithm>
#include <cmath>

namespace meridavolt {

void appendSwitchMark(const Cairo::RefPtr<Cairo::Context>& context, Rect rect)
{
    for (const auto& polygon : switchMarkPath(rect)) {
        context->move_to(polygon.front().x, polygon.front().y);
        for (std::size_t i = 1; i < polygon.size(); ++i) context->line_to(polygon[i].x, polygon[i].y);
        context->close_path();
    }
}

void appendRoundedRectangle(const Cairo::RefPtr<Cairo::Context>& context, Rect rect, double radius)
{
    // A radius larger than half the shorter side would fold the corners over.
    const double r = std::min(radius, std::min(rect.width, rect.height) / 2);
    const double right = rect.x + rect.width;
    const double bottom = rect.y + rect.height;
    context->begin_new_sub_path();
    context->arc(right - r, rect.y + r, r, -M_PI / 2, 0);
    context->arc(right - r, bottom - r, r, 0, M_PI / 2);
    context->arc(rect.x + r, bottom - r, r, M_PI / 2, M_PI);
    context->arc(rect.x + r, rect.y + r, r, M_PI, 3 * M_PI / 2);
    context->close_path();
}

void drawLogoTile(const Cairo::RefPtr<Cairo::Context>& context, Rect tile, double cornerRadius, double padding,
                  bool withLogo)
{
    context->save();
    appendRoundedRectangle(context, tile, cornerRadius);
    context->set_source_rgb(0, 0, 0);
    context->fill();
    if (withLogo) {
        const Rect inner{tile.x + padding, tile.y + padding, std::max(0.0, tile.width - 2 * padding),
                         std::max(0.0, tile.height - 2 * padding)};
        appendSwitchMark(context, inner);
        context->set_fill_rule(Cairo::Context::FillRule::WINDING);
        context->set_source_rgb(1, 1, 1);
        context->fill();
    }
    context->restore();
}

}  // namespace meridavolt
