#include "LauncherDesktop.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>

namespace meridavolt::desktoptest {

namespace {

template <typename Condition>
bool poll(Condition condition)
{
    for (int i = 0; i < 200; ++i) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return false;
}

}  // namespace

LauncherDesktop::LauncherDesktop()
{
    display_ = XOpenDisplay(nullptr);
    if (!display_) throw std::runtime_error("no X display");
}

LauncherDesktop::~LauncherDesktop()
{
    if (helper_) XDestroyWindow(display_, helper_);
    XCloseDisplay(display_);
}

bool LauncherDesktop::startWindowManager()
{
    return manager_.start();
}

Window LauncherDesktop::openHelperWindow()
{
    helper_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 40, 40, 320, 200, 0, 0, 0xdddddd);
    XStoreName(display_, helper_, "another application");
    XWMHints hints{};
    hints.flags = InputHint;
    hints.input = True;
    XSetWMHints(display_, helper_, &hints);
    XSelectInput(display_, helper_, KeyPressMask);
    XMapWindow(display_, helper_);
    XSync(display_, False);
    poll([&] { return mapped(helper_); });
    if (manager_.running()) {
        xdotool("windowactivate --sync " + std::to_string(helper_));
        poll([&] { return activeWindow() == helper_; });
    } else {
        XSetInputFocus(display_, helper_, RevertToParent, CurrentTime);
        XSync(display_, False);
    }
    return helper_;
}

void LauncherDesktop::closeHelperWindow()
{
    XDestroyWindow(display_, helper_);
    XSync(display_, False);
    helper_ = 0;
}

std::string LauncherDesktop::typedIntoHelper()
{
    XSync(display_, False);
    XEvent event{};
    while (XCheckWindowEvent(display_, helper_, KeyPressMask, &event)) {
        char text[8] = {};
        const int length = XLookupString(&event.xkey, text, sizeof text, nullptr, nullptr);
        typed_.append(text, length);
    }
    return typed_;
}

Window LauncherDesktop::inputFocus()
{
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(display_, &focus, &revert);
    return focus;
}

Window LauncherDesktop::activeWindow()
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    Window active = 0;
    if (XGetWindowProperty(display_, DefaultRootWindow(display_), XInternAtom(display_, "_NET_ACTIVE_WINDOW", False),
                           0, 1, False, XA_WINDOW, &type, &format, &count, &after, &data) == Success &&
        data && count == 1) {
        active = *reinterpret_cast<Window*>(data);
    }
    if (data) XFree(data);
    return active;
}

Window LauncherDesktop::managedWindow(const std::string& wanted)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    Window found = 0;
    if (XGetWindowProperty(display_, DefaultRootWindow(display_), XInternAtom(display_, "_NET_CLIENT_LIST", False),
                           0, 1024, False, XA_WINDOW, &type, &format, &count, &after, &data) == Success &&
        data) {
        auto* windows = reinterpret_cast<Window*>(data);
        for (unsigned long i = 0; i < count && !found; ++i) {
            if (title(windows[i]) == wanted) found = windows[i];
        }
    }
    if (data) XFree(data);
    return found;
}

namespace {

std::vector<unsigned long> longs(Display* display, Window window, const char* property, Atom type)
{
    Atom actual = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<unsigned long> items;
    if (XGetWindowProperty(display, window, XInternAtom(display, property, False), 0, 1024, False, type, &actual,
                           &format, &count, &after, &data) == Success &&
        data && format == 32) {
        auto* values = reinterpret_cast<unsigned long*>(data);
        items.assign(values, values + count);
    }
    if (data) XFree(data);
    return items;
}

std::set<std::string> atomNames(Display* display, Window window, const char* property)
{
    std::set<std::string> names;
    for (unsigned long atom : longs(display, window, property, XA_ATOM)) {
        if (char* name = XGetAtomName(display, atom)) {
            names.insert(name);
            XFree(name);
        }
    }
    return names;
}

}  // namespace

std::set<std::string> LauncherDesktop::netWMState(Window window)
{
    return atomNames(display_, window, "_NET_WM_STATE");
}

std::set<std::string> LauncherDesktop::allowedActions(Window window)
{
    return atomNames(display_, window, "_NET_WM_ALLOWED_ACTIONS");
}

std::vector<unsigned long> LauncherDesktop::motifHints(Window window)
{
    return longs(display_, window, "_MOTIF_WM_HINTS", XInternAtom(display_, "_MOTIF_WM_HINTS", False));
}

unsigned long LauncherDesktop::currentDesktop()
{
    const auto current = longs(display_, DefaultRootWindow(display_), "_NET_CURRENT_DESKTOP", XA_CARDINAL);
    return current.empty() ? 0 : current.front();
}

bool LauncherDesktop::stackedAbove(Window upper, Window lower)
{
    const auto order = longs(display_, DefaultRootWindow(display_), "_NET_CLIENT_LIST_STACKING", XA_WINDOW);
    const auto upperAt = std::find(order.begin(), order.end(), upper);
    const auto lowerAt = std::find(order.begin(), order.end(), lower);
    return upperAt != order.end() && lowerAt != order.end() && upperAt > lowerAt;
}

unsigned long LauncherDesktop::desktopOf(Window window)
{
    const auto desktop = longs(display_, window, "_NET_WM_DESKTOP", XA_CARDINAL);
    return desktop.empty() ? 0 : desktop.front() & 0xFFFFFFFFul;
}

std::string LauncherDesktop::title(Window window)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string text;
    if (XGetWindowProperty(display_, window, XInternAtom(display_, "_NET_WM_NAME", False), 0, 1024, False,
                           XInternAtom(display_, "UTF8_STRING", False), &type, &format, &count, &after,
                           &data) == Success &&
        data) {
        text.assign(reinterpret_cast<char*>(data), count);
    }
    if (data) XFree(data);
    return text;
}

LauncherDesktop::Frame LauncherDesktop::frame(Window window)
{
    XWindowAttributes attributes{};
    XGetWindowAttributes(display_, window, &attributes);
    int x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates(display_, window, DefaultRootWindow(display_), 0, 0, &x, &y, &child);
    return {x, y, attributes.width, attributes.height};
}

bool LauncherDesktop::mapped(Window window)
{
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display_, window, &attributes) && attributes.map_state == IsViewable;
}

void LauncherDesktop::requestClose(Window window)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, window, False, NoEventMask, &event);
    XFlush(display_);
}

void LauncherDesktop::changeState(Window window, bool add, const char* state)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display_, "_NET_WM_STATE", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = add ? 1 : 0;
    event.xclient.data.l[1] = static_cast<long>(XInternAtom(display_, state, False));
    event.xclient.data.l[3] = 2;  // source: a pager, as the user's own tools are
    XSendEvent(display_, DefaultRootWindow(display_), False, SubstructureRedirectMask | SubstructureNotifyMask,
               &event);
    XFlush(display_);
}

bool LauncherDesktop::grabKey(const char* keysym, unsigned modifiers)
{
    static bool failed = false;
    failed = false;
    auto previous = XSetErrorHandler([](Display*, XErrorEvent*) {
        failed = true;
        return 0;
    });
    XGrabKey(display_, XKeysymToKeycode(display_, XStringToKeysym(keysym)), modifiers, DefaultRootWindow(display_),
             False, GrabModeAsync, GrabModeAsync);
    XSync(display_, False);
    XSetErrorHandler(previous);
    return !failed;
}

bool LauncherDesktop::xdotool(const std::string& arguments)
{
    gchar** argv = nullptr;
    if (!g_shell_parse_argv(("xdotool " + arguments).c_str(), nullptr, &argv, nullptr)) return false;
    GPid pid = 0;
    const bool started = g_spawn_async(nullptr, argv, nullptr,
                                       static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD |
                                                                G_SPAWN_STDOUT_TO_DEV_NULL |
                                                                G_SPAWN_STDERR_TO_DEV_NULL),
                                       nullptr, nullptr, &pid, nullptr);
    g_strfreev(argv);
    if (!started) return false;
    // Our own windows answer the window manager from this main loop while xdotool waits for them.
    struct Exit {
        bool done = false;
        int status = -1;
    } exit;
    g_child_watch_add(
        pid,
        [](GPid child, gint status, gpointer data) {
            auto* result = static_cast<Exit*>(data);
            result->status = status;
            result->done = true;
            g_spawn_close_pid(child);
        },
        &exit);
    while (!exit.done) g_main_context_iteration(nullptr, TRUE);
    return g_spawn_check_wait_status(exit.status, nullptr);
}

}  // namespace meridavolt::desktoptest
