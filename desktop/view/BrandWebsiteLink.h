#pragma once

#include "state/AppModel.h"

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>

#include <string>

namespace meridavolt {

// The maker's name with an arrow, opening the maker's home page in the browser.
class BrandWebsiteLink final : public Gtk::Button {
public:
    BrandWebsiteLink(AppModel& model, std::string destination);

private:
    AppModel& model_;
    std::string destination_;
    Gtk::Box row_{Gtk::Orientation::HORIZONTAL, 6};
    Gtk::Label name_{"PELLOWRIGHT"};
    Gtk::Image arrow_;
};

}  // namespace meridavolt
