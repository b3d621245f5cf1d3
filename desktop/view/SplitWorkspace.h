#pragma once

#include "desktop/PaneSet.h"
#include "desktop/view/DropStrip.h"
#include "desktop/view/StartupMark.h"
#include "state/AppModel.h"
#include "web/view/BrowserPane.h"

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/gestureclick.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>
#include <gtkmm/paned.h>
#include <gtkmm/stack.h>

#include <map>
#include <memory>

namespace meridavolt {

// The workspace between the bars: the mounted services' panes stacked so that
// only the selected one shows and takes input, the start-up mark while nothing
// is selected, an optional right-hand pane behind a draggable divider, and a
// drop strip at each side. A switch between mounted services only changes
// which pane shows; no pane is built or destroyed by it.
class SplitWorkspace final : public Gtk::Box {
public:
    static constexpr int minimumPaneWidth = 230;

    SplitWorkspace(AppModel& model, Scheduler& scheduler);
    ~SplitWorkspace() override;

    // The pane of a service in the primary stack, or null.
    BrowserPane* primaryPane(const std::string& id);
    BrowserPane* secondaryPane();
    const std::optional<std::string>& secondaryServiceID() const { return secondaryID_; }
    StartupMark* startupMark() { return startupMark_.get(); }
    Gtk::Stack& primaryStack() { return stack_; }
    Gtk::Paned& divider() { return paned_; }
    Gtk::Button* closeSplitButton() { return secondary_ ? &secondary_->close : nullptr; }
    DropStrip& leftStrip() { return leftStrip_; }
    DropStrip& rightStrip() { return rightStrip_; }

    // Emitted after the panes were brought in line with the application state.
    sigc::signal<void()> signalArranged;

private:
    // A pane with the session it shows and the tap that focuses it.
    struct Pane {
        std::shared_ptr<WebSession> session;
        std::unique_ptr<BrowserPane> view;
        Glib::RefPtr<Gtk::GestureClick> tap;
    };
    struct Secondary {
        std::string serviceID;
        Gtk::Box box{Gtk::Orientation::VERTICAL, 0};
        Gtk::Box header{Gtk::Orientation::HORIZONTAL, 6};
        Gtk::Image icon;
        Gtk::Label name;
        Gtk::Box spacer;
        Gtk::Button close;
        Pane pane;
    };

    void arrange();
    Pane makePane(const Service& service, bool active);
    void removePrimary(const std::string& id);
    void removeSecondary();
    void showSecondary(const Service& service);
    std::optional<Service> libraryService(const std::string& id) const;

    AppModel& model_;
    Scheduler& scheduler_;
    DropStrip leftStrip_;
    Gtk::Paned paned_{Gtk::Orientation::HORIZONTAL};
    Gtk::Stack stack_;
    Gtk::Box blank_;
    DropStrip rightStrip_;
    std::unique_ptr<StartupMark> startupMark_;
    std::map<std::string, Pane> primary_;
    std::unique_ptr<Secondary> secondary_;
    std::optional<std::string> secondaryID_;
    std::vector<Connection> connections_;
};

}  // namespace meridavolt
