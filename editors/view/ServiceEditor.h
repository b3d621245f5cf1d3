#pragma once

#include "desktop/view/SheetHost.h"
#include "editors/ServiceEditorModel.h"
#include "editors/view/WholeTextEntry.h"

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/dropdown.h>
#include <gtkmm/entry.h>
#include <gtkmm/headerbar.h>
#include <gtkmm/label.h>

#include <functional>
#include <optional>

namespace meridavolt {

// The sheet that edits one service's name, address and way of opening, or
// makes a new web site. "保存" hands the finished service to `save` and then
// calls `dismiss`; "キャンセル" only dismisses.
class ServiceEditor final : public Gtk::Box, public SheetContent {
public:
    ServiceEditor(std::optional<Service> service, std::function<void(Service)> save, std::function<void()> dismiss);

    SheetFrame sheetFrame() const override;
    Gtk::Widget* sheetTitleBar() override { return &header_; }

    Gtk::Entry& nameEntry() { return name_; }
    Gtk::Entry& addressEntry() { return address_; }
    Gtk::DropDown& modePicker() { return mode_; }
    Gtk::Label& addressHint() { return hint_; }
    Gtk::Button& saveButton() { return save_; }
    Gtk::Button& cancelButton() { return cancel_; }

private:
    void refresh();

    ServiceEditorModel editor_;
    std::function<void()> dismiss_;
    Gtk::HeaderBar header_;
    Gtk::Button cancel_{ServiceEditorModel::cancelTitle};
    Gtk::Button save_{ServiceEditorModel::saveTitle};
    Gtk::Label nameTitle_{ServiceEditorModel::nameTitle};
    WholeTextEntry name_;
    WholeTextEntry address_;
    Gtk::Box modeRow_{Gtk::Orientation::HORIZONTAL, 12};
    Gtk::Label modeTitle_{ServiceEditorModel::modeTitle};
    Gtk::DropDown mode_;
    Gtk::Label hint_{ServiceEditorModel::addressHint};
};

}  // namespace meridavolt
