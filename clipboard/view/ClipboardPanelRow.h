#pragma once

#include "clipboard/ClipboardEntry.h"
#include "clipboard/ClipboardStore.h"
#include "clipboard/view/MemoryImage.h"
#include "state/AppModel.h"

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>

#include <memory>

namespace meridavolt {

// One entry of the memory panel: its kind, time, pin and delete buttons, its
// text or thumbnail, and copy, text recognition and "ページに貼る". A drag
// source of its entry and a drop target that stores in front of it. The
// panel updates it in place when the entry or the state it shows changes.
class ClipboardPanelRow final : public Gtk::Box {
public:
    ClipboardPanelRow(AppModel& model, const ClipboardEntry& entry);

    // Shows the entry as it now is; nothing is redrawn that did not change.
    void update(const ClipboardEntry& entry);
    // Pin, recognition and paste states, read from the store and the model.
    void refreshState();

    const ClipboardEntry& entry() const { return entry_; }
    Gtk::Button& pinButton() { return pin_; }
    Gtk::Button& deleteButton() { return delete_; }
    Gtk::Button& copyButton() { return copy_; }
    Gtk::Button& recognizeButton() { return recognize_; }
    Gtk::Button& pasteButton() { return paste_; }
    Gtk::Label& textLabel() { return text_; }
    Gtk::Label& timeLabel() { return time_; }
    MemoryImage* thumbnail() { return thumbnail_.get(); }

private:
    void showContent();

    AppModel& model_;
    ClipboardStore& store_;
    ClipboardEntry entry_;
    Gtk::Box header_{Gtk::Orientation::HORIZONTAL, 6};
    Gtk::Image kind_;
    Gtk::Label time_;
    Gtk::Button pin_;
    Gtk::Button delete_;
    Gtk::Label text_;
    std::unique_ptr<MemoryImage> thumbnail_;
    Gtk::Box actions_{Gtk::Orientation::HORIZONTAL, 6};
    Gtk::Button copy_;
    Gtk::Button recognize_;
    Gtk::Label* recognizeTitle_ = nullptr;
    Gtk::Button paste_;
};

// A button with a symbol and a title, as the panel draws its actions.
// Returns the title's label.
Gtk::Label* labelledButton(Gtk::Button& button, const char* symbol, const std::string& title);
// Shows a new title on such a button; it is the button's accessible name too.
void setButtonTitle(Gtk::Button& button, Gtk::Label& titleLabel, const std::string& title);
// The name assistive technologies read for a widget (and its tooltip).
void nameControl(Gtk::Widget& widget, const std::string& name);

}  // namespace meridavolt
