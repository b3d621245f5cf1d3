#pragma once

#include "model/Service.h"

#include <cstdint>
#include <functional>
#include <optional>

namespace meridavolt {

// A top-level window of the desktop that held the keyboard focus.
struct FocusedWindow {
    unsigned long id = 0;
    bool ours = false;  // one of this application's own windows

    friend bool operator==(const FocusedWindow&, const FocusedWindow&) = default;
};

// What the launcher's window does when the user acts in it.
struct LauncherActions {
    std::function<void()> close;  // Esc, or a memory entry was copied
    std::function<void(const Service&)> open;
};

// The desktop as the quick launcher needs it: its own floating window, the
// window that had the focus before it, and the application's main window.
class LauncherWindowSystem {
public:
    virtual ~LauncherWindowSystem() = default;

    // Called once, before the launcher window is first shown.
    virtual void setActions(LauncherActions actions) = 0;
    // The window that holds the keyboard focus now; none when no window does.
    virtual std::optional<FocusedWindow> focusedWindow() = 0;
    // Whether the user sees the launcher window: not only shown by us, but
    // also neither minimised, on another workspace nor under another window.
    virtual bool launcherShown() = 0;
    // Creates the launcher window on first use (then keeps it), centres it on
    // the monitor under the pointer and shows it above every window with the
    // focus in its search field, whatever the window manager had done with
    // it. `time`: the triggering event's timestamp, 0 for now.
    virtual void showLauncher(std::uint32_t time) = 0;
    // Creates the launcher window and readies it without the user seeing it,
    // so that its first showing costs no more than the later ones; one shown
    // already is left as it is.
    virtual void prepareLauncher() = 0;
    virtual void hideLauncher() = 0;
    // Gives the focus to a window; one that no longer exists is ignored.
    virtual void focusWindow(const FocusedWindow& window) = 0;
    // Brings the application's main window to the front, also after it was closed.
    virtual void showMainWindow() = 0;
};

}  // namespace meridavolt
