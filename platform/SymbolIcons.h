#pragma once

#include <string>

namespace meridavolt {

// The data files name icons by their macOS symbol names ("play.rectangle.fill").
// The views show them as symbolic icons: ours, bundled in the resources under
// the icon theme path below, or the desktop theme's standard ones. An unknown
// name shows the globe, the icon of a web site.
inline constexpr const char* bundledIconsResourcePath = "/com/pellowright/meridavolt/icons";
inline constexpr const char* fallbackSymbolIcon = "meridavolt-globe-symbolic";

std::string iconNameForSymbol(const std::string& symbol);

}  // namespace meridavolt
