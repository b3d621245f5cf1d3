#pragma once

#include <gdk/gdk.h>

// What the window manager really shows of one of our top-level windows on
// X11, judged from the server's state rather than the toolkit's flag: a
// manager may minimise a window, leave it on another workspace or stack
// another window over it without the toolkit's "visible" changing.
namespace meridavolt::x11desktop {

// True when the user sees the mapped window: it is viewable, neither
// minimised nor on another workspace, and no other window lies over any of
// it. Also true while the manager has not yet taken a window just mapped,
// so that a second request in that moment counts it as shown.
bool userSees(GdkSurface* surface);

// Whether the server shows the window mapped (its parents mapped too).
bool viewable(GdkSurface* surface);
bool viewable(GdkDisplay* display, unsigned long window);

// The window's parent; 0 when it has none or is gone.
unsigned long parentOf(GdkDisplay* display, unsigned long window);

// The child of the root window that holds `window`: the window itself
// without a manager, the manager's frame around it otherwise; 0 when none.
unsigned long topLevelOf(GdkDisplay* display, unsigned long window);

}  // namespace meridavolt::x11desktop
