#pragma once

#include "platform/Signal.h"
#include "update/MacDistribution.h"

#include <gtkmm.h>

namespace meridavolt {

// The update sheet: a modal window over the main window that shows the
// checker's message, a spinner while it works, "更新を確認" and, while a
// newer release is offered, "更新を保存". Showing it checks at once; closing
// it cancels that check (checks and downloads started by the buttons run on).
class UpdateView : public Gtk::Window {
public:
    UpdateView(Gtk::Window& parent, MacDistribution& distribution);
    ~UpdateView() override;

    // The widgets, for tests that press the buttons.
    Gtk::Button& closeButton() { return closeButton_; }
    Gtk::Button& checkButton() { return checkButton_; }
    Gtk::Button& saveButton() { return saveButton_; }
    Gtk::Label& messageLabel() { return messageLabel_; }
    Gtk::Spinner& spinner() { return spinner_; }

private:
    void refresh();
    void onShown();
    void onHidden();

    MacDistribution& distribution_;
    MacDistribution::OperationID sheetCheck_ = 0;
    Connection changed_;
    sigc::connection shown_;
    sigc::connection hidden_;

    Gtk::Box column_{Gtk::Orientation::VERTICAL, 20};
    Gtk::Box titleRow_{Gtk::Orientation::HORIZONTAL, 0};
    Gtk::Label title_;
    Gtk::Button closeButton_;
    Gtk::Label messageLabel_;
    Gtk::Spinner spinner_;
    Gtk::Box buttonRow_{Gtk::Orientation::HORIZONTAL, 8};
    Gtk::Button checkButton_;
    Gtk::Button saveButton_;
    Gtk::Label note_;
};

// Opens the update sheet over parent, unless one is already shown (the sheet
// keeps the checker's showingUpdates). The sheet deletes itself when it closes.
void presentUpdateSheet(Gtk::Window& parent, MacDistribution& distribution);

}  // namespace meridavolt
