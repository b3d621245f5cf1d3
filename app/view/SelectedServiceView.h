#pragma once

#include "state/AppModel.h"
#include "web/view/BrowserPane.h"

#include <gtkmm/box.h>
#include <gtkmm/stack.h>

#include <map>
#include <memory>
#include <string>

namespace meridavolt {

// The workspace in its plainest form: the selected service's pane, with the
// panes of the other mounted services kept alive out of sight so that
// switching back to them only shows them again.
class SelectedServiceView final : public Gtk::Box {
public:
    explicit SelectedServiceView(AppModel& model);
    ~SelectedServiceView() override;

private:
    struct Pane {
        std::shared_ptr<WebSession> session;  // the pane must not outlive it
        std::unique_ptr<BrowserPane> view;
    };

    void refresh();

    AppModel& model_;
    Gtk::Stack stack_;
    Gtk::Box nothingSelected_;
    std::map<std::string, Pane> panes_;
    Connection selectedChanged_;
    Connection mountedChanged_;
};

}  // namespace meridavolt
