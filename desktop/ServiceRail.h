#pragma once

#include "desktop/Geometry.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace meridavolt {

namespace rail {

// The bar's thickness across its main axis: 82 points wide standing, 76 high lying.
inline constexpr double verticalWidth = 82;
inline constexpr double horizontalHeight = 76;
// A reorder drop is accepted this far across the bar, in either orientation.
inline constexpr double dropCrossExtent = 82;

}  // namespace rail

// What a click on a service button does, given the modifier keys held at the click.
enum class ServiceClick { ignore, showQuickActions, activate };

struct ClickModifiers {
    bool control = false;  // reorders by dragging; a click with it held does nothing
    bool alt = false;      // opens the quick-action sheet
};

ServiceClick serviceClick(ClickModifiers modifiers, bool reorderInProgress);

// The help text of a service button; the first service is the one opened at start-up.
std::string serviceHelpText(const std::string& name, bool isFirstService);

// Reorder arithmetic over the buttons' frames in the bar's own coordinates.
class ServiceRailGeometry {
public:
    ServiceRailGeometry(bool horizontal, std::map<std::string, Rect> frames, double visibleLength);

    // The service before which a button dropped at `position` on the main axis
    // goes: the first service, in bar order, whose button's middle lies beyond
    // the position; none for the end of the bar. Services without a known
    // frame are skipped.
    std::optional<std::string> insertionTarget(double position, const std::vector<std::string>& orderedIDs) const;

    // A reorder counts only when released over the bar itself.
    bool acceptsDrop(Point location) const;

    double mainAxis(Point location) const { return horizontal_ ? location.x : location.y; }
    double crossAxis(Point location) const { return horizontal_ ? location.y : location.x; }

private:
    bool horizontal_;
    std::map<std::string, Rect> frames_;
    double visibleLength_;
};

}  // namespace meridavolt
