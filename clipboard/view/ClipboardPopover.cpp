#include "clipboard/view/ClipboardPopover.h"

#include "platform/gdk/IdlePreparation.h"

namespace meridavolt {

ClipboardPopover::ClipboardPopover(AppModel& model, Gtk::Widget& anchor) : model_(model), panel_(model)
{
    set_child(panel_);
    set_has_arrow(true);
    // The panel's list expands inside the popover; without this the wish
    // would travel up to the toolbar, which would then grow while it shows.
    set_hexpand(false);
    set_vexpand(false);
    set_parent(anchor);
    signal_closed().connect([this] {
        // A dialog of the panel takes the focus and the popover hides; the
        // panel comes back when the dialog closes.
        if (panel_.showingDialog()) return;
        if (model_.showingClipboard()) model_.setShowingClipboard(false);
    });
    panel_.dialogClosed = [this] { follow(false); };
    showingChanged_ = model_.showingClipboardChanged.connect([this] { follow(true); });
    follow(true);
}

ClipboardPopover::~ClipboardPopover() { unparent(); }

void ClipboardPopover::prepare()
{
    if (get_visible() || !get_parent()->get_realized()) return;
    Gtk::Widget::realize();
    layOutUnshown(panel_);
}

void ClipboardPopover::follow(bool opening)
{
    if (model_.showingClipboard() && !get_visible()) {
        if (opening) panel_.prepareForOpening();
        popup();
    } else if (!model_.showingClipboard() && get_visible()) {
        popdown();
    }
}

}  // namespace meridavolt
