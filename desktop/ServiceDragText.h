#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace meridavolt {

// A service dragged out of the service bar travels as plain text: this prefix
// immediately followed by the service's id, nothing else.
inline constexpr std::string_view serviceDragPrefix = "meridavolt-service:";

std::string serviceDragText(const std::string& serviceID);

// The id carried by a dragged text, or none when the text does not start with
// the exact prefix. The id may be empty; it then names no service.
std::optional<std::string> serviceIDFromDragText(std::string_view text);

}  // namespace meridavolt
