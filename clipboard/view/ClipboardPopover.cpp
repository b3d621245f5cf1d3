#include "clipboard/view/ClipboardPopover.h"

#include "platform/gdk/IdlePreparation.h"
#include "platform/gdk/X11Desktop.h"

#include <gdk/x11/gdkx.h>

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
        // The popover hides while a dialog of the panel shows; the panel
        // comes back when the dialog closes.
        if (unseen_ || panel_.showingDialog()) return;
        if (model_.showingClipboard()) model_.setShowingClipboard(false);
    });
    // Shown, the popover holds the pointer and the keyboard of the whole
    // desktop: it goes while the question shows, and comes back only to a
    // user who stayed; one who went to another program closed the panel as
    // a click outside it does.
    panel_.dialogOpening = [this] { popdown(); };
    panel_.dialogClosed = [this](bool keyboardBack) {
        if (keyboardBack) follow(false);
        else model_.setShowingClipboard(false);
    };
    showingChanged_ = model_.showingClipboardChanged.connect([this] { follow(true); });
    follow(true);
}

ClipboardPopover::~ClipboardPopover() { unparent(); }

void ClipboardPopover::prepare()
{
    if (drawnBefore_ || !get_parent()->get_mapped()) return;
    drawnBefore_ = true;
    // Styles are settled and text is drawn only in a popover that shows: it
    // is shown once, drawing nothing on the screen and taking no input (the
    // surface of a popover that hides itself grabs the input, so another
    // surface is made for the time), until it has been drawn.
    autohide_ = get_autohide();
    set_autohide(false);
    loadIconsAndGlyphs(panel_);
    Gtk::Widget::realize();
    auto* surface = get_surface()->gobj();
    if (!GDK_IS_X11_SURFACE(surface)) {
        set_autohide(autohide_);
        return;
    }
    x11desktop::showNothing(surface);
    unseen_ = true;
    drawnUnseen_.watch(*this, [this] { endUnseenShowing(); }, [this] { unseenShowingHidden(); });
    popup();
}

void ClipboardPopover::unseenShowingHidden()
{
    // Hidden with its window before it was drawn: nothing was prepared, and
    // the window's next showing prepares it again.
    endUnseenShowing();
    drawnBefore_ = false;
}

void ClipboardPopover::endUnseenShowing()
{
    if (!unseen_) return;
    drawnUnseen_.cancel();
    popdown();
    unseen_ = false;
    set_autohide(autohide_);
}

void ClipboardPopover::follow(bool opening)
{
    endUnseenShowing();
    if (model_.showingClipboard() && !get_visible()) {
        if (opening) panel_.prepareForOpening();
        drawnBefore_ = true;
        popup();
    } else if (!model_.showingClipboard() && get_visible()) {
        popdown();
    }
}

}  // namespace meridavolt
