#include "platform/gdk/KeyboardReturn.h"

#include <memory>

namespace meridavolt {

namespace {

// Set while the keyboard is on its way to a window just shown: the window
// beneath may have heard that it lost it before the new one hears that it has it.
constexpr const char* keyboardComing = "meridavolt-keyboard-coming";

void giveKeyboardTo(Gtk::Window& window)
{
    // A request made at the current time is always granted.
    GdkSurface* surface = gtk_native_get_surface(GTK_NATIVE(window.gobj()));
    if (surface && GDK_IS_TOPLEVEL(surface)) gdk_toplevel_focus(GDK_TOPLEVEL(surface), GDK_CURRENT_TIME);
}

}  // namespace

void presentTakingKeyboard(Gtk::Window& window)
{
    Gtk::Window* beneath = window.get_transient_for();
    if (beneath && beneath->is_active() && !window.get_data(keyboardComing)) {
        window.set_data(keyboardComing, &window);
        auto arrival = std::make_shared<sigc::connection>();
        *arrival = window.property_is_active().signal_changed().connect([&window, arrival] {
            if (!window.is_active()) return;
            window.remove_data(keyboardComing);
            arrival->disconnect();
        });
    }
    window.present();
}

void hideReturningKeyboard(Gtk::Window& window)
{
    Gtk::Window* beneath = window.get_transient_for();
    const bool held = window.is_active() || window.get_data(keyboardComing);
    window.remove_data(keyboardComing);
    window.set_visible(false);
    if (held && beneath && beneath->get_mapped()) giveKeyboardTo(*beneath);
}

}  // namespace meridavolt
