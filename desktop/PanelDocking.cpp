#include "desktop/PanelDocking.h"

namespace meridavolt {

void PanelDocking::move(Panel panel, Point location, Size layoutSize)
{
    set(panel, destination(panel, location, layoutSize));
}

void PanelDocking::release(Panel panel, Point location, Size layoutSize)
{
    if (auto target = destination(panel, location, layoutSize)) {
        if (panel == Panel::memory) settings_.setMemoryPosition(*target);
        else settings_.setRailPosition(*target);
    }
    set(std::nullopt, std::nullopt);
}

void PanelDocking::cancel()
{
    set(std::nullopt, std::nullopt);
}

void PanelDocking::set(std::optional<Panel> panel, std::optional<std::string> destination)
{
    if (panel == movingPanel_ && destination == panelDestination_) return;
    movingPanel_ = panel;
    panelDestination_ = std::move(destination);
    changed.emit();
}

void MemoryResize::change(double verticalTranslation)
{
    const auto values = settings_.values();
    if (!resizeStart_) resizeStart_ = values.memoryHeight;
    settings_.setMemoryHeight(layout::resizedMemoryHeight(*resizeStart_, verticalTranslation, values.memoryPosition));
}

void MemoryResize::increment()
{
    settings_.setMemoryHeight(settings_.values().memoryHeight + layout::memoryHeightStep);
}

void MemoryResize::decrement()
{
    settings_.setMemoryHeight(settings_.values().memoryHeight - layout::memoryHeightStep);
}

}  // namespace meridavolt
