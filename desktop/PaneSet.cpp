#include "desktop/PaneSet.h"

#include <algorithm>

namespace meridavolt {

namespace {

bool contains(const std::vector<std::string>& ids, const std::string& id)
{
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

}  // namespace

PaneSet PaneSet::from(const std::optional<std::string>& selectedID, const std::optional<std::string>& secondaryID,
                      const std::vector<std::string>& mountedIDs, const std::vector<std::string>& libraryIDs)
{
    PaneSet set;
    set.showsStartupMark = !selectedID;

    // Mounted panes follow the library's order, so a switch never reorders them.
    for (const auto& id : libraryIDs) {
        if (!contains(mountedIDs, id) || id == secondaryID) continue;
        if (std::any_of(set.primary.begin(), set.primary.end(), [&](const auto& pane) { return pane.serviceID == id; }))
            continue;
        set.primary.push_back(PrimaryPane{id, id == selectedID, false});
    }
    if (selectedID && contains(libraryIDs, *selectedID) && !contains(mountedIDs, *selectedID) &&
        selectedID != secondaryID) {
        set.primary.push_back(PrimaryPane{*selectedID, true, true});
    }
    if (secondaryID && contains(libraryIDs, *secondaryID)) set.secondaryID = secondaryID;
    return set;
}

std::optional<std::string> PaneSet::visiblePrimaryID() const
{
    for (const auto& pane : primary) {
        if (pane.visible) return pane.serviceID;
    }
    return std::nullopt;
}

}  // namespace meridavolt
