#pragma once

#include "desktop/view/SheetHost.h"
#include "editors/WorkSetManagerModel.h"
#include "editors/view/DeferredWork.h"
#include "editors/view/WorkSetEditor.h"

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/label.h>
#include <gtkmm/messagedialog.h>
#include <gtkmm/scrolledwindow.h>

#include <memory>
#include <optional>
#include <vector>

namespace meridavolt {

// The sheet of saved work sets: a click on a set's summary opens it, the
// pencil edits it, the trash deletes it after a question; "今の並びとページを保存"
// edits a new set of the current order and pages. The editor and the question
// open over it.
class WorkSetManager final : public Gtk::Box, public SheetContent {
public:
    explicit WorkSetManager(AppModel& model);
    ~WorkSetManager() override;

    SheetFrame sheetFrame() const override;

    struct Row {
        Gtk::Button* summary = nullptr;
        Gtk::Button* edit = nullptr;
        Gtk::Button* remove = nullptr;
    };
    // The rows as shown, in list order.
    const std::vector<Row>& rows() const { return rows_; }
    Gtk::Button& closeButton() { return close_; }
    Gtk::Button& saveCurrentButton() { return saveCurrent_; }
    Gtk::MessageDialog* confirmation() { return confirmation_.get(); }
    // The open editor, or nullptr.
    WorkSetEditor* editor() { return dynamic_cast<WorkSetEditor*>(editorSheet_.content()); }

private:
    void rebuild();
    Row makeRow(const WorkSet& set);
    void openEditor(WorkSet set);
    void askToDelete(const WorkSet& set);
    void closeConfirmation();

    AppModel& model_;
    WorkSetManagerModel manager_;
    std::optional<WorkSet> editing_;
    std::optional<WorkSet> deleting_;
    std::vector<Row> rows_;

    Gtk::Box header_{Gtk::Orientation::HORIZONTAL, 8};
    Gtk::Label heading_{WorkSetManagerModel::heading};
    Gtk::Box spacer_;
    Gtk::Button close_{WorkSetManagerModel::closeTitle};
    Gtk::ScrolledWindow scroller_;
    Gtk::Box list_{Gtk::Orientation::VERTICAL, 12};
    Gtk::Button saveCurrent_;
    Gtk::Label caption_{WorkSetManagerModel::caption};
    std::unique_ptr<Gtk::MessageDialog> confirmation_;
    SheetHost editorSheet_;
    Connection workSetsChanged_;
    Connection libraryChanged_;
    DeferredWork rebuildLater_{[this] { rebuild(); }};
};

}  // namespace meridavolt
