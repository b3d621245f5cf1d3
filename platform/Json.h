#pragma once

#include <nlohmann/json.hpp>

#include <cstddef>
#include <string>
#include <string_view>

namespace meridavolt {

// Encodes the way the data files have always been written: one compact line,
// "/" escaped as "\/" inside strings. Throws nlohmann::json::type_error when a
// string is not valid UTF-8; callers turn that into a failed save.
std::string encodeDataFileJSON(const nlohmann::json& value);

// The deepest nesting accepted when reading, far past the few levels the data
// files use: encoding a value recurses once per level, so text nested far
// deeper would overflow the stack when it is written back.
inline constexpr int maximumJSONDepth = 256;

// How many values (texts, numbers, containers) a data file of this size may
// hold. The files we write spend well over eight bytes of text on each value,
// while the tree keeps a hundred bytes or so for it: text packed denser than
// that is no file of ours, and would cost many times its size to hold.
constexpr std::size_t maximumJSONValues(std::size_t textBytes) { return textBytes / 8 + 4096; }

// Text nested deeper than maximumJSONDepth, or holding more values than its
// reader allows.
class JSONBeyondLimitsError : public nlohmann::json::exception {
public:
    JSONBeyondLimitsError() : exception(0, "JSON nested too deeply or holding too many values") {}
};

// Parses the text of a data file. Throws nlohmann::json::exception for text
// that is not JSON, and JSONBeyondLimitsError (one of them) as soon as the
// nesting goes past maximumJSONDepth or the values past maximumValues, before
// the tree grows any further.
nlohmann::json parseDataFileJSON(std::string_view text, std::size_t maximumValues);
inline nlohmann::json parseDataFileJSON(std::string_view text)
{
    return parseDataFileJSON(text, maximumJSONValues(text.size()));
}

}  // namespace meridavolt
