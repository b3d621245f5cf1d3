#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace meridavolt::WebsiteURL {

// The one validator of web addresses typed by the user. Returns the accepted
// http or https address, which is the trimmed text as typed (with "https://"
// put in front when it names no scheme), or nothing. Nothing is repaired:
// inner blanks, other schemes, a missing host and a user name or password are
// refused.
std::optional<std::string> parse(std::string_view text);

}  // namespace meridavolt::WebsiteURL
