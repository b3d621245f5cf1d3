#include "desktop/view/PanelGrip.h"

#include "desktop/view/DesktopStyle.h"
#include "platform/SymbolIcons.h"

#include <cmath>

namespace meridavolt {

namespace {

constexpr double minimumDistance = 4;

}  // namespace

PanelGrip::PanelGrip(Panel panel, PanelDocking& docking, Gtk::Widget& layoutSpace)
    : panel_(panel), docking_(docking), layoutSpace_(layoutSpace)
{
    ensureDesktopStyle();
    add_css_class("desktop-grip");
    set_size_request(24, 24);
    set_valign(Gtk::Align::CENTER);
    set_halign(Gtk::Align::CENTER);
    icon_.set_from_icon_name(iconNameForSymbol("line.3.horizontal"));
    icon_.set_pixel_size(11);
    icon_.set_halign(Gtk::Align::CENTER);
    icon_.set_valign(Gtk::Align::CENTER);
    icon_.set_size_request(24, 24);
    append(icon_);
    set_cursor("grab");
    const bool memory = panel == Panel::memory;
    set_tooltip_text(memory ? "ドラッグでメモリーを上・下・ヘッダーへ移動" : "ドラッグでサービスバーを左・右・下へ移動");
    setAccessibleLabel(*this, memory ? "メモリーを移動（配置メニューでも変更可能）"
                                     : "サービスバーを移動（配置メニューでも変更可能）");

    drag_ = Gtk::GestureDrag::create();
    drag_->signal_drag_begin().connect([this](double, double) { dragging_ = false; });
    drag_->signal_drag_update().connect([this](double dx, double dy) {
        if (!dragging_ && std::hypot(dx, dy) < minimumDistance) return;
        dragging_ = true;
        double x = 0, y = 0;
        drag_->get_start_point(x, y);
        if (auto location = locationInLayout(x + dx, y + dy)) docking_.move(panel_, *location, layoutSize());
    });
    drag_->signal_drag_end().connect([this](double dx, double dy) {
        if (!dragging_) return;
        dragging_ = false;
        double x = 0, y = 0;
        drag_->get_start_point(x, y);
        if (auto location = locationInLayout(x + dx, y + dy)) docking_.release(panel_, *location, layoutSize());
        else docking_.cancel();
    });
    drag_->signal_cancel().connect([this](Gdk::EventSequence*) {
        dragging_ = false;
        docking_.cancel();
    });
    add_controller(drag_);

    dockingChanged_ = docking_.changed.connect([this] { followDocking(); });
}

std::optional<Point> PanelGrip::locationInLayout(double x, double y)
{
    double layoutX = 0, layoutY = 0;
    if (!translate_coordinates(layoutSpace_, x, y, layoutX, layoutY)) return std::nullopt;
    return Point{layoutX, layoutY};
}

Size PanelGrip::layoutSize() const
{
    return Size{double(layoutSpace_.get_width()), double(layoutSpace_.get_height())};
}

void PanelGrip::followDocking()
{
    if (docking_.movingPanel() == panel_) add_css_class("moving");
    else remove_css_class("moving");
}

}  // namespace meridavolt
