#pragma once

#include "desktop/ServiceMenu.h"
#include "desktop/ServiceRail.h"
#include "state/AppModel.h"

#include <optional>
#include <string>
#include <string_view>

namespace meridavolt {

// The user's commands of the toolbar, the service bar and the split
// workspace, carried out on the application state.
namespace actions {

// Home: drops a pending start-up choice, closes the second pane and empties
// the workspace, so the start-up mark shows; mounted pages stay as they are.
void goHome(AppModel& model);

// Back to the service shown before the current one, read at the moment of the call.
void returnToPreviousService(AppModel& model);

void showWorkSets(AppModel& model);
void showServiceManager(AppModel& model);

// A click on a service button with the modifiers held at the click.
void clickService(AppModel& model, const Service& service, ClickModifiers modifiers, bool reorderInProgress);

// Carries out one entry of a service's context menu or quick-action sheet.
void performMenuItem(AppModel& model, const Service& service, const ServiceMenuItem& item);

// Moves a service before another (or to the end) and saves the library when
// the order changed. Returns whether it changed.
bool reorderService(AppModel& model, const std::string& id, const std::optional<std::string>& before);

// Opens the service named by a dragged text beside the current one. Texts
// without the exact prefix and ids that name no service do nothing.
void openDraggedService(AppModel& model, std::string_view text, bool onLeft);

}  // namespace actions

}  // namespace meridavolt
