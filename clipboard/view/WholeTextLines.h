#pragma once

#include <gtkmm/label.h>

#include <string_view>

namespace meridavolt {

// Shows a text in a wrapping label whose line limit (set_lines) holds for the
// whole text. GTK counts that limit per paragraph, so each line break starts
// the count again; here every break becomes a line separator (U+2028), which
// ends a line without starting a paragraph. The caller cuts the text to the
// limit's number of lines first. Nothing is redrawn when the text is the same.
void setWholeTextLines(Gtk::Label& label, std::string_view text);

}  // namespace meridavolt
