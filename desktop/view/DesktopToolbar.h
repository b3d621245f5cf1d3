#pragma once

#include "clipboard/view/ClipboardPopover.h"
#include "desktop/DesktopArrangement.h"
#include "desktop/PanelDocking.h"
#include "desktop/view/BrandMark.h"
#include "desktop/view/PanelGrip.h"
#include "state/AppModel.h"

#include <giomm/menumodel.h>
#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>
#include <gtkmm/menubutton.h>
#include <gtkmm/scrolledwindow.h>

namespace meridavolt {

// The top row of the window: home, back to the previous service, work sets,
// the memory shelf when it is docked in the header, the memory button, the
// layout menu and the service manager.
class DesktopToolbar final : public Gtk::Box {
public:
    DesktopToolbar(AppModel& model, PanelDocking& docking, Gtk::Widget& layoutSpace,
                   const Glib::RefPtr<Gio::MenuModel>& layoutMenu);

    // Shows the shelf in the row, or the home button's word in its place.
    void update(const DesktopArrangement& arrangement);

    Gtk::Box& shelfArea() { return shelfArea_; }
    // Where the memory button goes, between the shelf and the layout menu.
    Gtk::Box& memoryButtonArea() { return memoryButtonArea_; }
    Gtk::Button& homeButton() { return home_; }
    Gtk::Button& backButton() { return back_; }
    Gtk::Button& workSetButton() { return workSets_; }
    Gtk::MenuButton& layoutButton() { return layout_; }
    Gtk::Button& manageButton() { return manage_; }
    Gtk::Label& homeWord() { return homeWord_; }
    Gtk::Box& memoryShelfRow() { return shelfRow_; }
    // The memory panel, hanging on the memory button's place.
    ClipboardPopover& clipboardPopover() { return *clipboardPopover_; }

private:
    void updateBackButton();

    AppModel& model_;
    Gtk::Button home_;
    Gtk::Box homeRow_{Gtk::Orientation::HORIZONTAL, 12};
    BrandMark brand_;
    Gtk::Label homeWord_{"MERIDAVOLT"};
    Gtk::Box spacer_;
    Gtk::Button back_;
    Gtk::Button workSets_;
    Gtk::Box shelfRow_{Gtk::Orientation::HORIZONTAL, 0};
    PanelGrip shelfGrip_;
    Gtk::ScrolledWindow shelfClip_;
    Gtk::Box shelfArea_{Gtk::Orientation::HORIZONTAL, 0};
    Gtk::Box memoryButtonArea_{Gtk::Orientation::HORIZONTAL, 0};
    Gtk::MenuButton layout_;
    Gtk::Button manage_;
    Connection historyChanged_;
    Connection libraryChanged_;
    std::unique_ptr<ClipboardPopover> clipboardPopover_;
};

}  // namespace meridavolt
