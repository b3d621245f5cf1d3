#include "platform/gdk/KeyboardReturn.h"

#include "platform/gdk/X11Desktop.h"

#include <gdk/x11/gdkx.h>

#include <memory>
#include <optional>
#include <vector>

namespace meridavolt {

namespace {

// Where the keyboard was when a window was shown.
struct KeyboardOrigin {
    // Another program's window that held it; 0 for none.
    unsigned long otherProgram = 0;
    // Ours that held it, then the windows beneath that one, nearest first:
    // where it closed meanwhile, the next one still shown takes the keyboard.
    std::vector<unsigned long> ours;
};

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

KeyboardOrigin originAt(std::optional<unsigned long> holder)
{
    KeyboardOrigin origin;
    Gtk::Window* window = holder ? ourWindow(*holder) : nullptr;
    if (holder && !window) origin.otherProgram = *holder;
    for (; window; window = window->get_transient_for()) {
        if (GdkSurface* surface = surfaceOf(*window)) origin.ours.push_back(gdk_x11_surface_get_xid(surface));
    }
    return origin;
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
    KeyboardOrigin origin = originAt(x11desktop::activeWindow(display));
    const bool elsewhere = origin.otherProgram != 0;
    if (!window.get_visible()) {
        window.set_data(keyboardOrigin, new KeyboardOrigin(std::move(origin)),
                        [](void* data) { delete static_cast<KeyboardOrigin*>(data); });
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
    const std::unique_ptr<KeyboardOrigin> origin(static_cast<KeyboardOrigin*>(window.steal_data(keyboardOrigin)));
    GdkSurface* surface = surfaceOf(window);
    // The server's word, not the toolkit's: the toolkit may not yet have heard
    // that the focus came, or that the user took it to another program.
    const bool held = surface ? x11desktop::holdsInputFocus(surface) : window.is_active();
    if (held && surface && origin && origin->otherProgram) {
        // Asked before the window goes: a window manager that saw it go first
        // would give the keyboard to the window beneath it.
        x11desktop::activateWindow(gdk_surface_get_display(surface), origin->otherProgram, 0);
        window.set_visible(false);
        return true;
    }
    window.set_visible(false);
    if (!held) return false;
    Gtk::Window* next = window.get_transient_for();
    for (unsigned long id : origin ? origin->ours : std::vector<unsigned long>{}) {
        if (auto* ours = ourWindow(id); ours && ours->get_mapped()) {
            next = ours;
            break;
        }
    }
    if (next && next->get_mapped()) giveKeyboardTo(*next);
    return true;
}

}  // namespace meridavolt
