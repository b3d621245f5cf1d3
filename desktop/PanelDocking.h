#pragma once

#include "desktop/DesktopArrangement.h"
#include "desktop/LayoutSettings.h"
#include "platform/Signal.h"

#include <optional>
#include <string>

namespace meridavolt {

// A grip being dragged: which panel moves, where it would dock if released
// now, and the docking itself on release. Locations are in the window
// content's coordinates; `layoutSize` is the content's current size.
class PanelDocking {
public:
    explicit PanelDocking(LayoutSettings& settings) : settings_(settings) {}

    void move(Panel panel, Point location, Size layoutSize);
    // Stores the destination, if any; a release outside the content changes nothing.
    void release(Panel panel, Point location, Size layoutSize);
    void cancel();

    const std::optional<Panel>& movingPanel() const { return movingPanel_; }
    const std::optional<std::string>& panelDestination() const { return panelDestination_; }

    // After every change of the moving panel or its destination.
    Signal<> changed;

private:
    void set(std::optional<Panel> panel, std::optional<std::string> destination);

    LayoutSettings& settings_;
    std::optional<Panel> movingPanel_;
    std::optional<std::string> panelDestination_;
};

// The memory strip's resize handle: the height follows the drag from the
// height it had when the drag began, and steps by 16 points for assistive
// technologies; always within 54…180.
class MemoryResize {
public:
    explicit MemoryResize(LayoutSettings& settings) : settings_(settings) {}

    void change(double verticalTranslation);
    void end() { resizeStart_.reset(); }
    void increment();
    void decrement();

    bool isResizing() const { return resizeStart_.has_value(); }

private:
    LayoutSettings& settings_;
    std::optional<double> resizeStart_;
};

}  // namespace meridavolt
