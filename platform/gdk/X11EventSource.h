#pragma once

#include <functional>

#include <glib.h>

typedef struct _XDisplay Display;

namespace meridavolt {

// Runs `dispatch` on the main loop whenever events wait on an Xlib connection
// of our own: readable on its socket, or already in Xlib's queue (Xlib reads
// events into it while it waits for a reply, and the socket then stays quiet).
GSource* watchX11Events(Display* display, std::function<void()> dispatch);
void stopWatching(GSource* source);

}  // namespace meridavolt
