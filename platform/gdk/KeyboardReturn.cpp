#include "platform/gdk/KeyboardReturn.h"

#include "platform/gdk/X11Desktop.h"

#include <gdk/x11/gdkx.h>

namespace meridavolt {

namespace {

// The X window that held the keyboard when the window was shown.
constexpr const char* keyboardOrigin = "meridavolt-keyboard-origin";

GdkSurface* surfaceOf(Gtk::Window& window)
{
    GdkSurface* surface = gtk_native_get_surface(GTK_NATIVE(window.gobj()));
    return surface && GDK_IS_X11_SURFACE(surface) ? surface : nullptr;
}

// One of our top-level windows, by its X id.
Gtk::Window* ourWindow(unsigned long id)
{
    for (auto* window : Gtk::Window::list_toplevels()) {
        GdkSurface* surface = surfaceOf(*window);
        if (surface && gdk_x11_surface_get_xid(surface) == id) return window;
    }
    return nullptr;
}

void giveKeyboardTo(Gtk::Window& window)
{
    // A request made at the current time is always granted.
    GdkSurface* surface = gtk_native_get_surface(GTK_NATIVE(window.gobj()));
    if (surface && GDK_IS_TOPLEVEL(surface)) gdk_toplevel_focus(GDK_TOPLEVEL(surface), GDK_CURRENT_TIME);
}

}  // namespace

void presentTakingKeyboard(Gtk::Window& window)
{
    GdkDisplay* display = window.get_display()->gobj();
    if (!GDK_IS_X11_DISPLAY(display)) {
        window.present();
        return;
    }
    const auto holder = x11desktop::activeWindow(display);
    const bool elsewhere = holder && !ourWindow(*holder);
    if (!window.get_visible()) {
        window.set_data(keyboardOrigin, reinterpret_cast<void*>(holder.value_or(0)));
        if (elsewhere) {
            // A user time of zero asks a window manager not to focus the window when it maps.
            gtk_widget_realize(GTK_WIDGET(window.gobj()));
            if (GdkSurface* surface = surfaceOf(window)) gdk_x11_surface_set_user_time(surface, 0);
            window.set_visible(true);
            return;
        }
    }
    if (!elsewhere) window.present();
}

bool hideReturningKeyboard(Gtk::Window& window)
{
    const auto origin = reinterpret_cast<unsigned long>(window.steal_data(keyboardOrigin));
    GdkSurface* surface = surfaceOf(window);
    // The server's word, not the toolkit's: the toolkit may not yet have heard
    // that the focus came, or that the user took it to another program.
    const bool held = surface ? x11desktop::holdsInputFocus(surface) : window.is_active();
    window.set_visible(false);
    if (!held) return false;
    Gtk::Window* ours = surface ? ourWindow(origin) : nullptr;
    if (origin && surface && !ours) {
        x11desktop::activateWindow(gdk_surface_get_display(surface), origin, 0);
        return true;
    }
    // Where the window that had the keyboard closed meanwhile, the window beneath takes it.
    if (!ours || !ours->get_mapped()) ours = window.get_transient_for();
    if (ours && ours->get_mapped()) giveKeyboardTo(*ours);
    return true;
}

}  // namespace meridavolt
