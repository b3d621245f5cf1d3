#include "desktop/view/ErrorAlert.h"

#include "platform/gdk/KeyboardReturn.h"
#include "platform/gdk/WidgetStyle.h"

#include <glibmm/main.h>

namespace meridavolt {

ErrorAlert::ErrorAlert(AppModel& model, Gtk::Widget& owner) : model_(model), owner_(owner)
{
    errorChanged_ = model_.errorChanged.connect([this] { update(); });
    owner_.signal_map().connect([this] { update(); });
}

ErrorAlert::~ErrorAlert()
{
    if (dialog_) dialog_->set_visible(false);
}

void ErrorAlert::update()
{
    const auto& message = model_.error();
    if (!message) {
        close();
        return;
    }
    if (!dialog_) {
        auto* parent = dynamic_cast<Gtk::Window*>(owner_.get_root());
        if (!parent || !owner_.get_mapped()) return;  // shown once the window is on screen
        dialog_ = std::make_unique<Gtk::MessageDialog>(*parent, "お知らせ", false, Gtk::MessageType::OTHER,
                                                       Gtk::ButtonsType::NONE, true);
        dialog_->set_title("お知らせ");
        keepOneName(*dialog_->add_button("OK", Gtk::ResponseType::OK));
        dialog_->set_default_response(Gtk::ResponseType::OK);
        dialog_->set_hide_on_close(true);
        // OK, Escape and the window's close button all answer here.
        dialog_->signal_response().connect([this](int) { model_.setError(std::nullopt); });
    }
    dialog_->set_secondary_text(*message);
    presentTakingKeyboard(*dialog_);
}

void ErrorAlert::close()
{
    if (!dialog_) return;
    hideReturningKeyboard(*dialog_);
    // The dialog may be answering its own response right now.
    auto holder = std::make_shared<std::unique_ptr<Gtk::MessageDialog>>(std::move(dialog_));
    Glib::signal_idle().connect_once([holder] { holder->reset(); });
}

}  // namespace meridavolt
