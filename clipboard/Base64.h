#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace meridavolt {

// Standard base64 with padding, as the pins file stores bytes.
std::string encodeBase64(std::string_view bytes);

// Strict decoding: nothing for a length that is not a multiple of four,
// a character outside the alphabet, or misplaced padding.
std::optional<std::string> decodeBase64(std::string_view text);

}  // namespace meridavolt
