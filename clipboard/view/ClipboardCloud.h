#pragma once

#include "clipboard/ClipboardStore.h"
#include "clipboard/view/FirstFitting.h"
#include "state/AppModel.h"

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>

#include <memory>

namespace meridavolt {

// The toolbar button of the clipboard memory: its symbol and the number of
// temporary entries (with the brand when there is room and the host allows
// it) on a card with a tilted orange one peeking out behind. A click opens
// the memory panel through the application state.
class ClipboardCloud final : public Gtk::Button {
public:
    ClipboardCloud(AppModel& model, ClipboardStore& store, bool compact);

    const Gtk::Label& count() const { return shortCount_; }
    bool showsFullLayout() const { return fitting_.showsWide(); }

private:
    void update();
    void snapshot_vfunc(const Glib::RefPtr<Gtk::Snapshot>& snapshot) override;

    AppModel& model_;
    ClipboardStore& store_;
    std::unique_ptr<Gtk::Box> full_;
    Gtk::Image fullSymbol_;
    Gtk::Label brand_;
    Gtk::Label fullCount_;
    Gtk::Box short_{Gtk::Orientation::HORIZONTAL, 5};
    Gtk::Image shortSymbol_;
    Gtk::Label shortCount_;
    FirstFitting fitting_;
    Connection historyChanged_;
};

}  // namespace meridavolt
