#pragma once

#include "desktop/ServiceMenu.h"
#include "desktop/view/ServicePressStyle.h"
#include "model/Service.h"

#include <giomm/menu.h>
#include <giomm/simpleactiongroup.h>
#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/dragsource.h>
#include <gtkmm/eventcontrollerkey.h>
#include <gtkmm/eventcontrollermotion.h>
#include <gtkmm/gestureclick.h>
#include <gtkmm/gesturedrag.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>
#include <gtkmm/overlay.h>
#include <gtkmm/popovermenu.h>

#include <memory>

namespace meridavolt {

class ServiceBar;

// One service of the bar: its symbol over its name. A click opens it (Alt:
// its quick actions; Ctrl: nothing), Ctrl-drag reorders the bar, a plain drag
// carries the service out as text, and a right click offers the other ways to
// open it.
class ServiceButton final : public Gtk::Overlay {
public:
    ServiceButton(ServiceBar& bar, const Service& service, bool isFirstService);
    ~ServiceButton() override;

    void show(const Service& service, bool isFirstService);
    void refresh(bool tinted, bool markerBefore, bool markerAfter);

    const Service& service() const { return service_; }
    Gtk::Button& tile() { return tile_; }
    // The context menu while it exists.
    Gtk::PopoverMenu* contextMenu() { return menu_.get(); }
    Gtk::Box& markerBefore() { return markerBefore_; }
    Gtk::Box& markerAfter() { return markerAfter_; }
    // Builds and opens the context menu, as a right click does.
    void popupContextMenu(double x, double y);

private:
    void installGestures();
    void installActions();
    Glib::RefPtr<Gio::Menu> contextMenuModel() const;
    void perform(ServiceMenuItem::Kind kind, std::optional<std::string> url = std::nullopt);

    ServiceBar& bar_;
    Service service_;
    bool isFirst_ = false;
    bool shown_ = false;
    Gtk::Button tile_;
    ServicePressStyle press_{tile_};
    Gtk::Box tileBox_{Gtk::Orientation::VERTICAL, 6};
    Gtk::Image icon_;
    Gtk::Label name_;
    Gtk::Box markerBefore_;
    Gtk::Box markerAfter_;
    Gdk::ModifierType clickModifiers_{};
    bool reordering_ = false;
    Glib::RefPtr<Gtk::GestureClick> modifierProbe_;
    Glib::RefPtr<Gtk::GestureClick> contextClick_;
    Glib::RefPtr<Gtk::EventControllerMotion> hover_;
    Glib::RefPtr<Gtk::DragSource> dragOut_;
    Glib::RefPtr<Gtk::GestureDrag> reorderDrag_;
    Glib::RefPtr<Gtk::EventControllerKey> keys_;
    Glib::RefPtr<Gio::SimpleActionGroup> actions_;
    std::unique_ptr<Gtk::PopoverMenu> menu_;
};

}  // namespace meridavolt
