#pragma once

#include "clipboard/ClipboardEntry.h"
#include "clipboard/ClipboardStore.h"

#include <gtkmm/widget.h>

#include <functional>
#include <optional>
#include <string>

namespace meridavolt {

// Drag and drop of the clipboard memory, for the panel's rows and the shelf's
// cards. Both use COPY only: a drop never deletes anything in its source.

// Makes `widget` a drag source of the entry `entry()` gives at the start of a
// drag (none: no drag). Other applications get an image entry as PNG (and, for
// receivers that save files, as "PELLOWRI-MEMORY.png" in a private cache
// folder) and a text entry as text; drop targets of the memory in this
// process also get the entry's id, which moves it.
void attachEntryDragSource(Gtk::Widget& widget, std::function<std::optional<ClipboardEntry>()> entry);

// Makes `widget` a drop target of the memory: what is dropped is stored in
// front of the entry whose id `before()` gives at the drop (none: the front;
// an own entry then moves to the end). `hovering` (optional) hears true while
// an accepted drag is over the widget and false when it leaves or drops.
// The store must outlive the widget.
void attachMemoryDropTarget(Gtk::Widget& widget, ClipboardStore& store,
                            std::function<std::optional<std::string>()> before,
                            std::function<void(bool)> hovering = {});

// Removes the images earlier drags left in the cache folder (start-up).
void clearDraggedImages();

}  // namespace meridavolt
