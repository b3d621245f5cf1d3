#include "clipboard/gdk/SelectionWatcher.h"

#include "clipboard/gdk/X11EventSource.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>
#include <glib.h>

#include <stdexcept>

namespace meridavolt {

namespace {

// More targets than any real owner offers; a longer list is cut here.
constexpr long maximumTargets = 256;

int ignoreErrors(Display*, XErrorEvent*)
{
    return 0;
}

}  // namespace

struct SelectionWatcher::Connection {
    Display* display = nullptr;
    Window window = 0;
    Atom clipboard = 0;
    Atom targets = 0;
    Atom property = 0;
    int fixesEventBase = 0;
    unsigned long pendingTime = 0;
};

SelectionWatcher::SelectionWatcher(const std::string& displayName) : connection_(std::make_unique<Connection>())
{
    Connection& c = *connection_;
    c.display = XOpenDisplay(displayName.c_str());
    if (!c.display) throw std::runtime_error("cannot open display " + displayName);
    int errorBase = 0;
    if (!XFixesQueryExtension(c.display, &c.fixesEventBase, &errorBase)) {
        XCloseDisplay(c.display);
        throw std::runtime_error("the display has no XFixes extension");
    }
    XSetWindowAttributes attributes{};
    c.window = XCreateWindow(c.display, DefaultRootWindow(c.display), -1, -1, 1, 1, 0, CopyFromParent, InputOnly,
                             CopyFromParent, 0, &attributes);
    c.clipboard = XInternAtom(c.display, "CLIPBOARD", False);
    c.targets = XInternAtom(c.display, "TARGETS", False);
    c.property = XInternAtom(c.display, "MERIDAVOLT_TARGETS", False);
    XFixesSelectSelectionInput(c.display, c.window, c.clipboard, XFixesSetSelectionOwnerNotifyMask);
    XFlush(c.display);

    watchSource_ = watchX11Events(c.display, [this](void* event) { handleEvent(event); });
}

SelectionWatcher::~SelectionWatcher()
{
    cancelTargets();
    stopWatching(watchSource_);
    XDestroyWindow(connection_->display, connection_->window);
    XCloseDisplay(connection_->display);
}

unsigned long SelectionWatcher::currentOwner()
{
    return XGetSelectionOwner(connection_->display, connection_->clipboard);
}

void SelectionWatcher::requestTargets(unsigned long time, unsigned timeoutMilliseconds,
                                      std::function<void(Targets)> done)
{
    cancelTargets();
    Connection& c = *connection_;
    pendingTargets_ = std::move(done);
    c.pendingTime = time;
    XConvertSelection(c.display, c.clipboard, c.targets, c.property, c.window, time);
    XFlush(c.display);
    timeoutSource_ = g_timeout_add(
        timeoutMilliseconds,
        [](gpointer self) -> gboolean {
            auto* watcher = static_cast<SelectionWatcher*>(self);
            watcher->timeoutSource_ = 0;
            watcher->finishTargets(std::nullopt);
            return G_SOURCE_REMOVE;
        },
        this);
}

void SelectionWatcher::cancelTargets()
{
    pendingTargets_ = nullptr;
    if (timeoutSource_) g_source_remove(timeoutSource_);
    timeoutSource_ = 0;
}

void SelectionWatcher::finishTargets(Targets targets)
{
    auto done = std::move(pendingTargets_);
    cancelTargets();
    if (done) done(std::move(targets));
}

void SelectionWatcher::handleEvent(void* rawEvent)
{
    Connection& c = *connection_;
    auto& event = *static_cast<XEvent*>(rawEvent);
    if (event.type == c.fixesEventBase + XFixesSelectionNotify) {
        const auto& notify = reinterpret_cast<const XFixesSelectionNotifyEvent&>(event);
        if (notify.selection == c.clipboard && ownerChanged) ownerChanged(notify.owner, notify.selection_timestamp);
        return;
    }
    if (event.type != SelectionNotify) return;
    const XSelectionEvent& reply = event.xselection;
    if (!pendingTargets_ || reply.requestor != c.window || reply.target != c.targets ||
        reply.time != c.pendingTime) {
        return;
    }
    if (reply.property == None) return finishTargets(std::nullopt);

    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    int result = XGetWindowProperty(c.display, c.window, c.property, 0, maximumTargets, True, AnyPropertyType, &type,
                                    &format, &count, &remaining, &data);
    if (result != Success || type != XA_ATOM || format != 32) {
        if (data) XFree(data);
        return finishTargets(std::nullopt);
    }
    // An owner can announce atoms that do not exist; naming them must not
    // reach the default error handler, which ends the process.
    std::vector<std::string> names;
    auto* atoms = reinterpret_cast<Atom*>(data);
    auto previousHandler = XSetErrorHandler(ignoreErrors);
    for (unsigned long i = 0; i < count; ++i) {
        if (char* name = XGetAtomName(c.display, atoms[i])) {
            names.emplace_back(name);
            XFree(name);
        }
    }
    XSync(c.display, False);
    XSetErrorHandler(previousHandler);
    XFree(data);
    finishTargets(std::move(names));
}

}  // namespace meridavolt
