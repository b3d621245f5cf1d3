#pragma once

#include "platform/gdk/WidgetStyle.h"

namespace meridavolt {

// Installs the desktop workspace's style sheet and makes the bundled icons
// reachable through the icon theme, once per display.
void ensureDesktopStyle();

// The platform's counterpart of Reduce Motion: the desktop's "animations off" setting.
bool reduceMotion();

}  // namespace meridavolt
