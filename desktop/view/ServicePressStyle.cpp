#include "desktop/view/ServicePressStyle.h"

#include "desktop/view/DesktopStyle.h"

#include <gtkmm/settings.h>

namespace meridavolt {

namespace {

void followReduceMotion(Gtk::Widget& widget)
{
    if (reduceMotion()) widget.add_css_class("reduced-motion");
    else widget.remove_css_class("reduced-motion");
}

}  // namespace

void applyServicePressStyle(Gtk::Widget& button)
{
    ensureDesktopStyle();
    button.add_css_class("service-press");
    followReduceMotion(button);
    if (auto settings = Gtk::Settings::get_default()) {
        settings->property_gtk_enable_animations().signal_changed().connect(
            sigc::track_obj([&button] { followReduceMotion(button); }, button));
    }
}

}  // namespace meridavolt
