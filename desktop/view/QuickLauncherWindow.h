#pragma once

#include "desktop/view/QuickLauncherView.h"
#include "platform/gdk/IdlePreparation.h"

#include <gtkmm/eventcontrollerkey.h>
#include <gtkmm/window.h>

#include <cstdint>

namespace meridavolt {

// The quick launcher's own top-level window: fixed size, titled and closable
// only, above every other window on every workspace, out of task bars,
// centred on the monitor under the pointer each time it is shown. Esc closes
// it through the launcher; the title bar's close button only hides it.
class QuickLauncherWindow final : public Gtk::Window {
public:
    static constexpr const char* title = "MERIDAVOLT MINI · Ctrl+Alt+Space";

    QuickLauncherWindow(AppModel& model, LauncherActions actions);
    ~QuickLauncherWindow() override;

    // Shows the window, never shown yet, once off every screen, out of the window
    // manager's hands, until its first frame is drawn: its first real
    // showing then finds its surface, styles, layout, icons and glyphs ready.
    void prepare();

    // Whether the user sees the window: shown, and on X11 also neither
    // minimised, on another workspace nor under another window.
    bool inView();

    // Shows the window with the focus in its search field, also when the
    // window manager minimised it, left it on another workspace or covered it. `time`: the
    // triggering event's timestamp, so that the window manager lets the
    // window take the focus from the application in front; 0 for now.
    void showWithFocus(std::uint32_t time);

    QuickLauncherView& view() { return view_; }

private:
    // Hides the window shown unseen by `prepare` and gives it back to the window manager.
    void endUnseenShowing();
    // The window's X11 surface; none before it is realized or off X11.
    GdkSurface* x11Surface();
    void centreOnPointerMonitor();

    std::function<void()> close_;
    QuickLauncherView view_;
    Glib::RefPtr<Gtk::EventControllerKey> keys_;
    // Shown by `prepare` where nobody sees it, until its first frame is drawn.
    bool unseen_ = false;
    // Shown already, seen or not: nothing left to prepare.
    bool prepared_ = false;
    AfterFirstDraw drawnUnseen_;
};

}  // namespace meridavolt
