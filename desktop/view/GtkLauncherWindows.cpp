#include "desktop/view/GtkLauncherWindows.h"

#include "desktop/QuickLauncher.h"
#include "platform/gdk/X11Desktop.h"
#include "platform/gdk/X11GlobalHotKey.h"

#include <gdk/x11/gdkx.h>
#include <gtk/gtk.h>

namespace meridavolt {

namespace {

GdkDisplay* x11Display()
{
    GdkDisplay* display = gdk_display_get_default();
    return display && GDK_IS_X11_DISPLAY(display) ? display : nullptr;
}

// Whether an X window is one of this process's top-level windows.
bool isOurWindow(unsigned long id)
{
    GListModel* toplevels = gtk_window_get_toplevels();
    for (guint i = 0; i < g_list_model_get_n_items(toplevels); ++i) {
        auto* window = GTK_WIDGET(g_list_model_get_item(toplevels, i));
        GdkSurface* surface = gtk_native_get_surface(GTK_NATIVE(window));
        const bool same = surface && GDK_IS_X11_SURFACE(surface) && gdk_x11_surface_get_xid(surface) == id;
        g_object_unref(window);
        if (same) return true;
    }
    return false;
}

}  // namespace

GtkLauncherWindows::GtkLauncherWindows(AppModel& model, std::function<void()> showMainWindow)
    : model_(model), showMainWindow_(std::move(showMainWindow))
{
}

GtkLauncherWindows::~GtkLauncherWindows() = default;

std::optional<FocusedWindow> GtkLauncherWindows::focusedWindow()
{
    GdkDisplay* display = x11Display();
    if (!display) return std::nullopt;
    auto id = x11desktop::activeWindow(display);
    if (!id) return std::nullopt;
    return FocusedWindow{*id, isOurWindow(*id)};
}

bool GtkLauncherWindows::launcherShown() { return window_ && window_->inView(); }

QuickLauncherWindow& GtkLauncherWindows::made()
{
    if (!window_) window_ = std::make_unique<QuickLauncherWindow>(model_, actions_);
    return *window_;
}

void GtkLauncherWindows::showLauncher(std::uint32_t time) { made().showWithFocus(time); }

void GtkLauncherWindows::prepareLauncher()
{
    // A launcher shown already needs no preparing.
    if (!window_) made().prepare();
}

void GtkLauncherWindows::hideLauncher()
{
    if (window_) window_->set_visible(false);
}

void GtkLauncherWindows::focusWindow(const FocusedWindow& window)
{
    if (GdkDisplay* display = x11Display()) x11desktop::activateWindow(display, window.id, 0);
}

std::unique_ptr<QuickLauncherControl> makeSystemQuickLauncher(AppModel& model, std::function<void()> showMainWindow)
{
    return std::make_unique<QuickLauncher>(model, std::make_unique<GtkLauncherWindows>(model, std::move(showMainWindow)),
                                           makeSessionHotKey());
}

}  // namespace meridavolt
