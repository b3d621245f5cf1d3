#pragma once

#include "clipboard/ClipboardStore.h"
#include "clipboard/MemoryShelfModel.h"
#include "clipboard/view/CardFrame.h"
#include "clipboard/view/MemoryImage.h"

#include <giomm/menu.h>
#include <giomm/simpleactiongroup.h>
#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/eventcontrollerkey.h>
#include <gtkmm/gestureclick.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>
#include <gtkmm/popovermenu.h>

#include <memory>
#include <optional>

namespace meridavolt {

// One card of the shelf: the slot's entry (or an empty drop slot) under a
// header of its kind, pin and number. A click copies the entry; a right
// click offers copy, pin, text recognition and moving to the front or end.
// A card with an entry is a drag source; every card is a drop target.
class MemoryCard final : public Gtk::Button {
public:
    static constexpr const char* actionGroupName = "card";

    MemoryCard(ClipboardStore& store, std::size_t index, double cardHeight, bool compact);
    ~MemoryCard() override;

    // Shows a slot's entry, or an empty slot.
    void show(const std::optional<ClipboardEntry>& entry);
    void setCardHeight(double cardHeight);
    // A drag with an accepted type hovers over the card.
    void setTargeted(bool targeted);

    const std::optional<ClipboardEntry>& entry() const { return entry_; }
    std::size_t index() const { return index_; }
    // Builds and opens the menu, as a right click does; nothing on an empty slot.
    void popupMenu(double x, double y);
    // The menu as last opened.
    Glib::RefPtr<Gio::Menu> menuModel() const { return menuModel_; }
    Gtk::PopoverMenu* menu() { return menu_.get(); }
    const Gtk::Label& preview() const { return text_; }
    const Gtk::Image& pinMark() const { return pin_; }
    const Gtk::Image& kindSymbol() const { return kind_; }
    const MemoryImage& thumbnail() const { return thumbnail_; }

private:
    void applyMetrics();
    // The slot's text within the card's lines; nothing for a thumbnail.
    void showPreview();
    void perform(MemoryCardAction action);

    ClipboardStore& store_;
    const std::size_t index_;
    const bool compact_;
    MemoryCardMetrics metrics_;
    std::optional<ClipboardEntry> entry_;
    // The entry the menu was last opened for: the slot may show another by
    // the time an item is chosen.
    std::string menuEntryID_;

    Gtk::Box face_{Gtk::Orientation::VERTICAL, 0};
    Gtk::Box header_{Gtk::Orientation::HORIZONTAL, 4};
    Gtk::Image kind_;
    Gtk::Box headerSpace_;
    Gtk::Image pin_;
    Gtk::Label number_;
    Gtk::Label text_;
    MemoryImage thumbnail_;
    CardFrame frame_;

    Glib::RefPtr<Gtk::GestureClick> contextClick_;
    Glib::RefPtr<Gtk::EventControllerKey> menuKeys_;
    Glib::RefPtr<Gio::SimpleActionGroup> actions_;
    Glib::RefPtr<Gio::Menu> menuModel_;
    std::unique_ptr<Gtk::PopoverMenu> menu_;
};

}  // namespace meridavolt
