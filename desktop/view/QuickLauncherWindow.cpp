#include "desktop/view/QuickLauncherWindow.h"

#include "platform/gdk/IdlePreparation.h"
#include "platform/gdk/X11Desktop.h"
#include "platform/gdk/X11WindowView.h"

#include <gdk/x11/gdkx.h>

namespace meridavolt {

QuickLauncherWindow::QuickLauncherWindow(AppModel& model, LauncherActions actions)
    : close_(actions.close), view_(model, std::move(actions))
{
    set_title(title);
    set_default_size(QuickLauncherView::width, QuickLauncherView::height);
    set_resizable(false);
    set_hide_on_close(true);
    set_child(view_);

    keys_ = Gtk::EventControllerKey::create();
    keys_->set_propagation_phase(Gtk::PropagationPhase::CAPTURE);
    keys_->signal_key_pressed().connect(
        [this](guint key, guint, Gdk::ModifierType) {
            if (key != GDK_KEY_Escape) return false;
            close_();
            return true;
        },
        false);
    add_controller(keys_);

    // A title bar with a close button only: nothing to minimise or maximise it with.
    signal_realize().connect([this] {
        if (auto* surface = x11Surface()) x11desktop::offerOnlyMoveAndClose(surface);
    });

    // The window manager forgets the states when the window is hidden, and
    // GTK rewrites them when it maps the window: they are asked for again
    // once it is on screen, and so is the place, for managers that chose their own.
    signal_map().connect([this] {
        if (unseen_) return;
        if (auto* surface = x11Surface()) {
            x11desktop::floatOnAllWorkspaces(surface);
            centreOnPointerMonitor();
        }
    });
}

QuickLauncherWindow::~QuickLauncherWindow() = default;

GdkSurface* QuickLauncherWindow::x11Surface()
{
    auto* surface = get_surface() ? get_surface()->gobj() : nullptr;
    return surface && GDK_IS_X11_SURFACE(surface) ? surface : nullptr;
}

void QuickLauncherWindow::prepare()
{
    if (prepared_ || get_visible()) return;
    prepared_ = true;
    loadIconsAndGlyphs(view_);
    gtk_widget_realize(GTK_WIDGET(gobj()));
    auto* surface = x11Surface();
    if (!surface) return;
    // Styles are settled and text is drawn only on a window that shows: it
    // is shown once where nobody sees it, until its first frame is painted.
    x11desktop::setOffScreen(surface, true);
    unseen_ = true;
    drawnUnseen_.watch(*this, [this] { endUnseenShowing(); }, [this] {
        // Hidden before it was drawn: the next preparation starts over.
        endUnseenShowing();
        prepared_ = false;
    });
    set_visible(true);
}

void QuickLauncherWindow::endUnseenShowing()
{
    if (!unseen_) return;
    unseen_ = false;
    drawnUnseen_.cancel();
    set_visible(false);
    if (auto* surface = x11Surface()) x11desktop::setOffScreen(surface, false);
}

bool QuickLauncherWindow::inView()
{
    if (!get_visible() || unseen_) return false;
    auto* surface = x11Surface();
    return !surface || x11desktop::userSees(surface);
}

void QuickLauncherWindow::showWithFocus(std::uint32_t time)
{
    // A window that the manager minimised, left on another workspace or
    // buried is withdrawn and mapped afresh: the manager then takes it as a
    // new window, in front on the workspace in view, whatever it did before.
    endUnseenShowing();
    prepared_ = true;
    if (get_visible()) set_visible(false);
    gtk_widget_realize(GTK_WIDGET(gobj()));
    centreOnPointerMonitor();
    view_.focusSearch();
    gtk_window_present_with_time(gobj(), time ? time : GDK_CURRENT_TIME);
}

void QuickLauncherWindow::centreOnPointerMonitor()
{
    auto* surface = x11Surface();
    if (!surface) return;
    GdkMonitor* monitor = x11desktop::monitorUnderPointer(gdk_surface_get_display(surface));
    if (!monitor) return;
    GdkRectangle area;
    gdk_monitor_get_geometry(monitor, &area);
    const int scale = gdk_monitor_get_scale_factor(monitor);
    const int x = (area.x + (area.width - QuickLauncherView::width) / 2) * scale;
    const int y = (area.y + (area.height - QuickLauncherView::height) / 2) * scale;
    x11desktop::placeWindow(surface, x, y);
}

}  // namespace meridavolt
