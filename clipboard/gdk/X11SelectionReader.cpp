#include "clipboard/gdk/X11SelectionReader.h"

#include "clipboard/gdk/X11EventSource.h"

#include <X11/Xlib.h>
#include <malloc.h>

#include <algorithm>
#include <stdexcept>

namespace meridavolt {

namespace {

// A refused read this large leaves freed memory in malloc's arenas unless it
// is handed back.
constexpr std::size_t trimAfterBytes = 1024 * 1024;

// XGetWindowProperty counts in 32-bit units.
long unitsFor(std::size_t bytes)
{
    return static_cast<long>(bytes / 4 + 1);
}

}  // namespace

struct X11SelectionReader::Connection {
    Display* display = nullptr;
    Atom property = 0;
    Atom incr = 0;
};

struct X11SelectionReader::Transfer {
    X11SelectionReader* reader = nullptr;
    Window window = 0;
    std::size_t limit = 0;
    bool incremental = false;
    ClipboardBytes received;
    std::function<void(std::optional<ClipboardBytes>)> done;
    guint timeoutSource = 0;
    guint cancelSource = 0;
    GCancellable* cancellable = nullptr;
    gulong cancelHandler = 0;

    // Keeps what fits under the limit + 1 byte; true when the limit is passed.
    bool keep(const unsigned char* data, unsigned long size)
    {
        const std::size_t room = limit + 1 - received.bytes.size();
        received.bytes.append(reinterpret_cast<const char*>(data), std::min<std::size_t>(size, room));
        received.oversize = received.bytes.size() > limit;
        return received.oversize;
    }
};

X11SelectionReader::X11SelectionReader(const std::string& displayName) : connection_(std::make_unique<Connection>())
{
    Connection& c = *connection_;
    c.display = XOpenDisplay(displayName.c_str());
    if (!c.display) throw std::runtime_error("cannot open display " + displayName);
    c.property = XInternAtom(c.display, "MERIDAVOLT_SELECTION", False);
    c.incr = XInternAtom(c.display, "INCR", False);
    watchSource_ = watchX11Events(c.display, [this](void* event) { handleEvent(event); });
}

X11SelectionReader::~X11SelectionReader()
{
    while (!transfers_.empty()) finish(transfers_.begin()->first, std::nullopt);
    stopWatching(watchSource_);
    XCloseDisplay(connection_->display);
}

X11SelectionReader& X11SelectionReader::shared(const std::string& displayName)
{
    static std::map<std::string, std::unique_ptr<X11SelectionReader>> readers;
    auto& reader = readers[displayName];
    if (!reader) reader = std::make_unique<X11SelectionReader>(displayName);
    return *reader;
}

void X11SelectionReader::read(const std::string& selection, const std::string& target, unsigned long time,
                              std::size_t limit, std::chrono::milliseconds timeout, GCancellable* cancellable,
                              std::function<void(std::optional<ClipboardBytes>)> done)
{
    Connection& c = *connection_;
    XSetWindowAttributes attributes{};
    attributes.event_mask = PropertyChangeMask;
    const Window window = XCreateWindow(c.display, DefaultRootWindow(c.display), -1, -1, 1, 1, 0, CopyFromParent,
                                        InputOnly, CopyFromParent, CWEventMask, &attributes);
    auto transfer = std::make_unique<Transfer>();
    Transfer* t = transfer.get();
    t->reader = this;
    t->window = window;
    t->limit = limit;
    // Reserved, not touched: the memory grows with what arrives, without the
    // copies of a growing string.
    t->received.bytes.reserve(limit + 1);
    t->done = std::move(done);
    t->timeoutSource = g_timeout_add(static_cast<guint>(timeout.count()), [](gpointer data) -> gboolean {
        auto* late = static_cast<Transfer*>(data);
        late->timeoutSource = 0;
        late->reader->finish(late->window, std::nullopt);
        return G_SOURCE_REMOVE;
    }, t);
    if (cancellable) {
        t->cancellable = G_CANCELLABLE(g_object_ref(cancellable));
        // Finished from an idle: a cancelled handler cannot disconnect itself.
        t->cancelHandler = g_cancellable_connect(
            cancellable, G_CALLBACK(+[](GCancellable*, gpointer data) {
                auto* cancelled = static_cast<Transfer*>(data);
                if (cancelled->cancelSource) return;
                cancelled->cancelSource = g_idle_add(
                    [](gpointer inner) -> gboolean {
                        auto* ended = static_cast<Transfer*>(inner);
                        ended->cancelSource = 0;
                        ended->reader->finish(ended->window, std::nullopt);
                        return G_SOURCE_REMOVE;
                    },
                    cancelled);
            }),
            t, nullptr);
    }
    transfers_.emplace(window, std::move(transfer));
    XConvertSelection(c.display, XInternAtom(c.display, selection.c_str(), False),
                      XInternAtom(c.display, target.c_str(), False), c.property, window, time);
    XFlush(c.display);
}

void X11SelectionReader::handleEvent(void* rawEvent)
{
    const auto& event = *static_cast<XEvent*>(rawEvent);
    if (event.type == SelectionNotify) {
        selectionArrived(event.xselection.requestor, event.xselection.property);
    } else if (event.type == PropertyNotify && event.xproperty.state == PropertyNewValue &&
               event.xproperty.atom == connection_->property) {
        chunkArrived(event.xproperty.window);
    }
}

void X11SelectionReader::selectionArrived(unsigned long window, unsigned long property)
{
    auto found = transfers_.find(window);
    if (found == transfers_.end() || found->second->incremental) return;
    Transfer& t = *found->second;
    if (property == None) return finish(window, std::nullopt);

    Connection& c = *connection_;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    // Never more than the limit + 1 byte crosses the connection.
    const int status = XGetWindowProperty(c.display, window, c.property, 0, unitsFor(t.limit), False,
                                          AnyPropertyType, &type, &format, &count, &remaining, &data);
    // Deleted whole, also when cut: the server lets go of it too. For INCR
    // the deletion asks the owner for its first chunk.
    XDeleteProperty(c.display, window, c.property);
    XFlush(c.display);
    if (status != Success) return finish(window, std::nullopt);
    if (type == c.incr) {
        if (data) XFree(data);
        t.incremental = true;
        return;
    }
    const bool usable = format == 8 && type != None;
    if (usable) t.keep(data, count);
    if (data) XFree(data);
    if (!usable) return finish(window, std::nullopt);
    t.received.oversize = t.received.oversize || remaining > 0;
    finish(window, std::move(t.received));
}

void X11SelectionReader::chunkArrived(unsigned long window)
{
    auto found = transfers_.find(window);
    if (found == transfers_.end() || !found->second->incremental) return;
    Transfer& t = *found->second;
    Connection& c = *connection_;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    // Reading the whole chunk deletes it, which asks the owner for the next.
    const std::size_t room = t.limit + 1 - t.received.bytes.size();
    const int status = XGetWindowProperty(c.display, window, c.property, 0, unitsFor(room), True, AnyPropertyType,
                                          &type, &format, &count, &remaining, &data);
    if (status != Success || (count > 0 && format != 8)) {
        if (data) XFree(data);
        return finish(window, std::nullopt);
    }
    const bool full = t.keep(data, count) || remaining > 0;
    if (data) XFree(data);
    XFlush(c.display);
    if (full) t.received.oversize = true;
    // An empty chunk ends the transfer.
    if (full || count == 0) finish(window, std::move(t.received));
}

void X11SelectionReader::finish(unsigned long window, std::optional<ClipboardBytes> outcome)
{
    auto found = transfers_.find(window);
    if (found == transfers_.end()) return;
    std::unique_ptr<Transfer> t = std::move(found->second);
    transfers_.erase(found);
    if (t->timeoutSource) g_source_remove(t->timeoutSource);
    if (t->cancelSource) g_source_remove(t->cancelSource);
    if (t->cancellable) {
        g_cancellable_disconnect(t->cancellable, t->cancelHandler);
        g_object_unref(t->cancellable);
    }
    // The owner's further chunks now fail on a window that no longer exists.
    XDestroyWindow(connection_->display, window);
    XFlush(connection_->display);

    const std::size_t received = outcome ? outcome->bytes.size() : t->received.bytes.size();
    const bool refused = !outcome || outcome->oversize;
    t->received = {};
    if (outcome && outcome->bytes.size() < outcome->bytes.capacity() / 2) outcome->bytes.shrink_to_fit();
    t->done(std::move(outcome));
    if (refused && received >= trimAfterBytes) malloc_trim(0);
}

}  // namespace meridavolt
