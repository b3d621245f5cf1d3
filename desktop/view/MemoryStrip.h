#pragma once

#include "desktop/LayoutSettings.h"
#include "desktop/PanelDocking.h"
#include "desktop/view/PanelGrip.h"

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/eventcontrollerkey.h>
#include <gtkmm/gesturedrag.h>

namespace meridavolt {

// The strip's resize handle: a small capsule in a 10-point band across the
// window; dragging it towards the workspace makes the strip taller. Up and
// Down step the height by 16 points.
class MemoryResizeHandle final : public Gtk::Box {
public:
    MemoryResizeHandle(MemoryResize& resize, Gtk::Widget& layoutSpace);

private:
    std::optional<double> layoutY(double x, double y);

    MemoryResize& resize_;
    Gtk::Widget& layoutSpace_;
    Gtk::Box capsule_;
    Glib::RefPtr<Gtk::GestureDrag> drag_;
    Glib::RefPtr<Gtk::EventControllerKey> keys_;
    std::optional<double> startY_;
};

// The clipboard memory's strip above or below the workspace: its grip, the
// shelf area with the cards, the collapse button, and the resize handle on
// the side that faces the workspace.
class MemoryStrip final : public Gtk::Box {
public:
    MemoryStrip(LayoutSettings& settings, PanelDocking& docking, MemoryResize& resize, Gtk::Widget& layoutSpace);

    void update(const LayoutValues& values);

    // Where the memory shelf's cards go.
    Gtk::Box& shelfArea() { return shelfArea_; }
    MemoryResizeHandle& resizeHandle() { return handle_; }

private:
    LayoutSettings& settings_;
    MemoryResizeHandle handle_;
    Gtk::Box row_{Gtk::Orientation::HORIZONTAL, 0};
    PanelGrip grip_;
    Gtk::Box shelfArea_{Gtk::Orientation::HORIZONTAL, 0};
    Gtk::Button collapse_;
    std::string handlePosition_;
};

}  // namespace meridavolt
