#pragma once

#include "model/Service.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace meridavolt {

inline constexpr const char* servicesMenuTitle = "サービス";
inline constexpr const char* checkForUpdatesTitle = "アップデートを確認…";

// One command of the "サービス" menu, free of any toolkit so that the menu's
// content can be checked on its own.
struct CommandMenuItem {
    enum class Command {
        activateService,  // the service at `servicePosition` of the library
        previousService,
        workSets,
        clipboardMemory,
        quickLauncher,
        manageServices,
    };
    Command command;
    std::string title;        // shown as it stands; see escapedMenuLabel
    std::string actionName;   // the application action it triggers ("service-1")
    std::string accelerator;  // GTK accelerator ("<Control>1"); empty for none
    bool enabled = true;
    std::optional<std::size_t> servicePosition;

    friend bool operator==(const CommandMenuItem&, const CommandMenuItem&) = default;
};

// The menu's two sections, with the one divider between them.
struct CommandMenu {
    std::vector<CommandMenuItem> services;  // the first nine services, numbered
    std::vector<CommandMenuItem> commands;  // the fixed commands
};

inline constexpr std::size_t maximumNumberedServices = 9;

CommandMenu servicesMenu(const std::vector<Service>& services, bool hasPreviousService);

// The action names of the numbered items, whether or not the library fills them.
std::string serviceActionName(std::size_t position);

// A title with every "_" doubled, so the menu shows it instead of reading a mnemonic.
std::string escapedMenuLabel(std::string_view title);

}  // namespace meridavolt
