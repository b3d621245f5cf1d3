#pragma once

#include <optional>
#include <string>
#include <string_view>

// Small readings of an address text that the session's decisions need.
namespace meridavolt::WebAddress {

// The scheme in lower case, or none when the text does not start with one.
std::optional<std::string> lowercaseScheme(std::string_view address);

// The host in lower case, or none when the address has no (or an empty) host,
// or one that a browser engine might read differently.
std::optional<std::string> lowercaseHost(std::string_view address);

// Whether the address is an http or https address, whatever the scheme's case.
bool isWeb(std::string_view address);

// Whether a browser engine reads the text as a javascript: address: its URL
// parser drops leading spaces and control characters and every tab and line
// break before it reads the scheme.
bool runsScript(std::string_view address);

}  // namespace meridavolt::WebAddress
