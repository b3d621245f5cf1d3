#pragma once

#include "desktop/PanelDocking.h"

#include <gtkmm/box.h>
#include <gtkmm/gesturedrag.h>
#include <gtkmm/image.h>

namespace meridavolt {

// The handle that moves the memory strip or the service bar: dragging it
// shows where the panel would dock and docks it on release. Locations are
// taken in `layoutSpace`, the window content.
class PanelGrip final : public Gtk::Box {
public:
    PanelGrip(Panel panel, PanelDocking& docking, Gtk::Widget& layoutSpace);

private:
    std::optional<Point> locationInLayout(double x, double y);
    Size layoutSize() const;
    void followDocking();

    Panel panel_;
    PanelDocking& docking_;
    Gtk::Widget& layoutSpace_;
    Gtk::Image icon_;
    Glib::RefPtr<Gtk::GestureDrag> drag_;
    bool dragging_ = false;
    Connection dockingChanged_;
};

}  // namespace meridavolt
