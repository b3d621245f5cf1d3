#include "desktop/ServiceDragText.h"

namespace meridavolt {

std::string serviceDragText(const std::string& serviceID)
{
    return std::string(serviceDragPrefix) + serviceID;
}

std::optional<std::string> serviceIDFromDragText(std::string_view text)
{
    if (!text.starts_with(serviceDragPrefix)) return std::nullopt;
    return std::string(text.substr(serviceDragPrefix.size()));
}

}  // namespace meridavolt
