#pragma once

#include "state/AppModel.h"

#include <gtkmm/messagedialog.h>

#include <memory>

namespace meridavolt {

// The alert "お知らせ" with the application state's message and one "OK".
// Closing it by any means clears the message; a new message shows it again.
class ErrorAlert {
public:
    ErrorAlert(AppModel& model, Gtk::Widget& owner);
    ~ErrorAlert();

    Gtk::MessageDialog* dialog() { return dialog_.get(); }

private:
    void update();
    void close();

    AppModel& model_;
    Gtk::Widget& owner_;
    std::unique_ptr<Gtk::MessageDialog> dialog_;
    Connection errorChanged_;
};

}  // namespace meridavolt
