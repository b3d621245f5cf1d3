#include "platform/gdk/X11Desktop.h"

#include "platform/gdk/X11WindowView.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>
#include <X11/extensions/shapeconst.h>
#include <gdk/x11/gdkx.h>

namespace meridavolt::x11desktop {

namespace {

Display* xDisplay(GdkDisplay* display) { return gdk_x11_display_get_xdisplay(display); }

bool managerSupports(GdkDisplay* display, const char* hint)
{
    return gdk_x11_screen_supports_net_wm_hint(gdk_x11_display_get_screen(display), hint);
}

void sendToManager(Display* display, Window window, const char* message, long a, long b, long c)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, message, False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = a;
    event.xclient.data.l[1] = b;
    event.xclient.data.l[2] = c;
    event.xclient.data.l[3] = 1;  // source: a normal application
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask,
               &event);
}

// The window last asked of the window manager, until the manager names the active window.
unsigned long requestedActive = 0;

}  // namespace

std::optional<unsigned long> activeWindow(GdkDisplay* display)
{
    Display* x = xDisplay(display);
    gdk_x11_display_error_trap_push(display);
    Window found = 0;
    if (managerSupports(display, "_NET_ACTIVE_WINDOW")) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long remaining = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(x, DefaultRootWindow(x), XInternAtom(x, "_NET_ACTIVE_WINDOW", False), 0, 1, False,
                               XA_WINDOW, &type, &format, &count, &remaining, &data) == Success &&
            data && type == XA_WINDOW && format == 32 && count == 1) {
            found = *reinterpret_cast<Window*>(data);
        }
        if (data) XFree(data);
        // A manager that has not yet taken in our request still names the window we hid.
        if (requestedActive && found != requestedActive && !viewable(display, found)) found = requestedActive;
        else requestedActive = 0;
    } else {
        Window focus = 0;
        int revert = 0;
        XGetInputFocus(x, &focus, &revert);
        if (focus != None && focus != PointerRoot) found = topLevelOf(display, focus);
    }
    gdk_x11_display_error_trap_pop_ignored(display);
    if (!found) return std::nullopt;
    return found;
}

bool holdsInputFocus(GdkSurface* surface)
{
    GdkDisplay* display = gdk_surface_get_display(surface);
    Display* x = xDisplay(display);
    const Window window = gdk_x11_surface_get_xid(surface);
    gdk_x11_display_error_trap_push(display);
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(x, &focus, &revert);
    // Walks up from the focus, which may be a child of the window.
    while (focus != None && focus != PointerRoot && focus != window && focus != DefaultRootWindow(x)) {
        focus = parentOf(display, focus);
    }
    gdk_x11_display_error_trap_pop_ignored(display);
    return focus == window;
}

void activateWindow(GdkDisplay* display, unsigned long window, std::uint32_t time)
{
    Display* x = xDisplay(display);
    gdk_x11_display_error_trap_push(display);
    if (managerSupports(display, "_NET_ACTIVE_WINDOW")) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(x, "_NET_ACTIVE_WINDOW", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = 2;  // source: a pager, which managers obey without focus-stealing checks
        event.xclient.data.l[1] = time;
        XSendEvent(x, DefaultRootWindow(x), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
        requestedActive = window;
    } else {
        XSetInputFocus(x, window, RevertToParent, time ? time : CurrentTime);
    }
    XSync(x, False);
    gdk_x11_display_error_trap_pop_ignored(display);
}

void floatOnAllWorkspaces(GdkSurface* surface)
{
    gdk_x11_surface_set_skip_taskbar_hint(surface, TRUE);
    gdk_x11_surface_set_skip_pager_hint(surface, TRUE);
    GdkDisplay* display = gdk_surface_get_display(surface);
    Display* x = xDisplay(display);
    const Window window = gdk_x11_surface_get_xid(surface);
    gdk_x11_display_error_trap_push(display);
    constexpr long add = 1;
    sendToManager(x, window, "_NET_WM_STATE", add, XInternAtom(x, "_NET_WM_STATE_ABOVE", False),
                  XInternAtom(x, "_NET_WM_STATE_STICKY", False));
    sendToManager(x, window, "_NET_WM_STATE", add, XInternAtom(x, "_NET_WM_STATE_SKIP_TASKBAR", False),
                  XInternAtom(x, "_NET_WM_STATE_SKIP_PAGER", False));
    sendToManager(x, window, "_NET_WM_DESKTOP", 0xFFFFFFFF, 1, 0);
    XFlush(x);
    gdk_x11_display_error_trap_pop_ignored(display);
}

void offerOnlyMoveAndClose(GdkSurface* surface)
{
    // The layout and bits of Motif's _MOTIF_WM_HINTS.
    struct {
        unsigned long flags, functions, decorations;
        long inputMode;
        unsigned long status;
    } hints{};
    constexpr unsigned long functionsGiven = 1ul << 0, decorationsGiven = 1ul << 1;
    constexpr unsigned long move = 1ul << 2, close = 1ul << 5;
    constexpr unsigned long border = 1ul << 1, titleBar = 1ul << 3, windowMenu = 1ul << 4;
    hints.flags = functionsGiven | decorationsGiven;
    hints.functions = move | close;
    hints.decorations = border | titleBar | windowMenu;
    GdkDisplay* display = gdk_surface_get_display(surface);
    Display* x = xDisplay(display);
    const Atom atom = XInternAtom(x, "_MOTIF_WM_HINTS", False);
    gdk_x11_display_error_trap_push(display);
    XChangeProperty(x, gdk_x11_surface_get_xid(surface), atom, atom, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&hints), 5);
    XFlush(x);
    gdk_x11_display_error_trap_pop_ignored(display);
}

void setOffScreen(GdkSurface* surface, bool off)
{
    GdkDisplay* display = gdk_surface_get_display(surface);
    Display* x = xDisplay(display);
    const Window window = gdk_x11_surface_get_xid(surface);
    gdk_x11_display_error_trap_push(display);
    XSetWindowAttributes attributes{};
    attributes.override_redirect = off ? True : False;
    XChangeWindowAttributes(x, window, CWOverrideRedirect, &attributes);
    constexpr int farAway = -10000;
    if (off) XMoveWindow(x, window, farAway, farAway);
    XFlush(x);
    gdk_x11_display_error_trap_pop_ignored(display);
}

void showNothing(GdkSurface* surface)
{
    GdkDisplay* display = gdk_surface_get_display(surface);
    Display* x = xDisplay(display);
    gdk_x11_display_error_trap_push(display);
    const XserverRegion nothing = XFixesCreateRegion(x, nullptr, 0);
    XFixesSetWindowShapeRegion(x, gdk_x11_surface_get_xid(surface), ShapeBounding, 0, 0, nothing);
    XFixesDestroyRegion(x, nothing);
    XFlush(x);
    gdk_x11_display_error_trap_pop_ignored(display);
}

void placeWindow(GdkSurface* surface, int x, int y)
{
    GdkDisplay* display = gdk_surface_get_display(surface);
    Display* xd = xDisplay(display);
    const Window window = gdk_x11_surface_get_xid(surface);
    gdk_x11_display_error_trap_push(display);
    XSizeHints* hints = XAllocSizeHints();
    long supplied = 0;
    if (hints) {
        XGetWMNormalHints(xd, window, hints, &supplied);
        hints->flags |= USPosition | PPosition;
        hints->x = x;
        hints->y = y;
        XSetWMNormalHints(xd, window, hints);
        XFree(hints);
    }
    XMoveWindow(xd, window, x, y);
    XFlush(xd);
    gdk_x11_display_error_trap_pop_ignored(display);
}

GdkMonitor* monitorUnderPointer(GdkDisplay* display)
{
    Display* x = xDisplay(display);
    Window root = 0;
    Window child = 0;
    int rootX = 0;
    int rootY = 0;
    int windowX = 0;
    int windowY = 0;
    unsigned mask = 0;
    const bool known = XQueryPointer(x, DefaultRootWindow(x), &root, &child, &rootX, &rootY, &windowX, &windowY,
                                     &mask);
    GListModel* monitors = gdk_display_get_monitors(display);
    GdkMonitor* first = nullptr;
    for (guint i = 0; i < g_list_model_get_n_items(monitors); ++i) {
        auto* monitor = GDK_MONITOR(g_list_model_get_item(monitors, i));
        g_object_unref(monitor);  // the list keeps it
        if (!first) first = monitor;
        GdkRectangle area;
        gdk_monitor_get_geometry(monitor, &area);
        const int scale = gdk_monitor_get_scale_factor(monitor);
        if (known && rootX >= area.x * scale && rootX < (area.x + area.width) * scale && rootY >= area.y * scale &&
            rootY < (area.y + area.height) * scale) {
            return monitor;
        }
    }
    return first;
}

}  // namespace meridavolt::x11desktop
