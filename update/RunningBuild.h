#pragma once

#include <cstdint>
#include <string_view>

namespace meridavolt {

// A build number text as a decimal integer (an optional sign, then digits
// only); anything else, such as a dotted version, counts as build 0.
std::int64_t parseBuildNumber(std::string_view text);

// The build number this program was built with.
std::int64_t runningBuildNumber();

}  // namespace meridavolt
