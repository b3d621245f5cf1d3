#include "desktop/WorkspaceActions.h"

#include "desktop/ServiceDragText.h"

#include <algorithm>

namespace meridavolt::actions {

void goHome(AppModel& model)
{
    model.cancelStartupSelection();
    model.closeSplit();
    model.setSelectedID(std::nullopt);
    model.setFocusedPaneID(std::nullopt);
}

void returnToPreviousService(AppModel& model)
{
    if (auto previous = model.previousService()) model.activate(*previous);
}

void showWorkSets(AppModel& model)
{
    model.setShowingWorkSets(true);
    if (model.showingWorkSets()) model.cancelStartupSelection();
}

void showServiceManager(AppModel& model)
{
    model.setManaging(true);
    if (model.managing()) model.cancelStartupSelection();
}

void clickService(AppModel& model, const Service& service, ClickModifiers modifiers, bool reorderInProgress)
{
    switch (serviceClick(modifiers, reorderInProgress)) {
    case ServiceClick::ignore:
        return;
    case ServiceClick::showQuickActions:
        model.setQuickService(service);
        return;
    case ServiceClick::activate:
        model.activate(service);
        return;
    }
}

void performMenuItem(AppModel& model, const Service& service, const ServiceMenuItem& item)
{
    using Kind = ServiceMenuItem::Kind;
    switch (item.kind) {
    case Kind::open:
        model.activate(service);
        break;
    case Kind::openLeft:
        model.openBeside(service, true);
        break;
    case Kind::openRight:
        model.openBeside(service, false);
        break;
    case Kind::quickAction:
        model.activate(service, item.url);
        break;
    case Kind::launch:
        model.launch(service);
        break;
    case Kind::divider:
        break;
    case Kind::moveToTop:
        if (!model.library().services.empty()) reorderService(model, service.id, model.library().services.front().id);
        break;
    }
}

bool reorderService(AppModel& model, const std::string& id, const std::optional<std::string>& before)
{
    auto library = model.library();
    if (!library.moveService(id, before)) return false;
    model.setLibrary(std::move(library));
    model.persist();
    return true;
}

void openDraggedService(AppModel& model, std::string_view text, bool onLeft)
{
    const auto id = serviceIDFromDragText(text);
    if (!id) return;
    const auto& services = model.library().services;
    auto found = std::find_if(services.begin(), services.end(), [&](const Service& service) { return service.id == *id; });
    if (found == services.end()) return;
    model.openBeside(*found, onLeft);
}

}  // namespace meridavolt::actions
