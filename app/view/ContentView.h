#pragma once

#include "desktop/view/DesktopContentView.h"
#include "state/AppModel.h"

#include <gtkmm/box.h>

namespace meridavolt {

// What the window shows once the application state exists: the workspace
// over that state.
class ContentView final : public Gtk::Box {
public:
    explicit ContentView(AppModel& model);

private:
    DesktopContentView workspace_;
};

}  // namespace meridavolt
