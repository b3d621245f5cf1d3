#include "update/RunningBuild.h"

#include <charconv>

#define MERIDAVOLT_TEXT(value) #value
#define MERIDAVOLT_EXPANDED_TEXT(value) MERIDAVOLT_TEXT(value)

namespace meridavolt {

std::int64_t parseBuildNumber(std::string_view text)
{
    if (text.starts_with('+')) {
        text.remove_prefix(1);
        if (text.starts_with('-')) return 0;
    }
    std::int64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return 0;
    return value;
}

std::int64_t runningBuildNumber()
{
    // The build system passes the number as a bare token; its text is what counts.
    return parseBuildNumber(MERIDAVOLT_EXPANDED_TEXT(MERIDAVOLT_BUILD_NUMBER));
}

}  // namespace meridavolt
