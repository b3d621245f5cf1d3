#pragma once

#include "state/AppModel.h"

#include <gtkmm/box.h>
#include <gtkmm/droptarget.h>
#include <gtkmm/image.h>

namespace meridavolt {

// A narrow strip at one side of the workspace that takes a service dragged
// out of the service bar and opens it beside the current one, on its side.
class DropStrip final : public Gtk::Box {
public:
    DropStrip(AppModel& model, bool left);

    bool isTargeted() const { return targeted_; }
    // Handles a dropped text as the strip does.
    void acceptText(const std::string& text);

private:
    void setTargeted(bool targeted);

    AppModel& model_;
    bool left_;
    bool targeted_ = false;
    Gtk::Image icon_;
    Glib::RefPtr<Gtk::DropTarget> target_;
};

}  // namespace meridavolt
