#include "model/LaunchMode.h"

namespace meridavolt {

std::string_view rawValue(LaunchMode mode)
{
    switch (mode) {
    case LaunchMode::embedded: return "embedded";
    case LaunchMode::external: return "external";
    }
    return "embedded";
}

std::optional<LaunchMode> launchModeFromRawValue(std::string_view text)
{
    for (LaunchMode mode : allLaunchModes) {
        if (rawValue(mode) == text) return mode;
    }
    return std::nullopt;
}

}  // namespace meridavolt
