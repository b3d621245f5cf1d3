#pragma once

#include "desktop/view/BrandWebsiteLink.h"
#include "desktop/view/SheetHost.h"
#include "editors/ServiceManagerModel.h"
#include "editors/view/DeferredWork.h"
#include "editors/view/ServiceEditor.h"

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/droptarget.h>
#include <gtkmm/headerbar.h>
#include <gtkmm/label.h>
#include <gtkmm/listbox.h>
#include <gtkmm/popover.h>
#include <gtkmm/scrolledwindow.h>

#include <memory>
#include <optional>
#include <vector>

namespace meridavolt {

// The sheet that manages the library: "マイサービス" in bar order (a click
// edits, "削除" and the Delete key remove at once, dragging reorders), the
// catalogue services not in the library and "Webサイト" under "追加", and the
// maker's home-page link. The editor opens over it.
class ServiceManager final : public Gtk::Box, public SheetContent {
public:
    explicit ServiceManager(AppModel& model);
    ~ServiceManager() override;

    SheetFrame sheetFrame() const override;
    Gtk::Widget* sheetTitleBar() override { return &header_; }

    Gtk::ListBox& myServices() { return mine_; }
    Gtk::ListBox& addList() { return add_; }
    // The open editor, or nullptr.
    ServiceEditor* editor() { return dynamic_cast<ServiceEditor*>(editorSheet_.content()); }
    void popupContextMenu(Gtk::ListBoxRow& row);
    // The context menu's one item, "削除".
    Gtk::Button& contextDeleteButton() { return deleteButton_; }
    Gtk::Popover& contextMenu() { return contextMenu_; }

private:
    // The menu (right button, Menu, Shift+F10), the Delete key and the drop of a dragged row.
    void installListControllers();
    void rebuild();
    Gtk::ListBoxRow* makeServiceRow(const Service& service);
    Gtk::ListBoxRow* makeAddRow(const std::string& title, const std::string& symbol);
    void installRowDrag(Gtk::ListBoxRow& row, const std::string& id);
    bool dropped(const Glib::ValueBase& value, double y);
    void moveDropped();
    std::optional<std::string> idAt(const Gtk::ListBoxRow* row) const;
    Gtk::ListBoxRow* rowOf(const std::optional<std::string>& id);
    // The row of "マイサービス" that holds the keyboard: its service and place.
    struct KeyboardRow {
        std::string id;
        std::size_t index;
    };
    Gtk::ListBoxRow* focusedListRow();
    std::optional<KeyboardRow> focusedRow();
    void giveKeyboardBack(const KeyboardRow& place);
    void openEditor(std::optional<Service> service);
    void closeEditor();

    AppModel& model_;
    ServiceManagerModel manager_;
    struct ShownRow {
        std::string id, name, symbol;
        LaunchMode mode;
        friend bool operator==(const ShownRow&, const ShownRow&) = default;
    };
    std::vector<ShownRow> shownRows_;
    bool built_ = false;
    std::vector<std::string> shownIDs_;
    std::vector<Service> shownAddable_;
    std::optional<Service> editing_;
    bool addingWebsite_ = false;
    bool dragging_ = false;

    Gtk::HeaderBar header_;
    Gtk::Button done_{ServiceManagerModel::doneTitle};
    Gtk::ScrolledWindow scroller_;
    Gtk::Box column_{Gtk::Orientation::VERTICAL, 0};
    Gtk::Label mineTitle_{ServiceManagerModel::myServicesTitle};
    Gtk::ListBox mine_;
    Gtk::Label addTitle_{ServiceManagerModel::addTitle};
    Gtk::ListBox add_;
    BrandWebsiteLink brandLink_;
    Glib::RefPtr<Gtk::DropTarget> drop_;
    Gtk::Popover contextMenu_;
    Gtk::Button deleteButton_{ServiceManagerModel::deleteTitle};
    std::optional<std::string> contextID_;
    SheetHost editorSheet_;
    DeferredWork rebuildLater_{[this] { rebuild(); }};
    // The service a drop moves and the place it goes to, applied once the drop is over.
    struct DroppedMove {
        std::string id;
        std::size_t destination;
    };
    std::optional<DroppedMove> droppedMove_;
    DeferredWork moveLater_{[this] { moveDropped(); }};
    Connection libraryChanged_;
    // Last, so it expires before any widget of this view is destroyed.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace meridavolt
