#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace meridavolt {

// Encodes the way the data files have always been written: one compact line,
// "/" escaped as "\/" inside strings. Throws nlohmann::json::type_error when a
// string is not valid UTF-8; callers turn that into a failed save.
std::string encodeDataFileJSON(const nlohmann::json& value);

// The deepest nesting accepted when reading: encoding a value recurses once
// per level, so text nested far deeper would overflow the stack when it is
// written back.
inline constexpr int maximumJSONDepth = 256;

// Text nested deeper than maximumJSONDepth.
class JSONTooDeepError : public nlohmann::json::exception {
public:
    JSONTooDeepError() : exception(0, "JSON nested too deeply") {}
};

// Parses JSON text. Throws nlohmann::json::exception for text that is not
// JSON, and JSONTooDeepError (one of them) as soon as the nesting goes past
// maximumJSONDepth.
nlohmann::json parseJSONWithinDepth(std::string_view text);

}  // namespace meridavolt
