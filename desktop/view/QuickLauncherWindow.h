#pragma once

#include "desktop/view/QuickLauncherView.h"

#include <gtkmm/eventcontrollerkey.h>
#include <gtkmm/window.h>

#include <cstdint>

namespace meridavolt {

// The quick launcher's own top-level window: fixed size, above every other
// window on every workspace, out of task bars, centred on the monitor under
// the pointer each time it is shown. Esc closes it through the launcher; the
// title bar's close button only hides it.
class QuickLauncherWindow final : public Gtk::Window {
public:
    static constexpr const char* title = "MERIDAVOLT MINI · Ctrl+Alt+Space";

    QuickLauncherWindow(AppModel& model, LauncherActions actions);
    ~QuickLauncherWindow() override;

    // Shows the window with the focus in its search field. `time`: the
    // triggering event's timestamp, so that the window manager lets the
    // window take the focus from the application in front; 0 for now.
    void showWithFocus(std::uint32_t time);

    QuickLauncherView& view() { return view_; }

private:
    void centreOnPointerMonitor();

    std::function<void()> close_;
    QuickLauncherView view_;
    Glib::RefPtr<Gtk::EventControllerKey> keys_;
};

}  // namespace meridavolt
