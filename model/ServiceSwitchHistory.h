#pragma once

#include <optional>
#include <string>

namespace meridavolt {

// The service visited last and the one before it, for "back to the previous
// service".
struct ServiceSwitchHistory {
    std::optional<std::string> current;
    std::optional<std::string> previous;

    // A visit of the current service changes nothing; otherwise the current
    // one becomes the previous one.
    void visit(const std::string& id);

    // Forgets the id wherever it stands; the previous one is never promoted.
    void remove(const std::string& id);
};

}  // namespace meridavolt
