#include "app/view/SelectedServiceView.h"

#include <algorithm>

namespace meridavolt {

namespace {

constexpr const char* nothingSelectedName = "nothing-selected";

}  // namespace

SelectedServiceView::SelectedServiceView(AppModel& model) : model_(model)
{
    stack_.set_hexpand(true);
    stack_.set_vexpand(true);
    stack_.set_transition_type(Gtk::StackTransitionType::NONE);
    stack_.add(nothingSelected_, nothingSelectedName);
    append(stack_);
    selectedChanged_ = model_.selectedIDChanged.connect([this] { refresh(); });
    mountedChanged_ = model_.mountedIDsChanged.connect([this] { refresh(); });
    refresh();
}

SelectedServiceView::~SelectedServiceView() = default;

void SelectedServiceView::refresh()
{
    const auto& mounted = model_.mountedIDs();
    const auto& selected = model_.selectedID();
    const auto& sessions = model_.sessions();
    auto wanted = [&](const std::string& id) {
        return id == selected || std::find(mounted.begin(), mounted.end(), id) != mounted.end();
    };
    auto liveSession = [&](const std::string& id) -> std::shared_ptr<WebSession> {
        auto found = sessions.find(id);
        return found == sessions.end() ? nullptr : found->second;
    };

    // Panes of services that left, and of sessions the state replaced after an edit.
    for (auto it = panes_.begin(); it != panes_.end();) {
        if (wanted(it->first) && liveSession(it->first) == it->second.session) {
            ++it;
            continue;
        }
        stack_.remove(*it->second.view);
        it = panes_.erase(it);
    }

    std::vector<std::string> shown = mounted;
    if (selected) shown.push_back(*selected);
    for (const auto& id : shown) {
        auto session = liveSession(id);
        if (!session || panes_.count(id)) continue;
        auto view = std::make_unique<BrowserPane>(
            *session, [this](const std::string& url) { model_.openExternal(url); }, false);
        stack_.add(*view, id);
        panes_.emplace(id, Pane{session, std::move(view)});
    }

    for (auto& [id, pane] : panes_) pane.view->setActive(id == selected);
    if (selected && panes_.count(*selected)) {
        stack_.set_visible_child(*selected);
    } else {
        stack_.set_visible_child(nothingSelectedName);
    }
}

}  // namespace meridavolt
