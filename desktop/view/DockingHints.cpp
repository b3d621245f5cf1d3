#include "desktop/view/DockingHints.h"

#include "desktop/view/DesktopStyle.h"

namespace meridavolt {

DockingHints::DockingHints(PanelDocking& docking) : Gtk::Box(Gtk::Orientation::VERTICAL), docking_(docking)
{
    ensureDesktopStyle();
    add_css_class("docking-hints");
    set_can_target(false);
    set_hexpand(true);
    set_vexpand(true);

    for (auto* column : {&memoryColumn_, &railColumn_}) {
        column->set_margin(4);
        column->set_vexpand(true);
        append(*column);
    }

    auto& toolbar = hint(memoryHints_, "toolbar", "ヘッダー");
    toolbar.set_size_request(-1, 54);
    auto& top = hint(memoryHints_, "top", "ページの上");
    top.set_size_request(-1, 54);
    memorySpacer_.set_vexpand(true);
    auto& bottom = hint(memoryHints_, "bottom", "ページの下");
    bottom.set_size_request(-1, 64);
    memoryColumn_.append(toolbar);
    memoryColumn_.append(top);
    memoryColumn_.append(memorySpacer_);
    memoryColumn_.append(bottom);

    auto& left = hint(railHints_, "left", "左");
    left.set_size_request(72, -1);
    left.set_hexpand(false);
    left.set_vexpand(true);
    railSpacer_.set_hexpand(true);
    auto& right = hint(railHints_, "right", "右");
    right.set_size_request(72, -1);
    right.set_hexpand(false);
    right.set_vexpand(true);
    railRow_.set_vexpand(true);
    railRow_.append(left);
    railRow_.append(railSpacer_);
    railRow_.append(right);
    auto& railBottom = hint(railHints_, "bottom", "下");
    railBottom.set_size_request(-1, 72);
    railColumn_.append(railRow_);
    railColumn_.append(railBottom);

    dockingChanged_ = docking_.changed.connect([this] { update(); });
    update();
}

Gtk::Label& DockingHints::hint(std::map<std::string, Gtk::Label>& hints, const std::string& value, const char* title)
{
    auto& label = hints[value];
    label.set_text(title);
    label.add_css_class("docking-hint");
    label.set_hexpand(true);
    label.set_vexpand(false);
    return label;
}

void DockingHints::update()
{
    const auto& moving = docking_.movingPanel();
    memoryColumn_.set_visible(moving == Panel::memory);
    railColumn_.set_visible(moving == Panel::rail);
    set_visible(moving.has_value());
    for (auto* hints : {&memoryHints_, &railHints_}) {
        for (auto& [value, label] : *hints) {
            if (docking_.panelDestination() == value) label.add_css_class("destination");
            else label.remove_css_class("destination");
        }
    }
}

}  // namespace meridavolt
