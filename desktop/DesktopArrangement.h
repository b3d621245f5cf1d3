#pragma once

#include "desktop/Geometry.h"
#include "desktop/LayoutSettings.h"

#include <optional>
#include <string>

namespace meridavolt {

// Where each piece of the main window goes for one set of layout values.
// A hidden panel, or one whose stored position is unknown, goes nowhere.
struct DesktopArrangement {
    bool memoryInToolbar = false;
    bool memoryAtTop = false;
    bool memoryAtBottom = false;
    bool railAtLeft = false;
    bool railAtRight = false;
    bool railAtBottom = false;

    // The home button's word gives way to the shelf when the shelf is in the toolbar.
    bool showsHomeWord() const { return !memoryInToolbar; }
    // The service bar runs horizontally only along the bottom of the window.
    bool railIsHorizontal() const { return railAtBottom; }

    static DesktopArrangement from(const LayoutValues& values);

    friend bool operator==(const DesktopArrangement&, const DesktopArrangement&) = default;
};

// The two panels that grips move.
enum class Panel { memory, rail };

// Where a grip released at `location` (in the window content's coordinates)
// would dock its panel: a position value of that panel's setting, or none when
// the point lies outside the content or the content has not been measured yet.
std::optional<std::string> destination(Panel panel, Point location, Size layoutSize);

}  // namespace meridavolt
