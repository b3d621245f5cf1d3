#pragma once

#include <string>
#include <string_view>

namespace meridavolt {

// SHA-256 of the bytes as 64 lowercase hexadecimal digits.
std::string sha256Hex(std::string_view bytes);

}  // namespace meridavolt
