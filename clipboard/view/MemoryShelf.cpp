#include "clipboard/view/MemoryShelf.h"

#include "clipboard/MemoryShelfModel.h"
#include "clipboard/view/MemoryStyle.h"

namespace meridavolt {

MemoryShelf::MemoryShelf(ClipboardStore& store, double cardHeight, bool compact)
    : Gtk::Box(Gtk::Orientation::HORIZONTAL, 10), store_(store)
{
    ensureMemoryStyle();
    add_css_class("memory-shelf");
    if (compact) add_css_class("compact");
    // A flexible space first: the cards sit at the trailing end.
    leadingSpace_.set_hexpand(true);
    append(leadingSpace_);
    for (std::size_t index = 0; index < cards_.size(); ++index) {
        cards_[index] = std::make_unique<MemoryCard>(store, index, cardHeight, compact);
        append(*cards_[index]);
    }
    set_valign(Gtk::Align::CENTER);

    connections_.push_back(store_.historyChanged.connect([this] { refresh(); }));
    connections_.push_back(store_.pinnedChanged.connect([this] { refresh(); }));
    refresh();
}

void MemoryShelf::setCardHeight(double cardHeight)
{
    for (auto& card : cards_) card->setCardHeight(cardHeight);
}

void MemoryShelf::refresh()
{
    const MemoryShelfSlots slots = memoryShelfSlots(store_.pinned(), store_.history().entries);
    for (std::size_t index = 0; index < cards_.size(); ++index) cards_[index]->show(slots[index]);
}

}  // namespace meridavolt
