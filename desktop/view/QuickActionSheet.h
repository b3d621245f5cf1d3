#pragma once

#include "state/AppModel.h"

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/label.h>

#include <memory>
#include <vector>

namespace meridavolt {

// One service's ways to open: open it, open one of its quick actions, or open
// it outside. Every choice closes the sheet first.
class QuickActionSheet final : public Gtk::Box {
public:
    QuickActionSheet(AppModel& model, Service service);

    std::vector<Gtk::Button*> buttons();

private:
    Gtk::Button& addButton(const std::string& title, const char* symbol, std::function<void()> action);

    AppModel& model_;
    Service service_;
    Gtk::Box header_{Gtk::Orientation::HORIZONTAL, 8};
    Gtk::Label title_;
    Gtk::Box spacer_;
    Gtk::Button close_{"閉じる"};
    std::vector<std::unique_ptr<Gtk::Button>> buttons_;
};

}  // namespace meridavolt
