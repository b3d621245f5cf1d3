#pragma once

#include "clipboard/ClipboardStore.h"
#include "clipboard/view/MemoryCard.h"

#include <gtkmm/box.h>

#include <array>
#include <memory>
#include <vector>

namespace meridavolt {

// A row of three cards at the trailing end showing the first three entries of
// the memory, pins first. Its host gives the card height and the form.
class MemoryShelf final : public Gtk::Box {
public:
    MemoryShelf(ClipboardStore& store, double cardHeight, bool compact);

    // Follows the host's height live, as a resize drag changes it.
    void setCardHeight(double cardHeight);
    MemoryCard& card(std::size_t index) { return *cards_.at(index); }

private:
    void refresh();

    ClipboardStore& store_;
    Gtk::Box leadingSpace_;
    std::array<std::unique_ptr<MemoryCard>, memoryShelfSlotCount> cards_;
    std::vector<Connection> connections_;
};

}  // namespace meridavolt
