#pragma once

#include <gtkmm/entry.h>

namespace meridavolt {

// A one-line entry that holds its whole text, however long. GTK's own entry
// buffer stops at 65,535 bytes and silently drops the rest of a longer text,
// so a stored name or address would lose its end when it is merely shown and
// saved again.
class WholeTextEntry : public Gtk::Entry {
public:
    WholeTextEntry();
};

}  // namespace meridavolt
