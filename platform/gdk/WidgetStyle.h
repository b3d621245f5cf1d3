#pragma once

#include <gtkmm/widget.h>

#include <string>

namespace meridavolt {

// Adds a style sheet to the default display once: the display's data under
// `marker` remembers that it is there and keeps the provider alive. Returns
// false when there is no display or the sheet was already added.
bool addStyleSheetOnce(const char* marker, const char* styleSheet);

// The name assistive technologies read for a widget; plain text.
void setAccessibleLabel(Gtk::Widget& widget, const std::string& label);

}  // namespace meridavolt
