#pragma once

#include "desktop/ServiceRail.h"
#include "platform/Signal.h"
#include "state/AppModel.h"

#include <optional>
#include <string>

namespace meridavolt {

// A Ctrl-drag that reorders the service bar: which button moves, before
// which service it would land (none: the end), and the move on release.
// Locations are in the bar's scrolling area.
class ServiceReorder {
public:
    explicit ServiceReorder(AppModel& model) : model_(model) {}

    // Every movement ends a pending start-up choice and moves the insertion marker.
    void move(const std::string& id, Point location, const ServiceRailGeometry& geometry);
    // Moves the service and saves the library when released over the bar;
    // whether the bar's order changed.
    bool release(const std::string& id, Point location, const ServiceRailGeometry& geometry);
    void cancel();

    const std::optional<std::string>& draggedID() const { return draggedID_; }
    const std::optional<std::string>& dropBeforeID() const { return dropBeforeID_; }

    // Where the insertion marker shows: above the button of `id`, or below the last button.
    bool showsMarkerBefore(const std::string& id) const;
    bool showsMarkerAfterLast() const;

    Signal<> changed;

private:
    void set(std::optional<std::string> dragged, std::optional<std::string> before);
    std::vector<std::string> serviceIDs() const;

    AppModel& model_;
    std::optional<std::string> draggedID_;
    std::optional<std::string> dropBeforeID_;
};

}  // namespace meridavolt
