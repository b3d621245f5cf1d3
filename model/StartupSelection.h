#pragma once

#include "model/Service.h"

#include <optional>
#include <string>
#include <vector>

namespace meridavolt {

// The one-shot choice that opens the first service at start. Every explicit
// choice of the user cancels it.
struct StartupSelection {
    bool pending = true;

    void cancel() { pending = false; }

    // While pending: ends the choice and returns the first service's id (none
    // for an empty list). Afterwards: none.
    std::optional<std::string> finish(const std::vector<Service>& services);
};

}  // namespace meridavolt
