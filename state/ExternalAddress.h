#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace meridavolt {

// The scheme of an address, lower-cased; none when it starts with no valid scheme.
std::optional<std::string> addressScheme(std::string_view url);

// Whether an address may be handed to the desktop: web, mail and telephone
// addresses and other applications' own schemes. Addresses of local files and
// of the file manager's locations ("file:", "trash:", "smb:" ...), and those
// that carry their own content or script ("data:", "javascript:"), are never
// handed out: a services file could otherwise open or run anything on the machine.
bool mayOpenOutside(std::string_view url);

}  // namespace meridavolt
