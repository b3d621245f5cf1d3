#pragma once

#include <gtkmm/widget.h>

#include <string>

namespace meridavolt {

// Installs the desktop workspace's style sheet and makes the bundled icons
// reachable through the icon theme, once per display.
void ensureDesktopStyle();

// The platform's counterpart of Reduce Motion: the desktop's "animations off" setting.
bool reduceMotion();

// The name assistive technologies read for a widget.
void setAccessibleLabel(Gtk::Widget& widget, const std::string& label);

}  // namespace meridavolt
