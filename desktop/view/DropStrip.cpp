#include "desktop/view/DropStrip.h"

#include "desktop/WorkspaceActions.h"
#include "desktop/view/DesktopStyle.h"
#include "platform/SymbolIcons.h"

#include <glibmm/main.h>

namespace meridavolt {

DropStrip::DropStrip(AppModel& model, bool left)
    : Gtk::Box(Gtk::Orientation::VERTICAL), model_(model), left_(left)
{
    ensureDesktopStyle();
    add_css_class("drop-strip");
    set_size_request(18, -1);
    set_hexpand(false);
    set_vexpand(true);
    icon_.set_from_icon_name(iconNameForSymbol("rectangle.split.2x1"));
    icon_.set_pixel_size(11);
    icon_.set_vexpand(true);
    icon_.set_valign(Gtk::Align::CENTER);
    append(icon_);
    set_tooltip_text(left ? "サービスをここへドラッグして左側に表示" : "サービスをここへドラッグして右側に表示");

    target_ = Gtk::DropTarget::create(G_TYPE_STRING, Gdk::DragAction::COPY | Gdk::DragAction::MOVE);
    target_->signal_enter().connect(
        [this](double, double) {
            setTargeted(true);
            return Gdk::DragAction::COPY;
        },
        false);
    target_->signal_leave().connect([this] { setTargeted(false); });
    target_->signal_drop().connect(
        [this](const Glib::ValueBase& value, double, double) {
            setTargeted(false);
            const char* text = G_VALUE_HOLDS_STRING(value.gobj()) ? g_value_get_string(value.gobj()) : nullptr;
            // Accepted whatever it says; a text that names no service then does nothing.
            if (text) acceptText(text);
            return true;
        },
        false);
    add_controller(target_);
}

void DropStrip::acceptText(const std::string& text)
{
    // Opening the service rearranges the workspace: not inside the drop itself.
    Glib::signal_idle().connect_once(
        sigc::track_obj([this, text] { actions::openDraggedService(model_, text, left_); }, *this));
}

void DropStrip::setTargeted(bool targeted)
{
    targeted_ = targeted;
    if (targeted) add_css_class("targeted");
    else remove_css_class("targeted");
}

}  // namespace meridavolt
