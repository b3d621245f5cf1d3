#include "app/CommandMenu.h"
#include "platform/Text.h"

#include <algorithm>

namespace meridavolt {

std::string serviceActionName(std::size_t position) { return "service-" + std::to_string(position + 1); }

CommandMenu servicesMenu(const std::vector<Service>& services, bool hasPreviousService)
{
    using Command = CommandMenuItem::Command;
    CommandMenu menu;
    const std::size_t numbered = std::min(services.size(), maximumNumberedServices);
    for (std::size_t position = 0; position < numbered; ++position) {
        menu.services.push_back({Command::activateService, shownName(services[position].name),
                                 serviceActionName(position), "<Control>" + std::to_string(position + 1), true,
                                 position});
    }
    // Ctrl+Alt+Left switches workspaces on Linux desktops, so the previous
    // service goes on Ctrl+Tab.
    menu.commands = {
        {Command::previousService, "直前のサービスへ", "previous-service", "<Control>Tab", hasPreviousService, {}},
        {Command::workSets, "作業セット", "work-sets", "<Control><Shift>k", true, {}},
        {Command::clipboardMemory, "PELLOWRI MEMORY", "clipboard-memory", "<Control><Shift>v", true, {}},
        {Command::quickLauncher, "ミニ画面を開く（Ctrl+Alt+Space）", "quick-launcher", "", true, {}},
        {Command::manageServices, "サービスを管理", "manage-services", "<Control>comma", true, {}},
    };
    return menu;
}

std::string escapedMenuLabel(std::string_view title)
{
    std::string label;
    label.reserve(title.size());
    for (char c : title) {
        label += c;
        if (c == '_') label += '_';
    }
    return label;
}

}  // namespace meridavolt
