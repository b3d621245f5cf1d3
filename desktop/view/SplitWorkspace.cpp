#include "desktop/view/SplitWorkspace.h"

#include "desktop/view/DesktopStyle.h"
#include "platform/SymbolIcons.h"
#include "platform/Text.h"

#include <algorithm>

namespace meridavolt {

SplitWorkspace::SplitWorkspace(AppModel& model, Scheduler& scheduler)
    : Gtk::Box(Gtk::Orientation::HORIZONTAL, 0),
      model_(model),
      scheduler_(scheduler),
      leftStrip_(model, true),
      rightStrip_(model, false)
{
    ensureDesktopStyle();
    add_css_class("split-workspace");
    set_hexpand(true);
    set_vexpand(true);

    stack_.set_transition_type(Gtk::StackTransitionType::NONE);
    stack_.set_hexpand(true);
    stack_.set_vexpand(true);
    stack_.set_size_request(minimumPaneWidth, -1);
    stack_.set_overflow(Gtk::Overflow::HIDDEN);
    stack_.add(blank_);

    paned_.set_hexpand(true);
    paned_.set_vexpand(true);
    paned_.set_start_child(stack_);
    paned_.set_resize_start_child(true);
    paned_.set_shrink_start_child(false);
    paned_.set_resize_end_child(true);
    paned_.set_shrink_end_child(false);
    paned_.set_wide_handle(true);

    append(leftStrip_);
    append(paned_);
    append(rightStrip_);

    for (auto* signal : {&model_.selectedIDChanged, &model_.secondaryIDChanged, &model_.mountedIDsChanged,
                         &model_.libraryChanged}) {
        connections_.push_back(signal->connect([this] { arrange(); }));
    }
    arrange();
}

SplitWorkspace::~SplitWorkspace()
{
    // Panes first: their web views must leave the tree before the containers go.
    removeSecondary();
    for (auto& [id, pane] : primary_) stack_.remove(*pane.view);
    primary_.clear();
    if (startupMark_) stack_.remove(*startupMark_);
}

std::optional<Service> SplitWorkspace::libraryService(const std::string& id) const
{
    const auto& services = model_.library().services;
    auto found = std::find_if(services.begin(), services.end(), [&](const Service& s) { return s.id == id; });
    if (found == services.end()) return std::nullopt;
    return *found;
}

SplitWorkspace::Pane SplitWorkspace::makePane(const Service& service, bool active)
{
    Pane pane;
    pane.session = model_.session(service);
    pane.view = std::make_unique<BrowserPane>(*pane.session, [this](const std::string& url) { model_.openExternal(url); },
                                              active);
    // A press anywhere in the pane focuses it, and still reaches the page.
    pane.tap = Gtk::GestureClick::create();
    pane.tap->set_propagation_phase(Gtk::PropagationPhase::CAPTURE);
    pane.tap->signal_pressed().connect([this, id = service.id](int, double, double) { model_.setFocusedPaneID(id); });
    pane.view->add_controller(pane.tap);
    return pane;
}

void SplitWorkspace::removePrimary(const std::string& id)
{
    auto found = primary_.find(id);
    if (found == primary_.end()) return;
    stack_.remove(*found->second.view);
    primary_.erase(found);
}

void SplitWorkspace::removeSecondary()
{
    if (!secondary_) return;
    gtk_paned_set_end_child(paned_.gobj(), nullptr);
    secondary_->box.remove(*secondary_->pane.view);
    secondary_.reset();
    secondaryID_.reset();
}

void SplitWorkspace::showSecondary(const Service& service)
{
    secondary_ = std::make_unique<Secondary>();
    auto& s = *secondary_;
    s.serviceID = service.id;
    s.icon.set_from_icon_name(iconNameForSymbol(service.symbol));
    s.name.set_text(shownName(service.name));
    s.spacer.set_hexpand(true);
    s.close.set_icon_name(iconNameForSymbol("xmark"));
    s.close.add_css_class("flat");
    setAccessibleLabel(s.close, "2画面表示を閉じる");
    s.close.set_tooltip_text("2画面表示を閉じる");
    s.close.signal_clicked().connect([this] { model_.closeSplit(); });
    s.header.add_css_class("secondary-pane-header");
    s.header.append(s.icon);
    s.header.append(s.name);
    s.header.append(s.spacer);
    s.header.append(s.close);
    s.pane = makePane(service, true);
    s.pane.view->set_vexpand(true);
    s.box.append(s.header);
    s.box.append(*s.pane.view);
    s.box.set_size_request(minimumPaneWidth, -1);
    s.box.set_overflow(Gtk::Overflow::HIDDEN);
    paned_.set_end_child(s.box);
    secondaryID_ = service.id;
}

void SplitWorkspace::arrange()
{
    std::vector<std::string> libraryIDs;
    for (const auto& service : model_.library().services) libraryIDs.push_back(service.id);
    const auto set = PaneSet::from(model_.selectedID(), model_.secondaryID(), model_.mountedIDs(), libraryIDs);

    // A web view has one parent: panes that leave go before any pane is built,
    // so a service moving between the two sides never has two at once.
    std::vector<std::string> leaving;
    for (auto& [id, pane] : primary_) {
        const bool stays = std::any_of(set.primary.begin(), set.primary.end(),
                                       [&](const PrimaryPane& p) { return p.serviceID == id; });
        const auto service = libraryService(id);
        // An edited service gets a new session; its old pane goes with the old one.
        if (!stays || !service || model_.sessions().count(id) == 0 || model_.sessions().at(id) != pane.session)
            leaving.push_back(id);
    }
    for (const auto& id : leaving) removePrimary(id);
    if (secondary_ && (set.secondaryID != secondary_->serviceID || model_.sessions().count(secondary_->serviceID) == 0 ||
                       model_.sessions().at(secondary_->serviceID) != secondary_->pane.session))
        removeSecondary();

    if (set.secondaryID && !secondary_) showSecondary(*libraryService(*set.secondaryID));

    Gtk::Widget* visible = &blank_;
    for (const auto& entry : set.primary) {
        auto found = primary_.find(entry.serviceID);
        if (found == primary_.end()) {
            auto service = libraryService(entry.serviceID);
            if (!service) continue;
            found = primary_.emplace(entry.serviceID, makePane(*service, entry.visible)).first;
            stack_.add(*found->second.view);
        }
        found->second.view->setActive(entry.visible);
        if (entry.visible) visible = found->second.view.get();
    }

    if (set.showsStartupMark) {
        if (!startupMark_) {
            startupMark_ = std::make_unique<StartupMark>(model_, scheduler_);
            stack_.add(*startupMark_);
        }
        visible = startupMark_.get();
    }
    stack_.set_visible_child(*visible);
    // A selection removes the mark, which ends a running start-up animation.
    if (!set.showsStartupMark && startupMark_) {
        stack_.remove(*startupMark_);
        startupMark_.reset();
    }
    signalArranged.emit();
}

BrowserPane* SplitWorkspace::primaryPane(const std::string& id)
{
    auto found = primary_.find(id);
    return found == primary_.end() ? nullptr : found->second.view.get();
}

BrowserPane* SplitWorkspace::secondaryPane()
{
    return secondary_ ? secondary_->pane.view.get() : nullptr;
}

}  // namespace meridavolt
