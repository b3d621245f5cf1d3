#pragma once

#include <gtkmm/widget.h>

namespace meridavolt {

// The service buttons' press: the button shrinks a little and dims while it is
// pressed, easing out over 90 ms; with animations off it only dims.
void applyServicePressStyle(Gtk::Widget& button);

}  // namespace meridavolt
