#include "clipboard/gdk/X11EventSource.h"

#include <X11/Xlib.h>

namespace meridavolt {

namespace {

struct ConnectionSource {
    GSource source;
    Display* display;
    GPollFD poll;
    std::function<void(void*)>* handle;
};

// Hands every waiting event to the handler, and stops as soon as a handler
// stopped the watch: its owner may have closed the connection by then.
void drainEvents(GSource* source)
{
    auto* watched = reinterpret_cast<ConnectionSource*>(source);
    while (!g_source_is_destroyed(source) && XPending(watched->display) > 0) {
        XEvent event;
        XNextEvent(watched->display, &event);
        (*watched->handle)(&event);
    }
}

GSourceFuncs connectionSourceFuncs{
    [](GSource* source, gint* timeout) -> gboolean {
        *timeout = -1;
        return XEventsQueued(reinterpret_cast<ConnectionSource*>(source)->display, QueuedAlready) > 0;
    },
    [](GSource* source) -> gboolean {
        auto* watched = reinterpret_cast<ConnectionSource*>(source);
        return (watched->poll.revents & G_IO_IN) || XEventsQueued(watched->display, QueuedAlready) > 0;
    },
    [](GSource* source, GSourceFunc, gpointer) -> gboolean {
        drainEvents(source);
        return G_SOURCE_CONTINUE;
    },
    [](GSource* source) { delete reinterpret_cast<ConnectionSource*>(source)->handle; },
    nullptr,
    nullptr,
};

}  // namespace

GSource* watchX11Events(Display* display, std::function<void(void* event)> handle)
{
    GSource* source = g_source_new(&connectionSourceFuncs, sizeof(ConnectionSource));
    auto* watched = reinterpret_cast<ConnectionSource*>(source);
    watched->display = display;
    watched->handle = new std::function<void(void*)>(std::move(handle));
    watched->poll = GPollFD{ConnectionNumber(display), G_IO_IN, 0};
    g_source_add_poll(source, &watched->poll);
    g_source_attach(source, nullptr);
    return source;
}

void stopWatching(GSource* source)
{
    g_source_destroy(source);
    g_source_unref(source);
}

}  // namespace meridavolt
