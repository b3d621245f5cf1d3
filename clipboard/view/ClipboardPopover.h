#pragma once

#include "clipboard/view/ClipboardPanel.h"
#include "platform/gdk/IdlePreparation.h"
#include "state/AppModel.h"

#include <gtkmm/popover.h>

namespace meridavolt {

// The memory panel in a popover on `anchor` (the memory button's place),
// shown exactly while AppModel.showingClipboard is true: the close button,
// Escape, a click outside and a paste into a page all end with the flag
// false. The panel stays open while its confirmation or file chooser shows.
class ClipboardPopover final : public Gtk::Popover {
public:
    ClipboardPopover(AppModel& model, Gtk::Widget& anchor);
    ~ClipboardPopover() override;

    // Realizes the hidden popover and lays the panel out, so that its first
    // opening finds its surface, styles, fonts and texts ready.
    void prepare();

    ClipboardPanel& panel() { return panel_; }

private:
    // `opening`: the flag just turned on, so the panel starts fresh.
    void follow(bool opening);
    // Hides the popover shown unseen by `prepare`.
    void endUnseenShowing();

    AppModel& model_;
    ClipboardPanel panel_;
    Connection showingChanged_;
    // Shown by `prepare`, drawing nothing on the screen, until it is first drawn.
    bool unseen_ = false;
    bool autohide_ = true;
    AfterFirstDraw drawnUnseen_;
};

}  // namespace meridavolt
