#pragma once

#include "desktop/PanelDocking.h"
#include "desktop/ServiceRail.h"
#include "desktop/ServiceReorder.h"
#include "desktop/view/PanelGrip.h"
#include "desktop/view/ServiceButton.h"
#include "desktop/view/ServiceList.h"
#include "state/AppModel.h"

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/image.h>
#include <gtkmm/scrolledwindow.h>

#include <map>
#include <memory>

namespace meridavolt {

// The bar of service buttons in library order, with its grip and the add
// button. It stands at the left or the right of the workspace, or lies along
// the bottom of the window.
class ServiceBar final : public Gtk::Box {
public:
    ServiceBar(AppModel& model, PanelDocking& docking, Gtk::Widget& layoutSpace);

    void setHorizontal(bool horizontal);
    bool isHorizontal() const { return horizontal_; }

    AppModel& model() { return model_; }
    ServiceReorder& reorder() { return reorder_; }

    // The buttons' frames in the scrolling area, for reordering.
    ServiceRailGeometry geometry();
    // A point of `widget` in the scrolling area's coordinates.
    std::optional<Point> railLocation(Gtk::Widget& widget, double x, double y);
    void hover(const std::string& id, bool entered);
    // Ends a reorder drag over `location`; a drop that moves the button glides.
    void releaseReorder(const std::string& id, Point location);

    ServiceButton* button(const std::string& id);
    Gtk::ScrolledWindow& scrollingArea() { return scroll_; }
    ServiceList& list() { return list_; }
    Gtk::Button& addButton() { return add_; }

private:
    void rebuild();
    void refresh();

    AppModel& model_;
    ServiceReorder reorder_;
    bool horizontal_ = false;
    std::optional<std::string> hoveredID_;
    PanelGrip grip_;
    Gtk::ScrolledWindow scroll_;
    ServiceList list_;
    Gtk::Button add_;
    Gtk::Image addIcon_;
    std::map<std::string, std::unique_ptr<ServiceButton>> buttons_;
    Connection libraryChanged_;
    Connection selectionChanged_;
    Connection reorderChanged_;
};

}  // namespace meridavolt
