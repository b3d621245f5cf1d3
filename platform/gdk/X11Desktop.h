#pragma once

#include <gdk/gdk.h>

#include <cstdint>
#include <optional>

// What GTK 4 does not offer for a floating window on X11, done on the
// window's X id through GDK's own connection. Every request traps X errors:
// the windows named may belong to other clients and be gone already.
namespace meridavolt::x11desktop {

// The top-level window that has the keyboard focus: the window manager's
// _NET_ACTIVE_WINDOW, or the X input focus when no EWMH manager runs. Until
// the manager has acted on our `activateWindow` (it still names a window
// that is gone from the screen), the window asked for.
std::optional<unsigned long> activeWindow(GdkDisplay* display);

// Whether the X input focus is on the window or inside it.
bool holdsInputFocus(GdkSurface* surface);

// Gives a window the focus: asked of the window manager as a pager would
// (it then also raises the window), or set directly without one.
void activateWindow(GdkDisplay* display, unsigned long window, std::uint32_t time);

// Keeps a mapped window above the others and on every workspace, and out of
// task bars and pagers.
void floatOnAllWorkspaces(GdkSurface* surface);

// Asks the window manager for a title bar with a close button and nothing
// to minimise, maximise or resize the window with (the Motif hints, which
// managers read for this; the allowed actions are theirs to set). Call
// after the toolkit realized the window, since it writes the same hints then.
void offerOnlyMoveAndClose(GdkSurface* surface);

// Takes a top-level window out of the window manager's hands and off every
// screen (`off` true), or gives it back: mapped while out, it is drawn
// without anyone seeing it and without taking the focus.
void setOffScreen(GdkSurface* surface, bool off);

// Gives a window an empty shape: mapped, it shows nothing on the screen and
// takes no input, while its own drawing still happens. For a surface that
// is thrown away afterwards.
void showNothing(GdkSurface* surface);

// Moves a window so that its top-left corner is at (x, y) of the screen, and
// tells the window manager that the program chose the place.
void placeWindow(GdkSurface* surface, int x, int y);

// The monitor under the mouse pointer; the first one when that is unknown.
GdkMonitor* monitorUnderPointer(GdkDisplay* display);

}  // namespace meridavolt::x11desktop
