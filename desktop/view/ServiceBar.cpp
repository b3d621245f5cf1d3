#include "desktop/view/ServiceBar.h"

#include "desktop/WorkspaceActions.h"
#include "desktop/view/DesktopStyle.h"
#include "platform/SymbolIcons.h"

namespace meridavolt {

ServiceBar::ServiceBar(AppModel& model, PanelDocking& docking, Gtk::Widget& layoutSpace)
    : Gtk::Box(Gtk::Orientation::VERTICAL, 0), model_(model), reorder_(model), grip_(Panel::rail, docking, layoutSpace)
{
    ensureDesktopStyle();
    add_css_class("service-bar");
    list_.set_margin(4);
    scroll_.set_child(list_);
    scroll_.set_overlay_scrolling(true);

    addIcon_.set_from_icon_name(iconNameForSymbol("plus"));
    addIcon_.set_pixel_size(21);
    add_.set_child(addIcon_);
    add_.add_css_class("flat");
    add_.add_css_class("add-service");
    add_.set_size_request(64, 48);
    add_.set_halign(Gtk::Align::CENTER);
    add_.set_valign(Gtk::Align::CENTER);
    add_.set_margin_bottom(8);
    setAccessibleLabel(add_, "サービスを追加");
    add_.signal_clicked().connect([this] { actions::showServiceManager(model_); });

    append(grip_);
    append(scroll_);
    append(add_);
    setHorizontal(false);

    libraryChanged_ = model_.libraryChanged.connect([this] { rebuild(); });
    selectionChanged_ = model_.selectedIDChanged.connect([this] { refresh(); });
    reorderChanged_ = reorder_.changed.connect([this] { refresh(); });
    rebuild();
}

void ServiceBar::setHorizontal(bool horizontal)
{
    horizontal_ = horizontal;
    const auto orientation = horizontal ? Gtk::Orientation::HORIZONTAL : Gtk::Orientation::VERTICAL;
    set_orientation(orientation);
    list_.set_orientation(orientation);
    // The bar scrolls along its length and never shows a scroll bar.
    scroll_.set_policy(horizontal ? Gtk::PolicyType::EXTERNAL : Gtk::PolicyType::NEVER,
                       horizontal ? Gtk::PolicyType::NEVER : Gtk::PolicyType::EXTERNAL);
    scroll_.set_hexpand(horizontal);
    scroll_.set_vexpand(!horizontal);
    set_hexpand(horizontal);
    set_vexpand(!horizontal);
    if (horizontal) set_size_request(-1, int(rail::horizontalHeight));
    else set_size_request(int(rail::verticalWidth), -1);
}

ServiceRailGeometry ServiceBar::geometry()
{
    std::map<std::string, Rect> frames;
    for (auto& [id, button] : buttons_) {
        double x = 0, y = 0;
        if (!button->translate_coordinates(scroll_, 0, 0, x, y)) continue;
        frames[id] = Rect{x, y, double(button->get_width()), double(button->get_height())};
    }
    const double length = horizontal_ ? scroll_.get_width() : scroll_.get_height();
    return ServiceRailGeometry(horizontal_, std::move(frames), length);
}

std::optional<Point> ServiceBar::railLocation(Gtk::Widget& widget, double x, double y)
{
    double railX = 0, railY = 0;
    if (!widget.translate_coordinates(scroll_, x, y, railX, railY)) return std::nullopt;
    return Point{railX, railY};
}

void ServiceBar::releaseReorder(const std::string& id, Point location)
{
    // The buttons have been put in their new order; the next layout moves them.
    if (reorder_.release(id, location, geometry())) list_.glideIntoNextLayout();
}

void ServiceBar::hover(const std::string& id, bool entered)
{
    if (entered) hoveredID_ = id;
    else if (hoveredID_ == id) hoveredID_.reset();
    refresh();
}

ServiceButton* ServiceBar::button(const std::string& id)
{
    auto found = buttons_.find(id);
    return found == buttons_.end() ? nullptr : found->second.get();
}

void ServiceBar::rebuild()
{
    const auto& services = model_.library().services;
    std::map<std::string, std::unique_ptr<ServiceButton>> kept;
    Gtk::Widget* previous = nullptr;
    for (std::size_t i = 0; i < services.size(); ++i) {
        const auto& service = services[i];
        if (kept.count(service.id)) continue;
        auto found = buttons_.find(service.id);
        std::unique_ptr<ServiceButton> button;
        if (found != buttons_.end()) {
            button = std::move(found->second);
            buttons_.erase(found);
            button->show(service, i == 0);
        } else {
            button = std::make_unique<ServiceButton>(*this, service, i == 0);
            list_.append(*button);
        }
        // Buttons move rather than being rebuilt, so a reorder keeps hover and focus.
        if (previous) list_.reorder_child_after(*button, *previous);
        else list_.reorder_child_at_start(*button);
        previous = button.get();
        kept[service.id] = std::move(button);
    }
    for (auto& [id, button] : buttons_) list_.remove(*button);
    buttons_ = std::move(kept);
    refresh();
}

void ServiceBar::refresh()
{
    const auto& services = model_.library().services;
    const auto& dragged = reorder_.draggedID();
    for (auto& [id, button] : buttons_) {
        const bool isLast = !services.empty() && services.back().id == id;
        button->refresh(hoveredID_ == id || dragged == id, reorder_.showsMarkerBefore(id),
                        isLast && reorder_.showsMarkerAfterLast());
    }
    list_.select(model_.selectedID());
}

}  // namespace meridavolt
