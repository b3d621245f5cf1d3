#pragma once

#include <string>

namespace meridavolt {

// A named shortcut to one page of a service.
struct QuickAction {
    std::string title{};
    std::string url{};

    // Lists key actions by their address: two actions with the same address
    // are the same item.
    const std::string& id() const { return url; }

    friend bool operator==(const QuickAction&, const QuickAction&) = default;
};

}  // namespace meridavolt
