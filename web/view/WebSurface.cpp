#include "web/view/WebSurface.h"

#include "web/webkit/WebKitEngine.h"

#include <gtk/gtk.h>
#include <gtkmm/binlayout.h>

namespace meridavolt {

WebSurface::WebSurface(WebSession& session) : view_(WebKitEngine::widgetOf(session.engine()))
{
    set_layout_manager(Gtk::BinLayout::create());
    set_hexpand(true);
    set_vexpand(true);
    if (!view_) return;
    // Our own reference keeps the pointer valid whoever else lets the view go.
    g_object_ref(view_);
    // A widget has one parent: take the view from the surface that showed it before.
    if (gtk_widget_get_parent(view_)) gtk_widget_unparent(view_);
    gtk_widget_set_parent(view_, GTK_WIDGET(gobj()));
}

WebSurface::~WebSurface()
{
    if (!view_) return;
    if (holdsView()) gtk_widget_unparent(view_);
    g_object_unref(view_);
}

bool WebSurface::holdsView() const
{
    return view_ && gtk_widget_get_parent(view_) == gobj();
}

void WebSurface::setActive(bool active)
{
    active_ = active;
    // A surface whose view moved on to a newer one leaves it alone.
    if (!holdsView()) return;
    if (!active) {
        if (GtkRoot* root = gtk_widget_get_root(view_)) {
            GtkWidget* focus = gtk_root_get_focus(root);
            if (focus && (focus == view_ || gtk_widget_is_ancestor(focus, view_))) gtk_root_set_focus(root, nullptr);
        }
    }
    gtk_widget_set_visible(view_, active);
}

}  // namespace meridavolt
