#include "model/StartupSelection.h"

namespace meridavolt {

std::optional<std::string> StartupSelection::finish(const std::vector<Service>& services)
{
    if (!pending) return std::nullopt;
    pending = false;
    if (services.empty()) return std::nullopt;
    return services.front().id;
}

}  // namespace meridavolt
