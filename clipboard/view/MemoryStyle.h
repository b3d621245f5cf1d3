#pragma once

#include <gtkmm/widget.h>

#include <string>

namespace meridavolt {

// Installs the style sheet of the memory button, shelf and cards, once per display.
void ensureMemoryStyle();

// The name assistive technologies read for a widget; plain text.
void setMemoryAccessibleLabel(Gtk::Widget& widget, const std::string& label);

}  // namespace meridavolt
