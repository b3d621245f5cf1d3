#pragma once

#include "desktop/view/SheetHost.h"
#include "editors/WorkSetEditorModel.h"
#include "editors/view/DeferredWork.h"
#include "editors/view/WholeTextEntry.h"

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/entry.h>
#include <gtkmm/label.h>
#include <gtkmm/menubutton.h>
#include <gtkmm/popover.h>
#include <gtkmm/scrolledwindow.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace meridavolt {

// The sheet that edits one work set: its name, its services' order and
// membership, and the page each one opens. "保存" (or Return) hands the set
// to the application state and dismisses, whatever the state then reports.
class WorkSetEditor final : public Gtk::Box, public SheetContent {
public:
    WorkSetEditor(AppModel& model, const WorkSet& original, std::function<void()> dismiss);

    SheetFrame sheetFrame() const override;

    const WorkSetEditorModel& editor() const { return editor_; }
    Gtk::Entry& nameEntry() { return name_; }
    Gtk::MenuButton& addMenu() { return add_; }
    Gtk::Button& saveButton() { return save_; }
    Gtk::Button& cancelButton() { return cancel_; }
    // The page field of a service in the set, or nullptr (none for "line").
    Gtk::Entry* pageEntry(const std::string& serviceID);
    enum class RowButton { up, down, remove };
    // A button of a service's row; nullptr when the service is not in the set.
    Gtk::Button* rowButton(const std::string& serviceID, RowButton which);
    // The add menu's choices as shown, in order.
    std::vector<Gtk::Button*> addChoices();

private:
    struct RowWidgets {
        Gtk::Entry* page = nullptr;
        Gtk::Button* up = nullptr;
        Gtk::Button* down = nullptr;
        Gtk::Button* remove = nullptr;
    };
    // The row button that holds the keyboard: its service, row and kind.
    struct KeyboardButton {
        std::string id;
        std::size_t index;
        RowButton button;
    };
    std::optional<KeyboardButton> focusedRowButton();
    void giveKeyboardBack(const KeyboardButton& place);
    void rebuildRows();
    Gtk::Widget* makeRow(const Service& service);
    void rebuildAddChoices();
    void refresh();
    bool trySave();
    // The widest the add menu's content may be: the sheet's content width.
    int addMenuWidth() const;

    WorkSetEditorModel editor_;
    std::function<void()> dismiss_;
    std::map<std::string, RowWidgets> rows_;
    std::vector<std::string> shownIDs_;
    std::vector<Gtk::Button*> addChoices_;

    Gtk::Label title_{WorkSetEditorModel::title};
    WholeTextEntry name_;
    Gtk::ScrolledWindow scroller_;
    Gtk::Box list_{Gtk::Orientation::VERTICAL, 14};
    Gtk::MenuButton add_;
    Gtk::Popover addPopover_;
    Gtk::ScrolledWindow addScroller_;
    Gtk::Box addBox_{Gtk::Orientation::VERTICAL, 0};
    Gtk::Box bottom_{Gtk::Orientation::HORIZONTAL, 8};
    Gtk::Box spacer_;
    Gtk::Button cancel_{WorkSetEditorModel::cancelTitle};
    Gtk::Button save_{WorkSetEditorModel::saveTitle};
    DeferredWork rebuildLater_{[this] { rebuildRows(); }};
};

}  // namespace meridavolt
