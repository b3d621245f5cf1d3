#include "desktop/view/SheetHost.h"

#include "platform/gdk/KeyboardReturn.h"

#include <glibmm/main.h>
#include <gdk/gdkkeysyms.h>
#include <gtkmm/shortcut.h>
#include <gtkmm/shortcutaction.h>
#include <gtkmm/shortcutcontroller.h>
#include <gtkmm/shortcuttrigger.h>

#include <algorithm>

namespace meridavolt {

namespace {

// Holds a sheet's content at its minimum size or more, and no wider than
// the sheet's maximum width: beyond it the content stays centred.
class SheetFrameBox final : public Gtk::Widget {
public:
    SheetFrameBox(Gtk::Widget& content, const SheetFrame& frame) : content_(content), maximumWidth_(frame.maximumWidth)
    {
        set_size_request(frame.minimumWidth, frame.minimumHeight);
        set_hexpand(true);
        set_vexpand(true);
        content_.set_parent(*this);
    }
    ~SheetFrameBox() override { content_.unparent(); }

protected:
    Gtk::SizeRequestMode get_request_mode_vfunc() const override { return content_.get_request_mode(); }

    void measure_vfunc(Gtk::Orientation orientation, int forSize, int& minimum, int& natural, int& minimumBaseline,
                       int& naturalBaseline) const override
    {
        if (orientation == Gtk::Orientation::VERTICAL && forSize >= 0) forSize = clampedWidth(forSize);
        content_.measure(orientation, forSize, minimum, natural, minimumBaseline, naturalBaseline);
        if (orientation == Gtk::Orientation::HORIZONTAL && maximumWidth_)
            natural = std::max(minimum, std::min(natural, *maximumWidth_));
    }

    void size_allocate_vfunc(int width, int height, int baseline) override
    {
        const int contentWidth = clampedWidth(width);
        content_.size_allocate(Gtk::Allocation((width - contentWidth) / 2, 0, contentWidth, height), baseline);
    }

private:
    int clampedWidth(int width) const
    {
        if (!maximumWidth_) return width;
        int minimum = 0, natural = 0, ignored = 0;
        content_.measure(Gtk::Orientation::HORIZONTAL, -1, minimum, natural, ignored, ignored);
        return std::max(minimum, std::min(width, *maximumWidth_));
    }

    Gtk::Widget& content_;
    std::optional<int> maximumWidth_;
};

// Destroys a window once the current event is over: the flag that closes a
// sheet is often cleared by a button inside it.
void destroyLater(std::unique_ptr<Gtk::Window> window, std::unique_ptr<Gtk::Widget> frame,
                  std::unique_ptr<Gtk::Widget> child)
{
    if (!window) return;
    hideReturningKeyboard(*window);
    struct Parts {
        std::unique_ptr<Gtk::Window> window;
        std::unique_ptr<Gtk::Widget> frame;
        std::unique_ptr<Gtk::Widget> child;
    };
    auto parts = std::make_shared<Parts>(Parts{std::move(window), std::move(frame), std::move(child)});
    Glib::signal_idle().connect_once([parts] {
        // The window goes first and takes the content's title bar with it.
        parts->window->unset_child();
        parts->window.reset();
        parts->frame.reset();
        parts->child.reset();
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
    if (window_) {
        window_->unset_child();
        window_.reset();
    }
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
    if (auto* sheet = dynamic_cast<SheetContent*>(child_.get())) {
        const SheetFrame frame = sheet->sheetFrame();
        if (auto* titleBar = sheet->sheetTitleBar()) window_->set_titlebar(*titleBar);
        window_->set_title(frame.title);
        window_->set_default_size(frame.idealWidth, frame.idealHeight);
        frame_ = std::make_unique<SheetFrameBox>(*child_, frame);
        window_->set_child(*frame_);
    } else {
        window_->set_child(*child_);
    }
    window_->set_transient_for(*parent);
    window_->set_modal(true);
    window_->set_destroy_with_parent(true);
    auto escape = Gtk::ShortcutController::create();
    escape->add_shortcut(Gtk::Shortcut::create(Gtk::KeyvalTrigger::create(GDK_KEY_Escape),
                                               Gtk::CallbackAction::create([this](Gtk::Widget&, const Glib::VariantBase&) {
                                                   window_->close();
                                                   return true;
                                               })));
    window_->add_controller(escape);
    window_->signal_close_request().connect(
        [this] {
            dismiss_();
            close();
            return true;
        },
        false);
    presentTakingKeyboard(*window_);
}

void SheetHost::close()
{
    destroyLater(std::move(window_), std::move(frame_), std::move(child_));
}

}  // namespace meridavolt
