#include "desktop/view/DesktopContentView.h"

#include "desktop/view/DesktopStyle.h"
#include "desktop/view/QuickActionSheet.h"

#include <glibmm/main.h>

namespace meridavolt {

namespace {

// The shelf in the toolbar keeps its cards at the row's height.
constexpr double toolbarCardHeight = 54;

}  // namespace

DesktopContentView::DesktopContentView(AppModel& model)
    : DesktopContentView(model, model.settings(), model.scheduler())
{
}

DesktopContentView::DesktopContentView(AppModel& model, Settings& settings, Scheduler& scheduler)
    : model_(model),
      layoutSettings_(settings),
      docking_(layoutSettings_),
      resize_(layoutSettings_),
      layoutMenu_(layoutSettings_),
      toolbar_(model, docking_, *this, layoutMenu_.menu()),
      workspace_(model, scheduler),
      serviceBar_(model, docking_, *this),
      memoryStrip_(layoutSettings_, docking_, resize_, *this),
      toolbarShelf_(model.clipboard(), toolbarCardHeight, true),
      stripShelf_(model.clipboard(), layoutSettings_.values().memoryHeight, true),
      memoryButton_(model, model.clipboard(), true),
      hints_(docking_),
      workSetSheet_(*this, [this] { return model_.showingWorkSets(); }, [this] { model_.setShowingWorkSets(false); }),
      managerSheet_(*this, [this] { return model_.managing(); }, [this] { model_.setManaging(false); }),
      quickSheet_(*this, [this] { return model_.quickService().has_value(); },
                  [this] { model_.setQuickService(std::nullopt); }),
      alert_(model, *this),
      preparation_(*this, {[this] { toolbar_.clipboardPopover().prepare(); },
                           [this] {
                               if (auto* launcher = model_.quickLauncher()) launcher->prepare();
                           }})
{
    ensureDesktopStyle();
    add_css_class("desktop-content");
    insert_action_group(LayoutMenu::actionGroupName, layoutMenu_.actions());

    toolbar_.shelfArea().append(toolbarShelf_);
    toolbar_.memoryButtonArea().append(memoryButton_);
    memoryStrip_.shelfArea().append(stripShelf_);
    content_.append(toolbar_);
    content_.append(toolbarDivider_);
    middle_.set_vexpand(true);
    middle_.append(workspace_);
    content_.append(middle_);
    set_child(content_);
    add_overlay(hints_);

    quickSheet_.setContent([this]() -> std::unique_ptr<Gtk::Widget> {
        if (!model_.quickService()) return nullptr;
        return std::make_unique<QuickActionSheet>(model_, *model_.quickService());
    });

    // The window's menus must never leave its shortcuts without a focus to start from.
    signal_map().connect([this] {
        auto* window = dynamic_cast<Gtk::Window*>(get_root());
        if (window && !focusKeeper_) focusKeeper_ = std::make_unique<FocusKeeper>(*window);
    });

    connections_.push_back(layoutSettings_.changed.connect([this] { scheduleArrange(); }));
    connections_.push_back(model_.showingWorkSetsChanged.connect([this] { workSetSheet_.update(); }));
    connections_.push_back(model_.managingChanged.connect([this] { managerSheet_.update(); }));
    connections_.push_back(model_.quickServiceChanged.connect([this] { quickSheet_.reload(); }));
    arrange();
}

DesktopContentView::~DesktopContentView()
{
    pendingArrange_.disconnect();
}

void DesktopContentView::scheduleArrange()
{
    // Settings change in the middle of a grip's or a menu's event: the panels
    // move once that event is over.
    if (pendingArrange_.connected()) return;
    pendingArrange_ = Glib::signal_idle().connect([this] {
        arrange();
        return false;
    });
}

void DesktopContentView::arrange()
{
    const auto values = layoutSettings_.values();
    const auto arrangement = DesktopArrangement::from(values);
    toolbar_.update(arrangement);
    memoryStrip_.update(values);
    stripShelf_.setCardHeight(values.memoryHeight);
    // Panels are taken out and put back only when they move.
    if (arranged_ && arrangement == arrangement_) return;
    arranged_ = true;
    arrangement_ = arrangement;

    if (auto* parent = memoryStrip_.get_parent()) dynamic_cast<Gtk::Box*>(parent)->remove(memoryStrip_);
    if (auto* parent = serviceBar_.get_parent()) dynamic_cast<Gtk::Box*>(parent)->remove(serviceBar_);
    if (auto* parent = railDivider_.get_parent()) dynamic_cast<Gtk::Box*>(parent)->remove(railDivider_);

    if (arrangement_.memoryAtTop) content_.insert_child_after(memoryStrip_, toolbarDivider_);
    if (arrangement_.memoryAtBottom) content_.insert_child_after(memoryStrip_, middle_);

    serviceBar_.setHorizontal(arrangement_.railIsHorizontal());
    railDivider_.set_orientation(arrangement_.railIsHorizontal() ? Gtk::Orientation::HORIZONTAL
                                                                 : Gtk::Orientation::VERTICAL);
    if (arrangement_.railAtLeft) {
        middle_.prepend(railDivider_);
        middle_.prepend(serviceBar_);
    } else if (arrangement_.railAtRight) {
        middle_.append(railDivider_);
        middle_.append(serviceBar_);
    } else if (arrangement_.railAtBottom) {
        content_.append(railDivider_);
        content_.append(serviceBar_);
    }
}

}  // namespace meridavolt
