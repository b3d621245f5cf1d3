#include "desktop/ServiceRail.h"

namespace meridavolt {

ServiceClick serviceClick(ClickModifiers modifiers, bool reorderInProgress)
{
    if (modifiers.control || reorderInProgress) return ServiceClick::ignore;
    if (modifiers.alt) return ServiceClick::showQuickActions;
    return ServiceClick::activate;
}

std::string serviceHelpText(const std::string& name, bool isFirstService)
{
    std::string help = name;
    if (isFirstService) help += " · 起動時に開く";
    help += " · Ctrlドラッグで並べ替え";
    return help;
}

ServiceRailGeometry::ServiceRailGeometry(bool horizontal, std::map<std::string, Rect> frames, double visibleLength)
    : horizontal_(horizontal), frames_(std::move(frames)), visibleLength_(visibleLength)
{
}

std::optional<std::string> ServiceRailGeometry::insertionTarget(double position,
                                                                const std::vector<std::string>& orderedIDs) const
{
    for (const auto& id : orderedIDs) {
        auto frame = frames_.find(id);
        if (frame == frames_.end()) continue;
        const double middle = horizontal_ ? frame->second.midX() : frame->second.midY();
        if (position < middle) return id;
    }
    return std::nullopt;
}

bool ServiceRailGeometry::acceptsDrop(Point location) const
{
    const double main = mainAxis(location);
    const double cross = crossAxis(location);
    return cross >= 0 && cross <= rail::dropCrossExtent && main >= 0 && main <= visibleLength_;
}

}  // namespace meridavolt
