#pragma once

#include <gtkmm/window.h>

namespace meridavolt {

// A sheet, dialog or alert shown by this program takes the keyboard only from
// this program, and gives it back to where it was when hidden. Without a
// window manager nothing else gives it back, and the toolkit's own request
// carries the time of the last input, which the X server refuses as older
// than the hiding that moved the focus.

// Shows the window. While one of our windows holds the keyboard (or none
// does), the window takes it; while another program holds it, the window
// shows without taking it, so that no key meant for that program is lost.
void presentTakingKeyboard(Gtk::Window& window);

// Hides the window. When it holds the keyboard, the keyboard goes back to the
// window that held it when this one was shown: ours, raised, or another
// program's. One hidden while the keyboard is elsewhere leaves it there.
// Returns whether the window held the keyboard.
bool hideReturningKeyboard(Gtk::Window& window);

}  // namespace meridavolt
