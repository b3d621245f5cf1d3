#include "desktop/StartupMarkGeometry.h"

#include <algorithm>

namespace meridavolt::startup {

double taglineFontSize(double width)
{
    return std::min(std::max((width - 40) / 7, 26.0), 44.0);
}

double taglineWidth(double width)
{
    return std::max(width - 32, 1.0);
}

Point taglineCentre(Size size)
{
    return Point{size.width / 2, size.height / 2 + 55};
}

double tileScale(const StartupMarkState& state, bool reduceMotion)
{
    return state.arrived || reduceMotion ? 1 : 8;
}

Point tileCentre(const StartupMarkState& state, Size size)
{
    return Point{size.width / 2, size.height / 2 - (state.captionVisible ? 108 : 0)};
}

double taglineOpacity(const StartupMarkState& state)
{
    return state.captionVisible ? 1 : 0;
}

double taglineBlur(const StartupMarkState& state, bool reduceMotion)
{
    return state.captionVisible || reduceMotion ? 0 : taglineBlurRadius;
}

}  // namespace meridavolt::startup
