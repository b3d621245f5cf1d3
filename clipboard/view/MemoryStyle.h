#pragma once

#include "platform/gdk/WidgetStyle.h"

namespace meridavolt {

// Installs the style sheet of the memory button, shelf and cards, once per display.
void ensureMemoryStyle();

}  // namespace meridavolt
