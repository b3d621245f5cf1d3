#pragma once

#include "desktop/LauncherSearch.h"
#include "desktop/LauncherWindowSystem.h"
#include "platform/Signal.h"
#include "state/AppModel.h"

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/entry.h>
#include <gtkmm/eventcontrollerkey.h>
#include <gtkmm/label.h>
#include <gtkmm/scrolledwindow.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace meridavolt {

// The quick launcher's content: the search field, one row per service and
// per memory entry that matches it, and the hint. Rows are built when the
// library or the memory changes and only shown or hidden while typing, so a
// keystroke never decodes a thumbnail again.
class QuickLauncherView final : public Gtk::Box {
public:
    static constexpr int width = 460;
    static constexpr int height = 500;

    QuickLauncherView(AppModel& model, LauncherActions actions);
    ~QuickLauncherView() override;

    // Puts the keyboard focus in the search field (every showing does).
    void focusSearch();

    Gtk::Entry& searchField() { return search_; }
    // The rows the query lets through, in order, by the text they show.
    std::vector<std::string> shownServices() const;
    std::vector<std::string> shownMemories() const;
    // How many of the rows shown draw an image's thumbnail.
    std::size_t shownThumbnails() const;

private:
    struct ServiceRow;
    struct MemoryRow;

    void rebuildServices();
    void rebuildMemory();
    void applyQuery();
    Gtk::Label& header(Gtk::Label& label, const char* text);

    AppModel& model_;
    LauncherActions actions_;

    Gtk::Entry search_;
    Gtk::ScrolledWindow scroller_;
    Gtk::Box list_{Gtk::Orientation::VERTICAL, 8};
    Gtk::Label servicesHeader_;
    Gtk::Box services_{Gtk::Orientation::VERTICAL, 8};
    Gtk::Label memoryHeader_;
    Gtk::Box memory_{Gtk::Orientation::VERTICAL, 8};
    Gtk::Label hint_;

    std::vector<std::unique_ptr<ServiceRow>> serviceRows_;
    std::vector<std::unique_ptr<MemoryRow>> memoryRows_;
    bool servicesStale_ = true;
    bool memoryStale_ = true;
    std::vector<Connection> connections_;
    sigc::connection preparing_;
};

}  // namespace meridavolt
