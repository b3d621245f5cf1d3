#pragma once

#include <optional>
#include <string>

namespace meridavolt {

// A random (version 4) UUID in the upper-case form the data files use.
std::string makeUUID();

// The canonical upper-case form of a UUID text in either case, or nothing
// when the text is not a UUID.
std::optional<std::string> canonicalUUID(const std::string& text);

}  // namespace meridavolt
