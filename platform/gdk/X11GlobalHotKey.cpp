#include "platform/gdk/X11GlobalHotKey.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <gdk/x11/gdkx.h>
#include <glib-unix.h>
#include <glib.h>

#include <cstdlib>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace meridavolt {

namespace {

constexpr unsigned hotKeyModifiers = ControlMask | Mod1Mask;

// The first error on the hot key's connection while a grab is checked. Xlib
// has one error handler per process: it is ours only for that moment.
Display* trappedDisplay = nullptr;
int trappedError = Success;

int trapError(Display* display, XErrorEvent* error)
{
    if (display == trappedDisplay && trappedError == Success) trappedError = error->error_code;
    return 0;
}

// The modifier bit the Num Lock key sets; 0 when no key is Num Lock.
unsigned numLockMask(Display* display)
{
    const KeyCode numLock = XKeysymToKeycode(display, XK_Num_Lock);
    XModifierKeymap* map = XGetModifierMapping(display);
    unsigned mask = 0;
    for (int modifier = 0; map && numLock && modifier < 8; ++modifier) {
        for (int key = 0; key < map->max_keypermod; ++key) {
            if (map->modifiermap[modifier * map->max_keypermod + key] == numLock) mask = 1u << modifier;
        }
    }
    if (map) XFreeModifiermap(map);
    return mask;
}

}  // namespace

struct X11GlobalHotKey::Connection {
    Display* display = nullptr;
    Window root = 0;
    KeyCode space = 0;
    std::vector<unsigned> variants;
    bool detectableRepeat = false;
};

X11GlobalHotKey::X11GlobalHotKey(const std::string& displayName) : connection_(std::make_unique<Connection>())
{
    Connection& c = *connection_;
    c.display = XOpenDisplay(displayName.c_str());
    if (!c.display) throw std::runtime_error("cannot open display " + displayName);
    c.root = DefaultRootWindow(c.display);
    c.space = XKeysymToKeycode(c.display, XK_space);
    const unsigned numLock = numLockMask(c.display);
    c.variants = {hotKeyModifiers, hotKeyModifiers | LockMask};
    if (numLock && numLock != LockMask) {
        c.variants.push_back(hotKeyModifiers | numLock);
        c.variants.push_back(hotKeyModifiers | numLock | LockMask);
    }
    // A held key then repeats presses only, without the release in between.
    Bool supported = False;
    c.detectableRepeat = XkbSetDetectableAutoRepeat(c.display, True, &supported) && supported;
}

X11GlobalHotKey::~X11GlobalHotKey()
{
    if (watchSource_) g_source_remove(watchSource_);
    if (drainSource_) g_source_remove(drainSource_);
    XCloseDisplay(connection_->display);
}

bool X11GlobalHotKey::start(Pressed pressed)
{
    Connection& c = *connection_;
    if (!c.space || watchSource_) return false;

    // Another client's grab of the same combination fails with BadAccess,
    // which arrives only once the server has answered: sync before reading it.
    XSync(c.display, False);
    trappedDisplay = c.display;
    trappedError = Success;
    auto previousHandler = XSetErrorHandler(trapError);
    for (unsigned modifiers : c.variants) {
        XGrabKey(c.display, c.space, modifiers, c.root, False, GrabModeAsync, GrabModeAsync);
    }
    XSync(c.display, False);
    const bool granted = trappedError == Success;
    if (!granted) {
        // Ungrabbing releases only our own grabs, never the other client's.
        for (unsigned modifiers : c.variants) XUngrabKey(c.display, c.space, modifiers, c.root);
        XSync(c.display, False);
    }
    XSetErrorHandler(previousHandler);
    trappedDisplay = nullptr;
    if (!granted) return false;

    pressed_ = std::move(pressed);
    watchSource_ = g_unix_fd_add(
        ConnectionNumber(c.display), G_IO_IN,
        [](int, GIOCondition, gpointer self) -> gboolean {
            static_cast<X11GlobalHotKey*>(self)->dispatch();
            return G_SOURCE_CONTINUE;
        },
        this);
    // The syncs may have read events into Xlib's queue without the socket
    // staying readable.
    drainSource_ = g_idle_add(
        [](gpointer self) -> gboolean {
            auto* hotKey = static_cast<X11GlobalHotKey*>(self);
            hotKey->drainSource_ = 0;
            hotKey->dispatch();
            return G_SOURCE_REMOVE;
        },
        this);
    return true;
}

void X11GlobalHotKey::dispatch()
{
    Display* display = connection_->display;
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        handleEvent(&event);
    }
}

void X11GlobalHotKey::handleEvent(void* rawEvent)
{
    Connection& c = *connection_;
    const XKeyEvent& key = static_cast<XEvent*>(rawEvent)->xkey;
    if ((key.type != KeyPress && key.type != KeyRelease) || key.keycode != c.space) return;
    if (key.type == KeyRelease) {
        // Without detectable auto-repeat a held key repeats as a release and a
        // press with the same time: that release does not end the hold.
        if (!c.detectableRepeat && XEventsQueued(c.display, QueuedAfterReading) > 0) {
            XEvent next;
            XPeekEvent(c.display, &next);
            if (next.type == KeyPress && next.xkey.keycode == key.keycode && next.xkey.time == key.time) return;
        }
        held_ = false;
        return;
    }
    if (held_) return;
    held_ = true;
    if (pressed_) pressed_(static_cast<std::uint32_t>(key.time));
}

std::unique_ptr<GlobalHotKey> makeSessionHotKey()
{
    const char* sessionType = std::getenv("XDG_SESSION_TYPE");
    const char* waylandDisplay = std::getenv("WAYLAND_DISPLAY");
    if ((sessionType && std::string_view(sessionType) == "wayland") || (waylandDisplay && *waylandDisplay)) {
        return nullptr;
    }
    GdkDisplay* display = gdk_display_get_default();
    if (!display || !GDK_IS_X11_DISPLAY(display)) return nullptr;
    try {
        return std::make_unique<X11GlobalHotKey>(gdk_display_get_name(display));
    } catch (const std::runtime_error&) {
        return nullptr;
    }
}

}  // namespace meridavolt
