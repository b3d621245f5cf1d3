#pragma once

#include "desktop/ServiceBarMotion.h"

#include <gtkmm/box.h>

#include <optional>
#include <string>

namespace meridavolt {

// The row of service buttons inside the bar's scrolling area. It draws the
// selection highlight behind the buttons, sliding from the old one to the new
// one, and after a drop lets the buttons glide to their new places.
class ServiceList final : public Gtk::Box {
public:
    ServiceList();
    ~ServiceList() override;

    void select(const std::optional<std::string>& id);
    // The coming layout is a drop's reorder: the buttons glide into it.
    void glideIntoNextLayout() { motion_.glideIntoNextPlacement(); }

    // What is drawn now, in the list's coordinates.
    std::optional<Rect> highlightFrame() const { return motion_.highlight(now()); }
    Point drawnOffset(const std::string& id) const { return motion_.offset(id, now()); }

private:
    void snapshot_vfunc(const Glib::RefPtr<Gtk::Snapshot>& snapshot) override;

    // Tells the motion where the buttons are laid out and which is selected.
    void place();
    void drawHighlight(const Glib::RefPtr<Gtk::Snapshot>& snapshot);
    double now() const;

    ServiceBarMotion motion_;
    std::optional<std::string> selected_;
    guint ticking_ = 0;
};

}  // namespace meridavolt
