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

// A button with a mnemonic label (a dialog's answer) is named by its label
// and again by the label widget that points at it, so assistive
// technologies read its name twice: this keeps the first.
void keepOneName(Gtk::Widget& widget);

}  // namespace meridavolt
