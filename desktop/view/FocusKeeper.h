#pragma once

#include <gtkmm/window.h>

namespace meridavolt {

// Keeps a window's keyboard focus on something shown. A menu that closes can
// leave the focus on a widget inside it (GTK does so after a choice in a
// submenu): the key presses then reach nothing, the window's shortcuts
// included, until a click puts the focus elsewhere. When the focused widget
// leaves the screen, the focus goes back to the widget its menu hangs from,
// or else to the window itself.
class FocusKeeper {
public:
    explicit FocusKeeper(Gtk::Window& window);
    ~FocusKeeper();
    FocusKeeper(const FocusKeeper&) = delete;
    FocusKeeper& operator=(const FocusKeeper&) = delete;

private:
    void watchFocus();
    void recover();

    Gtk::Window& window_;
    sigc::connection focusChanged_;
    sigc::connection focusUnmapped_;
    sigc::connection pendingRecovery_;
};

}  // namespace meridavolt
