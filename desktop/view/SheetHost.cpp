#include "desktop/view/SheetHost.h"

#include <glibmm/main.h>

namespace meridavolt {

namespace {

// Destroys a window once the current event is over: the flag that closes a
// sheet is often cleared by a button inside it.
void destroyLater(std::unique_ptr<Gtk::Window> window, std::unique_ptr<Gtk::Widget> child)
{
    if (!window) return;
    window->set_visible(false);
    auto holder = std::make_shared<std::pair<std::unique_ptr<Gtk::Window>, std::unique_ptr<Gtk::Widget>>>(
        std::move(window), std::move(child));
    Glib::signal_idle().connect_once([holder] {
        holder->first->unset_child();
        holder->second.reset();
        holder->first.reset();
    });
}

}  // namespace

SheetHost::SheetHost(Gtk::Widget& owner, std::function<bool()> isShown, std::function<void()> dismiss)
    : owner_(owner), isShown_(std::move(isShown)), dismiss_(std::move(dismiss))
{
    owner_.signal_map().connect([this] { update(); });
}

SheetHost::~SheetHost()
{
    if (window_) window_->unset_child();
}

void SheetHost::setContent(Content content)
{
    content_ = std::move(content);
    update();
}

void SheetHost::update()
{
    if (isShown_() && content_) present();
    else close();
}

void SheetHost::reload()
{
    close();
    update();
}

void SheetHost::present()
{
    if (window_) return;
    auto* parent = dynamic_cast<Gtk::Window*>(owner_.get_root());
    if (!parent || !owner_.get_mapped()) return;  // presented once the window shows
    child_ = content_();
    if (!child_) return;
    window_ = std::make_unique<Gtk::Window>();
    window_->set_transient_for(*parent);
    window_->set_modal(true);
    window_->set_destroy_with_parent(true);
    window_->set_child(*child_);
    window_->signal_close_request().connect(
        [this] {
            dismiss_();
            close();
            return true;
        },
        false);
    window_->present();
}

void SheetHost::close()
{
    destroyLater(std::move(window_), std::move(child_));
}

}  // namespace meridavolt
