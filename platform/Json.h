#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace meridavolt {

// Encodes the way the data files have always been written: one compact line,
// "/" escaped as "\/" inside strings. Throws nlohmann::json::type_error when a
// string is not valid UTF-8; callers turn that into a failed save.
std::string encodeDataFileJSON(const nlohmann::json& value);

}  // namespace meridavolt
