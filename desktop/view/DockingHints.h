#pragma once

#include "desktop/PanelDocking.h"

#include <gtkmm/box.h>
#include <gtkmm/label.h>

#include <map>

namespace meridavolt {

// The overlay that shows, while a grip is dragged, where its panel can dock,
// with the place it would dock now outlined boldly. It never takes a click.
class DockingHints final : public Gtk::Box {
public:
    explicit DockingHints(PanelDocking& docking);

private:
    void update();
    Gtk::Label& hint(std::map<std::string, Gtk::Label>& hints, const std::string& value, const char* title);

    PanelDocking& docking_;
    Connection dockingChanged_;
    Gtk::Box memoryColumn_{Gtk::Orientation::VERTICAL, 8};
    Gtk::Box railColumn_{Gtk::Orientation::VERTICAL, 8};
    Gtk::Box railRow_{Gtk::Orientation::HORIZONTAL, 8};
    Gtk::Box memorySpacer_;
    Gtk::Box railSpacer_;
    std::map<std::string, Gtk::Label> memoryHints_;
    std::map<std::string, Gtk::Label> railHints_;
};

}  // namespace meridavolt
