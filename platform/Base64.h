#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace meridavolt {

// Standard base64 (RFC 4648, section 4) with padding: the byte fields of the
// pins file and of the signed release manifest.
std::string encodeBase64(std::string_view bytes);

// Strict: only the standard alphabet, a length that is a multiple of four,
// "=" only as one or two final characters, and unused bits zero, so every
// byte string has exactly one accepted text. Nothing for anything else.
std::optional<std::string> decodeBase64(std::string_view text);

}  // namespace meridavolt
