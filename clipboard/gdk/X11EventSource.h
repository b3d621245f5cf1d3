#pragma once

#include <functional>

#include <glib.h>

typedef struct _XDisplay Display;

namespace meridavolt {

// Hands each event (an XEvent*) that waits on an Xlib connection of our own to
// `handle` on the main loop: events readable on its socket, or already in
// Xlib's queue (Xlib reads events into it while it waits for a reply, and the
// socket then stays quiet).
GSource* watchX11Events(Display* display, std::function<void(void* event)> handle);
void stopWatching(GSource* source);

}  // namespace meridavolt
