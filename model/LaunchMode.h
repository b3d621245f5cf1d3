#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace meridavolt {

// Where a service opens: inside the window, or handed to another application
// or the default browser.
enum class LaunchMode { embedded, external };

inline constexpr std::array<LaunchMode, 2> allLaunchModes{LaunchMode::embedded, LaunchMode::external};

// "embedded" or "external": the form stored in the data files.
std::string_view rawValue(LaunchMode mode);

// Exactly "embedded" or "external" (case-sensitive); anything else is nothing.
std::optional<LaunchMode> launchModeFromRawValue(std::string_view text);

}  // namespace meridavolt
