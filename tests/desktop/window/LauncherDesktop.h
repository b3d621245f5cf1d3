#pragma once

#include "support/WindowManager.h"

#include <glib.h>

#include <set>
#include <string>
#include <vector>
#include <unistd.h>

struct _XDisplay;

namespace meridavolt::desktoptest {

// An X11 window id (Xlib's Window, whose header would clash with the test framework's).
using Window = unsigned long;

// The desktop around the launcher as other programs see it: a window manager
// (openbox) on the test's private display, another application's window
// holding the focus, and the properties the manager reads. One connection of
// its own.
class LauncherDesktop {
public:
    LauncherDesktop();
    ~LauncherDesktop();
    LauncherDesktop(const LauncherDesktop&) = delete;
    LauncherDesktop& operator=(const LauncherDesktop&) = delete;

    // Starts openbox and waits until it manages the screen; false when it did not.
    bool startWindowManager();

    // Maps a window of another "application" and gives it the focus (through
    // the window manager when one runs).
    Window openHelperWindow();
    // The other application closes its window.
    void closeHelperWindow();
    // What was typed into the other application's window so far.
    std::string typedIntoHelper();

    // The X input focus, as a display without a window manager has it.
    Window inputFocus();

    Window activeWindow();
    // The managed window with this title; 0 when there is none.
    Window managedWindow(const std::string& title);
    std::set<std::string> netWMState(Window window);
    // What the window manager lets the user do with the window.
    std::set<std::string> allowedActions(Window window);
    // The window's _MOTIF_WM_HINTS: flags, functions, decorations, input mode, status.
    std::vector<unsigned long> motifHints(Window window);
    unsigned long desktopOf(Window window);
    unsigned long currentDesktop();
    // Whether `upper` is stacked above `lower` in the manager's list.
    bool stackedAbove(Window upper, Window lower);
    std::string title(Window window);
    struct Frame {
        int x = 0, y = 0, width = 0, height = 0;
    };
    // The client area in root coordinates.
    Frame frame(Window window);
    bool mapped(Window window);
    // Asks a window to close, as the title bar's close button does.
    void requestClose(Window window);
    // Asks the window manager to add or remove a _NET_WM_STATE_... state.
    void changeState(Window window, bool add, const char* state);


    // Takes the key combination on the root window as another program would.
    bool grabKey(const char* keysym, unsigned modifiers);

    // Runs xdotool with these arguments and waits for it to end, running the
    // main loop meanwhile.
    static bool xdotool(const std::string& arguments);

private:
    _XDisplay* display_ = nullptr;
    Window helper_ = 0;
    std::string typed_;
    testing::WindowManager manager_;
};

}  // namespace meridavolt::desktoptest
