#pragma once

#include "clipboard/view/ClipboardPanel.h"
#include "platform/gdk/IdlePreparation.h"
#include "state/AppModel.h"

#include <gtkmm/popover.h>

namespace meridavolt {

// The memory panel in a popover on `anchor` (the memory button's place),
// shown exactly while AppModel.showingClipboard is true: the close button,
// Escape, a click outside and a paste into a page all end with the flag
// false. The flag stays set while the panel's confirmation or file chooser
// shows; the popover itself goes while the confirmation shows.
class ClipboardPopover final : public Gtk::Popover {
public:
    ClipboardPopover(AppModel& model, Gtk::Widget& anchor);
    ~ClipboardPopover() override;

    // Shows the hidden popover once, drawing nothing on the screen, until its
    // first frame is drawn: its first opening then finds the panel's styles,
    // layout, icons and glyphs ready.
    void prepare();

    ClipboardPanel& panel() { return panel_; }

private:
    // `opening`: the flag just turned on, so the panel starts fresh.
    void follow(bool opening);
    // Hides the popover shown unseen by `prepare`.
    void endUnseenShowing();
    void unseenShowingHidden();

    AppModel& model_;
    ClipboardPanel panel_;
    Connection showingChanged_;
    // Shown by `prepare`, drawing nothing on the screen, until it is first drawn.
    bool unseen_ = false;
    // Shown once already, seen or not: nothing left to prepare.
    bool drawnBefore_ = false;
    bool autohide_ = true;
    AfterFirstDraw drawnUnseen_;
};

}  // namespace meridavolt
