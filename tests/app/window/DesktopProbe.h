#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace meridavolt::testing {

// Looks at another process's windows and menus from outside, the way the
// desktop sees them: X11 for windows and keys, the session bus for the menu
// bar and the enabled state of its commands.
class DesktopProbe {
public:
    using WindowID = unsigned long;
    struct Size {
        int width = 0;
        int height = 0;
    };
    struct Color {
        int red = 0;
        int green = 0;
        int blue = 0;
    };

    DesktopProbe();
    ~DesktopProbe();
    DesktopProbe(const DesktopProbe&) = delete;
    DesktopProbe& operator=(const DesktopProbe&) = delete;

    // The process's top-level windows that are on screen.
    std::set<WindowID> shownWindows(pid_t pid);
    // Its top-level windows, shown or not.
    std::set<WindowID> allWindows(pid_t pid);
    // Every top-level window on screen, whoever made it. GTK leaves out
    // _NET_WM_PID when it believes it runs in a sandbox; on a display of the
    // test's own these are the program's windows.
    std::set<WindowID> shownWindowsOnDisplay();
    // The top-level windows on screen whose class name is `name`, whoever
    // made them: the toolkit leaves out the pid property when it believes
    // it runs in a sandbox.
    std::set<WindowID> shownWindowsOfClass(const std::string& name);
    bool isShown(WindowID window);
    Size size(WindowID window);
    // The smallest size the window lets the window manager give it.
    Size minimumSize(WindowID window);
    Color pixel(WindowID window, int x, int y);

    // Asks the window to close, as a window manager's close button does.
    void requestClose(WindowID window);
    // Gives the window the keyboard focus and types keys ("ctrl+2"); false
    // when the window is gone.
    bool pressKeys(WindowID window, const std::string& keys);

    // Every label in the menu bar the application publishes on the bus.
    static std::set<std::string> menuLabels(const std::string& busAddress);
    // The sections of the menu bar's menu with this title, each with its
    // item labels in order; empty when the menu bar has no such menu.
    static std::vector<std::vector<std::string>> menuSections(const std::string& busAddress,
                                                              const std::string& title);
    // Triggers an application action as a menu item does.
    static void activateAction(const std::string& busAddress, const std::string& action);
    // Whether an application action is enabled; none when it does not exist.
    static std::optional<bool> actionEnabled(const std::string& busAddress, const std::string& action);

private:
    std::set<WindowID> windowsOf(pid_t pid, bool shownOnly);
    std::set<WindowID> topLevelWindows(const std::function<bool(WindowID)>& keep);
    struct Connection;
    Connection* x_;
};

}  // namespace meridavolt::testing
