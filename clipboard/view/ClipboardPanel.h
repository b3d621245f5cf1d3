#pragma once

#include "clipboard/ClipboardPanelModel.h"
#include "clipboard/view/ClipboardPanelRow.h"
#include "state/AppModel.h"

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/entry.h>
#include <gtkmm/filechoosernative.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>
#include <gtkmm/messagedialog.h>
#include <gtkmm/scrolledwindow.h>
#include <gtkmm/switch.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace meridavolt {

// The full view of the clipboard memory: counts, capture and automatic
// capture, image import, search, the pinned and temporary entries, the last
// status, hints and clearing the history. It holds no memory data: it shows
// the store and the application state and calls their operations. Rows are
// kept by entry id and updated in place, so a capture while the panel is open
// keeps the search text, the focus and any open dialog.
class ClipboardPanel final : public Gtk::Box {
public:
    explicit ClipboardPanel(AppModel& model);
    ~ClipboardPanel() override;

    // A fresh panel for each opening: the search text is emptied.
    void prepareForOpening();
    // True while the confirmation or the file chooser is open.
    bool showingDialog() const { return dialogOpen_; }
    // Runs just before the confirmation shows: the panel's popover, which
    // holds the pointer and the keyboard while it shows, must go first.
    std::function<void()> dialogOpening;
    // Runs when the confirmation or the file chooser closes; `keyboardBack`
    // is false when the confirmation closed while the user was in another program.
    std::function<void(bool keyboardBack)> dialogClosed;

    // The ids of the rows shown (matching the search), in order.
    std::vector<std::string> shownIDs() const;
    ClipboardPanelRow* row(const std::string& id);
    clipboardpanel::Placeholder placeholder() const;

    Gtk::Label& countsLabel() { return counts_; }
    Gtk::Button& closeButton() { return close_; }
    Gtk::Button& captureButton() { return capture_; }
    Gtk::Switch& automaticSwitch() { return automatic_; }
    Gtk::Button& importButton() { return import_; }
    Gtk::Entry& searchEntry() { return search_; }
    Gtk::ScrolledWindow& list() { return scroller_; }
    Gtk::Box& endStrip() { return endStrip_; }
    Gtk::Label& statusLabel() { return status_; }
    Gtk::Label& pasteHintLabel() { return pasteHint_; }
    Gtk::Button& clearButton() { return clear_; }
    Gtk::MessageDialog* confirmation() { return confirmation_.get(); }

    // What the confirmation's destructive button does.
    void confirmClear();

private:
    void buildHeader();
    void buildControls();
    void buildList();
    void buildFooter();
    void refreshCounts();
    void refreshRows();
    // Shows the rows the search matches; builds nothing.
    void filterRows();
    void refreshRowStates();
    void refreshStatus();
    void refreshAutomatic();
    void askToClear();
    void chooseImages();
    void importChosen();
    void dialogEnded(bool keyboardBack);

    AppModel& model_;
    ClipboardStore& store_;

    Gtk::Box header_{Gtk::Orientation::HORIZONTAL, 6};
    Gtk::Label counts_;
    Gtk::Button close_;
    Gtk::Box captureRow_{Gtk::Orientation::HORIZONTAL, 6};
    Gtk::Button capture_;
    Gtk::Switch automatic_;
    bool showingAutomatic_ = false;
    Gtk::Box importRow_{Gtk::Orientation::HORIZONTAL, 6};
    Gtk::Button import_;
    Gtk::Entry search_;
    Gtk::ScrolledWindow scroller_;
    Gtk::Box listBox_{Gtk::Orientation::VERTICAL, 10};
    Gtk::Box emptyState_{Gtk::Orientation::VERTICAL, 12};
    Gtk::Label notFound_{"見つかりませんでした"};
    Gtk::Box endStrip_;
    std::map<std::string, std::unique_ptr<ClipboardPanelRow>> rows_;
    // Rows whose entry went away; freed after the event that removed them.
    std::vector<std::unique_ptr<ClipboardPanelRow>> leaving_;
    Gtk::Label status_;
    Gtk::Label imageHint_;
    Gtk::Label pasteHint_;
    Gtk::Box footer_{Gtk::Orientation::HORIZONTAL, 6};
    Gtk::Button clear_;

    std::unique_ptr<Gtk::MessageDialog> confirmation_;
    Glib::RefPtr<Gtk::FileChooserNative> chooser_;
    bool dialogOpen_ = false;

    std::vector<Connection> connections_;
    sigc::connection freeLeaving_;
};

}  // namespace meridavolt
