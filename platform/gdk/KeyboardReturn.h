#pragma once

#include <gtkmm/window.h>

namespace meridavolt {

// A sheet or dialog over the window it is transient for takes the keyboard
// when shown and gives it back to that window when hidden. Without a window
// manager nothing else gives it back, and the toolkit's own request carries
// the time of the last input, which the X server refuses as older than the
// hiding that moved the focus.
void presentTakingKeyboard(Gtk::Window& window);

// Hides the window; when it held the keyboard, or was still being given it,
// the window beneath takes the keyboard back. One hidden while the user works
// in another program leaves the focus where it is.
void hideReturningKeyboard(Gtk::Window& window);

}  // namespace meridavolt
