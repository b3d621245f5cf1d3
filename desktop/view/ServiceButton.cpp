#include "desktop/view/ServiceButton.h"

#include "desktop/ServiceDragText.h"
#include "desktop/ServiceRail.h"
#include "desktop/WorkspaceActions.h"
#include "desktop/view/DesktopStyle.h"
#include "desktop/view/ServiceBar.h"
#include "platform/SymbolIcons.h"
#include "platform/Text.h"

#include <gdk/gdkkeysyms.h>
#include <gtkmm/widgetpaintable.h>

#include <cmath>

namespace meridavolt {

namespace {

constexpr double reorderMinimumDistance = 5;

bool has(Gdk::ModifierType state, Gdk::ModifierType flag)
{
    return (state & flag) == flag;
}

// Menu labels read "_" as a mnemonic marker.
Glib::ustring menuLabel(const std::string& text)
{
    Glib::ustring label;
    for (char c : text) {
        if (c == '_') label += "__";
        else label += c;
    }
    return label;
}

}  // namespace

ServiceButton::ServiceButton(ServiceBar& bar, const Service& service, bool isFirstService) : bar_(bar)
{
    ensureDesktopStyle();
    icon_.set_pixel_size(21);
    icon_.set_size_request(44, 30);
    name_.set_single_line_mode(true);
    name_.set_ellipsize(Pango::EllipsizeMode::END);
    name_.set_max_width_chars(9);
    tileBox_.set_halign(Gtk::Align::CENTER);
    tileBox_.append(icon_);
    tileBox_.append(name_);
    tile_.set_child(tileBox_);
    tile_.add_css_class("service-tile");
    set_child(tile_);

    for (auto* marker : {&markerBefore_, &markerAfter_}) {
        marker->add_css_class("insertion-marker");
        marker->set_can_target(false);
        marker->set_visible(false);
        marker->set_size_request(-1, 3);
        add_overlay(*marker);
    }
    markerBefore_.set_valign(Gtk::Align::START);
    markerBefore_.add_css_class("before");
    markerAfter_.set_valign(Gtk::Align::END);
    markerAfter_.add_css_class("after");

    tile_.signal_clicked().connect([this] {
        const ClickModifiers modifiers{has(clickModifiers_, Gdk::ModifierType::CONTROL_MASK),
                                       has(clickModifiers_, Gdk::ModifierType::ALT_MASK)};
        clickModifiers_ = {};
        actions::clickService(bar_.model(), service_, modifiers, bar_.reorder().draggedID().has_value());
    });
    installGestures();
    installActions();
    show(service, isFirstService);
}

ServiceButton::~ServiceButton()
{
    if (menu_) menu_->unparent();
}

void ServiceButton::show(const Service& service, bool isFirstService)
{
    // Most library changes leave a button's face alone (a reorder, a new time
    // stamp); setting the same icon again would make GTK measure it anew.
    const bool firstShowing = !shown_;
    if (firstShowing || service.symbol != service_.symbol) icon_.set_from_icon_name(iconNameForSymbol(service.symbol));
    const bool renamed = firstShowing || service.name != service_.name;
    if (renamed || isFirstService != isFirst_) {
        // Only what is drawn is cut short; assistive technologies read the whole name.
        const std::string name = shownName(service.name);
        if (renamed) {
            name_.set_text(name);
            setAccessibleLabel(tile_, service.name);
        }
        tile_.set_tooltip_text(serviceHelpText(name, isFirstService));
        if (menu_ && menu_->get_visible()) tile_.set_has_tooltip(false);
    }
    service_ = service;
    isFirst_ = isFirstService;
    shown_ = true;
}

void ServiceButton::refresh(bool tinted, bool markerBefore, bool markerAfter)
{
    if (tinted) tile_.add_css_class("tinted");
    else tile_.remove_css_class("tinted");
    markerBefore_.set_visible(markerBefore);
    markerAfter_.set_visible(markerAfter);
}

void ServiceButton::installGestures()
{
    // Remembers the modifiers of the click before the button itself sees it.
    modifierProbe_ = Gtk::GestureClick::create();
    modifierProbe_->set_propagation_phase(Gtk::PropagationPhase::CAPTURE);
    auto probe = [this](int, double, double) { clickModifiers_ = modifierProbe_->get_current_event_state(); };
    modifierProbe_->signal_pressed().connect(probe);
    modifierProbe_->signal_released().connect(probe);
    tile_.add_controller(modifierProbe_);

    contextClick_ = Gtk::GestureClick::create();
    contextClick_->set_button(GDK_BUTTON_SECONDARY);
    contextClick_->signal_pressed().connect([this](int, double x, double y) {
        contextClick_->set_state(Gtk::EventSequenceState::CLAIMED);
        popupContextMenu(x, y);
    });
    tile_.add_controller(contextClick_);

    // The tile, not the whole button, is what the pointer hovers: the menu
    // hangs from the button, and the pointer inside the menu would count as
    // over the tile, which the menu's closing with Escape never takes back.
    hover_ = Gtk::EventControllerMotion::create();
    hover_->signal_enter().connect([this](double, double) { bar_.hover(service_.id, true); });
    hover_->signal_leave().connect([this] { bar_.hover(service_.id, false); });
    tile_.add_controller(hover_);

    // A plain drag carries the service out; with Ctrl held the drag reorders instead.
    // Both drags watch in the capture phase, beside the button's own click:
    // the click claims the release there and nothing after it in the bubble
    // phase sees that release, so a drag watching there would keep the
    // clicked press for ever and never start again on this button.
    dragOut_ = Gtk::DragSource::create();
    dragOut_->set_propagation_phase(Gtk::PropagationPhase::CAPTURE);
    dragOut_->set_actions(Gdk::DragAction::COPY);
    dragOut_->signal_prepare().connect(
        [this](double x, double y) -> Glib::RefPtr<Gdk::ContentProvider> {
            if (has(dragOut_->get_current_event_state(), Gdk::ModifierType::CONTROL_MASK)) return {};
            dragOut_->set_icon(Gtk::WidgetPaintable::create(tile_), int(x), int(y));
            Glib::Value<Glib::ustring> text;
            text.init(Glib::Value<Glib::ustring>::value_type());
            text.set(serviceDragText(service_.id));
            return Gdk::ContentProvider::create(text);
        },
        false);
    tile_.add_controller(dragOut_);

    reorderDrag_ = Gtk::GestureDrag::create();
    reorderDrag_->set_propagation_phase(Gtk::PropagationPhase::CAPTURE);
    reorderDrag_->signal_drag_begin().connect([this](double, double) {
        reordering_ = false;
        if (!has(reorderDrag_->get_current_event_state(), Gdk::ModifierType::CONTROL_MASK))
            reorderDrag_->set_state(Gtk::EventSequenceState::DENIED);
    });
    reorderDrag_->signal_drag_update().connect([this](double dx, double dy) {
        if (!reordering_ && std::hypot(dx, dy) < reorderMinimumDistance) return;
        if (!reordering_) {
            reordering_ = true;
            reorderDrag_->set_state(Gtk::EventSequenceState::CLAIMED);
        }
        double x = 0, y = 0;
        reorderDrag_->get_start_point(x, y);
        if (auto location = bar_.railLocation(tile_, x + dx, y + dy))
            bar_.reorder().move(service_.id, *location, bar_.geometry());
    });
    reorderDrag_->signal_drag_end().connect([this](double dx, double dy) {
        if (!reordering_) return;
        reordering_ = false;
        double x = 0, y = 0;
        reorderDrag_->get_start_point(x, y);
        // A copy: the release may reorder the bar, which rebuilds nothing but
        // must not leave this handler holding a stale reference.
        const auto id = service_.id;
        if (auto location = bar_.railLocation(tile_, x + dx, y + dy))
            bar_.releaseReorder(id, *location);
        else
            bar_.reorder().cancel();
    });
    reorderDrag_->signal_cancel().connect([this](Gdk::EventSequence*) {
        reordering_ = false;
        bar_.reorder().cancel();
    });
    tile_.add_controller(reorderDrag_);

    // The keyboard's way to what Alt-click and the right button offer.
    keys_ = Gtk::EventControllerKey::create();
    keys_->signal_key_pressed().connect(
        [this](guint key, guint, Gdk::ModifierType state) {
            const bool alt = has(state, Gdk::ModifierType::ALT_MASK);
            const bool shift = has(state, Gdk::ModifierType::SHIFT_MASK);
            if (alt && (key == GDK_KEY_Return || key == GDK_KEY_KP_Enter)) {
                bar_.model().setQuickService(service_);
                return true;
            }
            if (key == GDK_KEY_Menu || (shift && key == GDK_KEY_F10)) {
                popupContextMenu(tile_.get_width() / 2.0, tile_.get_height() / 2.0);
                return true;
            }
            return false;
        },
        false);
    tile_.add_controller(keys_);
}

void ServiceButton::installActions()
{
    using Kind = ServiceMenuItem::Kind;
    actions_ = Gio::SimpleActionGroup::create();
    actions_->add_action("open", [this] { perform(Kind::open); });
    actions_->add_action("left", [this] { perform(Kind::openLeft); });
    actions_->add_action("right", [this] { perform(Kind::openRight); });
    actions_->add_action_with_parameter("quick", Glib::Variant<Glib::ustring>::variant_type(),
                                        [this](const Glib::VariantBase& parameter) {
                                            const auto url =
                                                Glib::VariantBase::cast_dynamic<Glib::Variant<Glib::ustring>>(parameter);
                                            perform(Kind::quickAction, std::string(url.get()));
                                        });
    actions_->add_action("launch", [this] { perform(Kind::launch); });
    actions_->add_action("top", [this] { perform(Kind::moveToTop); });
    insert_action_group("service", actions_);
}

void ServiceButton::perform(ServiceMenuItem::Kind kind, std::optional<std::string> url)
{
    const Service service = service_;
    actions::performMenuItem(bar_.model(), service, ServiceMenuItem{kind, "", std::move(url), true});
}

Glib::RefPtr<Gio::Menu> ServiceButton::contextMenuModel() const
{
    using Kind = ServiceMenuItem::Kind;
    auto menu = Gio::Menu::create();
    auto section = Gio::Menu::create();
    for (const auto& item : serviceContextMenu(service_, isFirst_)) {
        switch (item.kind) {
        case Kind::open:
            section->append(item.title, "service.open");
            break;
        case Kind::openLeft:
            section->append(item.title, "service.left");
            break;
        case Kind::openRight:
            section->append(item.title, "service.right");
            break;
        case Kind::quickAction: {
            auto entry = Gio::MenuItem::create(menuLabel(item.title), "");
            entry->set_action_and_target("service.quick", Glib::Variant<Glib::ustring>::create(*item.url));
            section->append_item(entry);
            break;
        }
        case Kind::launch:
            section->append(item.title, "service.launch");
            break;
        case Kind::divider:
            menu->append_section(section);
            section = Gio::Menu::create();
            break;
        case Kind::moveToTop:
            section->append(item.title, "service.top");
            break;
        }
    }
    menu->append_section(section);
    return menu;
}

void ServiceButton::popupContextMenu(double x, double y)
{
    std::dynamic_pointer_cast<Gio::SimpleAction>(actions_->lookup_action("top"))->set_enabled(!isFirst_);
    if (menu_) menu_->unparent();
    menu_ = std::make_unique<Gtk::PopoverMenu>(contextMenuModel());
    // The menu hangs from this button, not from its tile: events in a popover
    // travel up through its parent, and the tile's click and drags must never
    // take a press or a release that was meant for the menu.
    menu_->set_parent(*this);
    menu_->set_has_arrow(false);
    double menuX = x, menuY = y;
    tile_.translate_coordinates(*this, x, y, menuX, menuY);
    menu_->set_pointing_to(Gdk::Rectangle(int(menuX), int(menuY), 1, 1));
    // The tile's tooltip would open over the menu's first items.
    tile_.set_has_tooltip(false);
    menu_->signal_closed().connect([this] { tile_.set_has_tooltip(true); });
    press_.end();
    menu_->popup();
}

}  // namespace meridavolt
