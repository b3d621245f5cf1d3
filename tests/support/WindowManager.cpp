#include "support/WindowManager.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <glib.h>
#include <sys/wait.h>

#include <chrono>
#include <csignal>
#include <thread>

namespace meridavolt::testing {

namespace {

// Whether the root window names a supporting window manager.
bool managerAnnounced(Display* display)
{
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW, &type, &format, &count,
                       &after, &data);
    if (data) XFree(data);
    return count == 1;
}

}  // namespace

WindowManager::~WindowManager()
{
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
    g_spawn_close_pid(pid_);
}

bool WindowManager::start()
{
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    gchar* argv[] = {const_cast<gchar*>("openbox"), const_cast<gchar*>("--sm-disable"), nullptr};
    GPid pid = 0;
    if (!g_spawn_async(nullptr, argv, nullptr,
                       static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD |
                                                G_SPAWN_STDOUT_TO_DEV_NULL | G_SPAWN_STDERR_TO_DEV_NULL),
                       nullptr, nullptr, &pid, nullptr)) {
        XCloseDisplay(display);
        return false;
    }
    pid_ = pid;
    bool announced = false;
    for (int i = 0; i < 200 && !announced; ++i) {
        announced = managerAnnounced(display);
        if (!announced) std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    XCloseDisplay(display);
    return announced;
}

}  // namespace meridavolt::testing
