#pragma once

#include <sys/types.h>

#include <cstdint>
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

    // What a top-level window tells the desktop it is.
    struct Identity {
        // _NET_WM_NAME, or WM_NAME where that is missing.
        std::string title;
        // WM_TRANSIENT_FOR: the window it belongs to; 0 for none.
        WindowID transientFor = 0;
        // Its first _NET_WM_WINDOW_TYPE ("_NET_WM_WINDOW_TYPE_DIALOG"); empty for none.
        std::string type;
    };
    // A window wanted: every field given must match its identity.
    struct Criteria {
        std::optional<std::string> title = std::nullopt;
        std::optional<WindowID> transientFor = std::nullopt;
        std::optional<std::string> type = std::nullopt;
    };
    static constexpr const char* normalType = "_NET_WM_WINDOW_TYPE_NORMAL";
    static constexpr const char* dialogType = "_NET_WM_WINDOW_TYPE_DIALOG";
    // What the toolkit calls a popover's surface.
    static constexpr const char* menuType = "_NET_WM_WINDOW_TYPE_MENU";

    // The one window of the process that a user sees and that meets
    // `criteria`; none when no window or several do. Seen: top-level,
    // mapped, left to the window manager and with a shape that shows
    // something. A program maps windows that nobody sees (override-redirect
    // ones, or with an empty shape) to prepare them, and those never count.
    std::optional<WindowID> findWindow(pid_t pid, const Criteria& criteria);
    // The program's main window: the normal window titled MERIDAVOLT that
    // belongs to no other.
    std::optional<WindowID> mainWindow(pid_t pid);
    // The windows a user sees that belong to `owner`: its sheets and alerts.
    std::set<WindowID> windowsTransientFor(WindowID owner);
    // The popup of `owner`'s process (an override-redirect surface with a
    // shape that shows something) on screen over `owner`; none when none or
    // several are.
    std::optional<WindowID> popupOver(WindowID owner);
    Identity identity(WindowID window);
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
    struct Placement;
    std::optional<Placement> placement(WindowID window);
    bool showsSomething(WindowID window);
    // The top-level windows a user sees, managed or override-redirect ones.
    std::set<WindowID> seenWindows(bool overrideRedirect);
    std::optional<pid_t> processOf(WindowID window);
    struct Connection;
    Connection* x_;
};

}  // namespace meridavolt::testing
