#pragma once

#include <stdexcept>
#include <string>

namespace meridavolt {

// A data file that is not the JSON its reader expects: malformed or non-UTF-8
// text, a missing key, a value of the wrong type, an unknown launch mode.
// `what()` names the place; the description is the text for the user.
class DecodingError : public std::runtime_error {
public:
    explicit DecodingError(const std::string& detail) : std::runtime_error(detail) {}

    std::string localizedDescription() const { return "データが正しいフォーマットでないため、読み込めませんでした。"; }
};

}  // namespace meridavolt
