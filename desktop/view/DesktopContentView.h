#pragma once

#include "clipboard/view/ClipboardCloud.h"
#include "clipboard/view/MemoryShelf.h"
#include "desktop/DesktopArrangement.h"
#include "desktop/LayoutSettings.h"
#include "desktop/PanelDocking.h"
#include "desktop/view/DesktopToolbar.h"
#include "desktop/view/DockingHints.h"
#include "desktop/view/ErrorAlert.h"
#include "desktop/view/FocusKeeper.h"
#include "desktop/view/LayoutMenu.h"
#include "desktop/view/MemoryStrip.h"
#include "desktop/view/ServiceBar.h"
#include "desktop/view/SheetHost.h"
#include "desktop/view/SplitWorkspace.h"
#include "platform/gdk/IdlePreparation.h"
#include "platform/Scheduler.h"
#include "platform/Settings.h"
#include "state/AppModel.h"

#include <gtkmm/box.h>
#include <gtkmm/overlay.h>
#include <gtkmm/separator.h>

#include <memory>

namespace meridavolt {

// The content of the main window: the toolbar, the memory strip and the
// service bar arranged around the split workspace as the five layout
// settings say, the docking hints while a grip is dragged, the sheets and the
// alert of the application state's message.
class DesktopContentView final : public Gtk::Overlay {
public:
    // On the settings and the scheduler the application state stands on.
    explicit DesktopContentView(AppModel& model);
    // `settings` holds the layout; `scheduler` times the start-up animation.
    DesktopContentView(AppModel& model, Settings& settings, Scheduler& scheduler);
    ~DesktopContentView() override;

    // The work-set and service-manager sheets are built by the library
    // editors; until one is supplied its flag presents nothing.
    void setWorkSetSheet(SheetHost::Content content) { workSetSheet_.setContent(std::move(content)); }
    void setServiceManagerSheet(SheetHost::Content content) { managerSheet_.setContent(std::move(content)); }

    const DesktopArrangement& arrangement() const { return arrangement_; }
    LayoutSettings& layoutSettings() { return layoutSettings_; }
    PanelDocking& docking() { return docking_; }
    DesktopToolbar& toolbar() { return toolbar_; }
    ServiceBar& serviceBar() { return serviceBar_; }
    MemoryStrip& memoryStrip() { return memoryStrip_; }
    MemoryShelf& toolbarShelf() { return toolbarShelf_; }
    MemoryShelf& stripShelf() { return stripShelf_; }
    ClipboardCloud& memoryButton() { return memoryButton_; }
    SplitWorkspace& workspace() { return workspace_; }
    DockingHints& dockingHints() { return hints_; }
    SheetHost& quickActionSheet() { return quickSheet_; }
    ErrorAlert& alert() { return alert_; }

private:
    void arrange();
    void scheduleArrange();

    AppModel& model_;
    LayoutSettings layoutSettings_;
    PanelDocking docking_;
    MemoryResize resize_;
    LayoutMenu layoutMenu_;
    DesktopArrangement arrangement_;
    bool arranged_ = false;

    Gtk::Box content_{Gtk::Orientation::VERTICAL, 0};
    DesktopToolbar toolbar_;
    Gtk::Separator toolbarDivider_{Gtk::Orientation::HORIZONTAL};
    Gtk::Box middle_{Gtk::Orientation::HORIZONTAL, 0};
    SplitWorkspace workspace_;
    Gtk::Separator railDivider_{Gtk::Orientation::VERTICAL};
    ServiceBar serviceBar_;
    MemoryStrip memoryStrip_;
    MemoryShelf toolbarShelf_;
    MemoryShelf stripShelf_;
    ClipboardCloud memoryButton_;
    DockingHints hints_;

    SheetHost workSetSheet_;
    SheetHost managerSheet_;
    SheetHost quickSheet_;
    ErrorAlert alert_;

    std::unique_ptr<FocusKeeper> focusKeeper_;
    std::vector<Connection> connections_;
    sigc::connection pendingArrange_;
    // The memory panel and the quick launcher are built once the window is
    // drawn, so that their first openings are as fast as the later ones.
    IdleAfterFirstFrame preparation_;
};

}  // namespace meridavolt
