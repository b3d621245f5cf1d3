#include "desktop/view/FocusKeeper.h"

#include <glibmm/main.h>
#include <gtkmm/popover.h>

namespace meridavolt {

FocusKeeper::FocusKeeper(Gtk::Window& window) : window_(window)
{
    focusChanged_ = window_.property_focus_widget().signal_changed().connect([this] { watchFocus(); });
    watchFocus();
}

FocusKeeper::~FocusKeeper()
{
    focusChanged_.disconnect();
    focusUnmapped_.disconnect();
    pendingRecovery_.disconnect();
}

void FocusKeeper::watchFocus()
{
    focusUnmapped_.disconnect();
    if (auto* focus = window_.get_focus()) {
        // The menu finishes closing first; then the focus is looked at again.
        focusUnmapped_ = focus->signal_unmap().connect([this] {
            pendingRecovery_.disconnect();
            pendingRecovery_ = Glib::signal_idle().connect([this] {
                recover();
                return false;
            });
        });
    }
}

void FocusKeeper::recover()
{
    auto* focus = window_.get_focus();
    if (!focus || focus->get_mapped() || !window_.get_mapped()) return;
    for (auto* widget = focus->get_parent(); widget; widget = widget->get_parent()) {
        if (!dynamic_cast<Gtk::Popover*>(widget)) continue;
        if (auto* anchor = widget->get_parent(); anchor && anchor->get_mapped() && anchor->grab_focus()) return;
        break;
    }
    window_.unset_focus();
}

}  // namespace meridavolt
