#pragma once

#include <string_view>

namespace meridavolt {

// Whether GLib and a browser engine read the same host out of an address.
// The engine ends the authority at a backslash ("https://evil.test\.youtube.com"
// loads evil.test) and decodes percent-escapes in the host by rules of its own,
// while GUri reads on; so an authority holding a backslash, or a host holding
// a "%", is ambiguous. Addresses without an authority are not.
bool hasUnambiguousHost(std::string_view address);

}  // namespace meridavolt
