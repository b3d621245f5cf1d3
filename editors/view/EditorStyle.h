#pragma once

#include <gtkmm/button.h>
#include <gtkmm/widget.h>

#include <string>

namespace meridavolt {

// Installs the editor sheets' style sheet (and the desktop's, for the shared
// icons), once per display.
void ensureEditorStyle();

// An image of a symbol name at a pixel size.
Gtk::Widget* makeSymbolImage(const std::string& symbol, int pixelSize = 16);

// A flat button showing only a symbol, named for assistive technologies and
// in its tooltip.
Gtk::Button* makeSymbolButton(const std::string& symbol, const std::string& label);
// The same with a tooltip of its own: the tooltip is drawn and may be cut
// short, the label read by assistive technologies is whole.
Gtk::Button* makeSymbolButton(const std::string& symbol, const std::string& help, const std::string& label);

}  // namespace meridavolt
