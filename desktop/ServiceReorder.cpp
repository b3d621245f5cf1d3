#include "desktop/ServiceReorder.h"

#include "desktop/WorkspaceActions.h"

namespace meridavolt {

void ServiceReorder::move(const std::string& id, Point location, const ServiceRailGeometry& geometry)
{
    model_.cancelStartupSelection();
    set(id, geometry.insertionTarget(geometry.mainAxis(location), serviceIDs()));
}

bool ServiceReorder::release(const std::string& id, Point location, const ServiceRailGeometry& geometry)
{
    bool moved = false;
    if (geometry.acceptsDrop(location)) {
        const auto target = geometry.insertionTarget(geometry.mainAxis(location), serviceIDs());
        moved = actions::reorderService(model_, id, target);
    }
    set(std::nullopt, std::nullopt);
    return moved;
}

void ServiceReorder::cancel()
{
    set(std::nullopt, std::nullopt);
}

bool ServiceReorder::showsMarkerBefore(const std::string& id) const
{
    return draggedID_ && dropBeforeID_ == id;
}

bool ServiceReorder::showsMarkerAfterLast() const
{
    return draggedID_ && !dropBeforeID_;
}

void ServiceReorder::set(std::optional<std::string> dragged, std::optional<std::string> before)
{
    if (dragged == draggedID_ && before == dropBeforeID_) return;
    draggedID_ = std::move(dragged);
    dropBeforeID_ = std::move(before);
    changed.emit();
}

std::vector<std::string> ServiceReorder::serviceIDs() const
{
    std::vector<std::string> ids;
    for (const auto& service : model_.library().services) ids.push_back(service.id);
    return ids;
}

}  // namespace meridavolt
