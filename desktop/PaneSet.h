#pragma once

#include <optional>
#include <string>
#include <vector>

namespace meridavolt {

// One pane of the primary stack.
struct PrimaryPane {
    std::string serviceID;
    // Only the selected pane is visible and takes input; the others stay
    // mounted so that their pages keep running.
    bool visible = false;
    // The selected service when it is not mounted: shown as one extra pane.
    bool fallback = false;

    friend bool operator==(const PrimaryPane&, const PrimaryPane&) = default;
};

// What the split workspace shows for the application state: the start-up mark
// while nothing is selected, the stack of mounted panes, and the right-hand
// pane. A service never appears in both panes.
struct PaneSet {
    bool showsStartupMark = false;
    std::vector<PrimaryPane> primary;
    std::optional<std::string> secondaryID;

    static PaneSet from(const std::optional<std::string>& selectedID, const std::optional<std::string>& secondaryID,
                        const std::vector<std::string>& mountedIDs, const std::vector<std::string>& libraryIDs);

    std::optional<std::string> visiblePrimaryID() const;

    friend bool operator==(const PaneSet&, const PaneSet&) = default;
};

}  // namespace meridavolt
