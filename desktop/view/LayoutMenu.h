#pragma once

#include "desktop/LayoutSettings.h"

#include <giomm/menu.h>
#include <giomm/simpleactiongroup.h>

namespace meridavolt {

// The layout menu: show or hide the memory and the service bar, pick their
// positions, and reset all five settings. Its actions live in the group
// "layout", which the window content inserts.
class LayoutMenu {
public:
    static constexpr const char* actionGroupName = "layout";

    explicit LayoutMenu(LayoutSettings& settings);

    const Glib::RefPtr<Gio::Menu>& menu() const { return menu_; }
    const Glib::RefPtr<Gio::SimpleActionGroup>& actions() const { return actions_; }

private:
    void buildMenu();
    void update();

    LayoutSettings& settings_;
    Glib::RefPtr<Gio::Menu> menu_;
    Glib::RefPtr<Gio::SimpleActionGroup> actions_;
    Glib::RefPtr<Gio::SimpleAction> memoryVisible_;
    Glib::RefPtr<Gio::SimpleAction> memoryPosition_;
    Glib::RefPtr<Gio::SimpleAction> railVisible_;
    Glib::RefPtr<Gio::SimpleAction> railPosition_;
    Connection settingsChanged_;
};

}  // namespace meridavolt
