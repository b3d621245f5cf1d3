#pragma once

#include "web/WebSession.h"

#include <gtkmm/widget.h>

namespace meridavolt {

// Shows a session's own web view in the widget tree. It never creates a view,
// so the page survives the surface being rebuilt or moved: a new surface
// takes the view from wherever it was. An inactive surface hides the view and
// takes the keyboard focus away from it, so typing never reaches a hidden page.
class WebSurface final : public Gtk::Widget {
public:
    explicit WebSurface(WebSession& session);
    ~WebSurface() override;

    void setActive(bool active);
    bool isActive() const { return active_; }

private:
    bool holdsView() const;

    GtkWidget* view_ = nullptr;  // null for an engine without a view (tests)
    bool active_ = true;
};

}  // namespace meridavolt
