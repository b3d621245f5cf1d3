#include "desktop/view/MemoryStrip.h"

#include "desktop/view/DesktopStyle.h"
#include "platform/SymbolIcons.h"

#include <gdk/gdkkeysyms.h>

#include <cmath>

namespace meridavolt {

namespace {

constexpr double minimumResizeDistance = 2;

}  // namespace

MemoryResizeHandle::MemoryResizeHandle(MemoryResize& resize, Gtk::Widget& layoutSpace)
    : Gtk::Box(Gtk::Orientation::HORIZONTAL), resize_(resize), layoutSpace_(layoutSpace)
{
    ensureDesktopStyle();
    add_css_class("memory-resize-handle");
    set_size_request(-1, 10);
    set_hexpand(true);
    capsule_.add_css_class("capsule");
    capsule_.set_hexpand(true);
    capsule_.set_halign(Gtk::Align::CENTER);
    capsule_.set_valign(Gtk::Align::CENTER);
    append(capsule_);
    set_cursor("row-resize");
    set_focusable(true);
    setAccessibleLabel(*this, "メモリーの高さ");

    // The translation is measured in the window content, which stays put
    // while the handle itself moves with the strip's new height.
    drag_ = Gtk::GestureDrag::create();
    drag_->signal_drag_begin().connect([this](double x, double y) { startY_ = layoutY(x, y); });
    drag_->signal_drag_update().connect([this](double dx, double dy) {
        if (!startY_ || (!resize_.isResizing() && std::hypot(dx, dy) < minimumResizeDistance)) return;
        // The pointer in the handle's coordinates as they are now.
        double nowX = 0, nowY = 0;
        if (!drag_->get_point(drag_->get_current_sequence(), nowX, nowY)) return;
        if (auto current = layoutY(nowX, nowY)) resize_.change(*current - *startY_);
    });
    auto finish = [this] {
        startY_.reset();
        resize_.end();
    };
    drag_->signal_drag_end().connect([finish](double, double) { finish(); });
    drag_->signal_cancel().connect([finish](Gdk::EventSequence*) { finish(); });
    add_controller(drag_);

    keys_ = Gtk::EventControllerKey::create();
    keys_->signal_key_pressed().connect(
        [this](guint key, guint, Gdk::ModifierType) {
            switch (key) {
            case GDK_KEY_Up:
            case GDK_KEY_Right:
            case GDK_KEY_plus:
                resize_.increment();
                return true;
            case GDK_KEY_Down:
            case GDK_KEY_Left:
            case GDK_KEY_minus:
                resize_.decrement();
                return true;
            default:
                return false;
            }
        },
        false);
    add_controller(keys_);
}

std::optional<double> MemoryResizeHandle::layoutY(double x, double y)
{
    double layoutX = 0, layoutY = 0;
    if (!translate_coordinates(layoutSpace_, x, y, layoutX, layoutY)) return std::nullopt;
    return layoutY;
}

MemoryStrip::MemoryStrip(LayoutSettings& settings, PanelDocking& docking, MemoryResize& resize,
                         Gtk::Widget& layoutSpace)
    : Gtk::Box(Gtk::Orientation::VERTICAL, 0),
      settings_(settings),
      handle_(resize, layoutSpace),
      grip_(Panel::memory, docking, layoutSpace)
{
    add_css_class("memory-strip");
    row_.set_margin_start(8);
    row_.set_margin_end(8);
    shelfArea_.set_hexpand(true);
    collapse_.set_icon_name(iconNameForSymbol("minus"));
    collapse_.add_css_class("flat");
    collapse_.set_size_request(28, 28);
    collapse_.set_valign(Gtk::Align::CENTER);
    collapse_.set_tooltip_text("メモリーを折りたたむ");
    setAccessibleLabel(collapse_, "メモリーを折りたたむ");
    collapse_.signal_clicked().connect([this] { settings_.setMemoryVisible(false); });
    row_.append(grip_);
    row_.append(shelfArea_);
    row_.append(collapse_);
    append(row_);
    update(settings.values());
}

void MemoryStrip::update(const LayoutValues& values)
{
    shelfArea_.set_size_request(-1, int(std::lround(values.memoryHeight)));
    // The handle sits between the strip and the workspace; it moves only when
    // the strip does, so a resize drag keeps its handle.
    if (values.memoryPosition == handlePosition_) return;
    handlePosition_ = values.memoryPosition;
    if (handle_.get_parent()) remove(handle_);
    if (values.memoryPosition == "bottom") prepend(handle_);
    else if (values.memoryPosition == "top") append(handle_);
}

}  // namespace meridavolt
