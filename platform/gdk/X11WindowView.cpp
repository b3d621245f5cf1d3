#include "platform/gdk/X11WindowView.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <gdk/x11/gdkx.h>

#include <algorithm>
#include <optional>
#include <vector>

namespace meridavolt::x11desktop {

namespace {

constexpr unsigned long allDesktops = 0xFFFFFFFFul;
constexpr long withdrawnState = 0;
constexpr long iconicState = 3;

// A property of 32-bit items (Xlib hands them over as longs).
std::vector<unsigned long> longsOf(Display* x, Window window, const char* name, Atom type)
{
    Atom actual = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    std::vector<unsigned long> items;
    if (XGetWindowProperty(x, window, XInternAtom(x, name, False), 0, 4096, False, type, &actual, &format, &count,
                           &remaining, &data) == Success &&
        data && actual == type && format == 32) {
        const auto* values = reinterpret_cast<unsigned long*>(data);
        items.assign(values, values + count);
    }
    if (data) XFree(data);
    return items;
}

std::optional<unsigned long> firstLongOf(Display* x, Window window, const char* name, Atom type)
{
    const auto items = longsOf(x, window, name, type);
    if (items.empty()) return std::nullopt;
    return items.front();
}

// ICCCM's WM_STATE, which a manager sets on every window it manages.
std::optional<long> wmState(Display* x, Window window)
{
    const Atom type = XInternAtom(x, "WM_STATE", False);
    const auto state = firstLongOf(x, window, "WM_STATE", type);
    if (!state) return std::nullopt;
    return static_cast<long>(*state);
}

bool minimised(Display* x, Window window)
{
    const auto states = longsOf(x, window, "_NET_WM_STATE", XA_ATOM);
    const Atom hidden = XInternAtom(x, "_NET_WM_STATE_HIDDEN", False);
    return std::find(states.begin(), states.end(), hidden) != states.end() || wmState(x, window) == iconicState;
}

bool onCurrentDesktop(Display* x, Window window)
{
    const auto current = firstLongOf(x, DefaultRootWindow(x), "_NET_CURRENT_DESKTOP", XA_CARDINAL);
    const auto desktop = firstLongOf(x, window, "_NET_WM_DESKTOP", XA_CARDINAL);
    if (!current || !desktop) return true;
    const unsigned long on = *desktop & allDesktops;
    return on == allDesktops || on == (*current & allDesktops);
}

struct Area {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool overlaps(const Area& other) const
    {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
};

// The window's area in root coordinates, when it is a viewable window that
// draws (override-redirect menus and tooltips pass over everything).
std::optional<Area> drawnArea(Display* x, Window window)
{
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(x, window, &attributes)) return std::nullopt;
    if (attributes.map_state != IsViewable || attributes.override_redirect || attributes.c_class != InputOutput) {
        return std::nullopt;
    }
    int left = 0;
    int top = 0;
    Window child = 0;
    XTranslateCoordinates(x, window, DefaultRootWindow(x), 0, 0, &left, &top, &child);
    return Area{left, top, left + attributes.width, top + attributes.height};
}

struct Stacking {
    std::vector<unsigned long> order;  // bottom first
    unsigned long ours = 0;  // the entry that stands for the window asked about
};

// The manager's stacking list of its clients, or the root's children when no
// manager keeps one.
Stacking stackingOf(GdkDisplay* display, Display* x, Window window)
{
    if (gdk_x11_screen_supports_net_wm_hint(gdk_x11_display_get_screen(display), "_NET_CLIENT_LIST_STACKING")) {
        return {longsOf(x, DefaultRootWindow(x), "_NET_CLIENT_LIST_STACKING", XA_WINDOW), window};
    }
    Stacking stacking{{}, topLevelOf(display, window)};
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(x, DefaultRootWindow(x), &root, &parent, &children, &count) && children) {
        stacking.order.assign(children, children + count);
    }
    if (children) XFree(children);
    return stacking;
}

bool covered(GdkDisplay* display, Display* x, Window window)
{
    const auto area = drawnArea(x, window);
    if (!area) return false;
    const Stacking stacking = stackingOf(display, x, window);
    auto ours = std::find(stacking.order.begin(), stacking.order.end(), stacking.ours);
    if (ours == stacking.order.end()) return false;
    return std::any_of(std::next(ours), stacking.order.end(), [&](unsigned long other) {
        const auto otherArea = drawnArea(x, other);
        return otherArea && otherArea->overlaps(*area) && !minimised(x, other);
    });
}

}  // namespace

unsigned long parentOf(GdkDisplay* display, unsigned long window)
{
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(gdk_x11_display_get_xdisplay(display), window, &root, &parent, &children, &count)) return 0;
    if (children) XFree(children);
    return parent;
}

unsigned long topLevelOf(GdkDisplay* display, unsigned long window)
{
    const Window rootWindow = DefaultRootWindow(gdk_x11_display_get_xdisplay(display));
    while (window && window != rootWindow) {
        const unsigned long parent = parentOf(display, window);
        if (parent == rootWindow) return window;
        window = parent;
    }
    return 0;
}

bool viewable(GdkDisplay* display, unsigned long window)
{
    gdk_x11_display_error_trap_push(display);
    XWindowAttributes attributes{};
    const bool shown = XGetWindowAttributes(gdk_x11_display_get_xdisplay(display), window, &attributes) &&
                       attributes.map_state == IsViewable;
    gdk_x11_display_error_trap_pop_ignored(display);
    return shown;
}

bool viewable(GdkSurface* surface)
{
    return viewable(gdk_surface_get_display(surface), gdk_x11_surface_get_xid(surface));
}

bool userSees(GdkSurface* surface)
{
    GdkDisplay* display = gdk_surface_get_display(surface);
    Display* x = gdk_x11_display_get_xdisplay(display);
    const Window window = gdk_x11_surface_get_xid(surface);
    gdk_x11_display_error_trap_push(display);
    XWindowAttributes attributes{};
    bool sees = false;
    if (XGetWindowAttributes(x, window, &attributes)) {
        if (attributes.map_state == IsViewable) {
            sees = !minimised(x, window) && onCurrentDesktop(x, window) && !covered(display, x, window);
        } else if (attributes.map_state == IsUnmapped) {
            // Mapped by us but not yet by the manager, which has not made it its own.
            const auto state = wmState(x, window);
            sees = !state || *state == withdrawnState;
        }
    }
    gdk_x11_display_error_trap_pop_ignored(display);
    return sees;
}

}  // namespace meridavolt::x11desktop
