#include "platform/gdk/WidgetStyle.h"

#include <gdkmm/display.h>
#include <gtkmm/cssprovider.h>
#include <gtkmm/stylecontext.h>

namespace meridavolt {

bool addStyleSheetOnce(const char* marker, const char* styleSheet)
{
    auto display = Gdk::Display::get_default();
    if (!display || display->get_data(marker)) return false;
    auto provider = Gtk::CssProvider::create();
    provider->load_from_data(styleSheet);
    Gtk::StyleContext::add_provider_for_display(display, provider, GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    display->set_data(marker, new Glib::RefPtr<Gtk::CssProvider>(provider),
                      [](void* data) { delete static_cast<Glib::RefPtr<Gtk::CssProvider>*>(data); });
    return true;
}

void setAccessibleLabel(Gtk::Widget& widget, const std::string& label)
{
    gtk_accessible_update_property(GTK_ACCESSIBLE(widget.gobj()), GTK_ACCESSIBLE_PROPERTY_LABEL, label.c_str(), -1);
}

void keepOneName(Gtk::Widget& widget)
{
    gtk_accessible_reset_relation(GTK_ACCESSIBLE(widget.gobj()), GTK_ACCESSIBLE_RELATION_LABELLED_BY);
}

}  // namespace meridavolt
