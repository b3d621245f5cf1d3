#pragma once

#include "app/MacAppHost.h"
#include "app/view/ContentView.h"

#include <gtkmm/applicationwindow.h>
#include <gtkmm/box.h>

#include <memory>

namespace meridavolt {

// The one window. It is empty until it first comes on screen, which creates
// the application state; from then on it shows the content view over that
// state. Closing it only hides it: the state and every page stay alive, and
// the next activation shows the same window again.
class MacRootView final : public Gtk::ApplicationWindow {
public:
    static constexpr int defaultWidth = 1120;
    static constexpr int defaultHeight = 780;
    static constexpr int minimumWidth = 760;
    static constexpr int minimumHeight = 540;

    explicit MacRootView(MacAppHost& host);
    ~MacRootView() override;

    // Shows the update sheet over the window.
    void presentUpdates();

private:
    void showContent();

    MacAppHost& host_;
    Gtk::Box root_;
    std::unique_ptr<ContentView> content_;
    Connection modelChanged_;
};

}  // namespace meridavolt
