#include "app/CommandMenu.h"

#include <gtest/gtest.h>

namespace meridavolt {
namespace {

using Command = CommandMenuItem::Command;

std::vector<Service> servicesNamed(int count)
{
    std::vector<Service> services;
    for (int i = 1; i <= count; ++i) {
        Service service;
        service.id = "s" + std::to_string(i);
        service.name = "Service " + std::to_string(i);
        services.push_back(service);
    }
    return services;
}

void expectFixedCommands(const CommandMenu& menu, bool previousEnabled)
{
    ASSERT_EQ(menu.commands.size(), 5u);
    const std::vector<std::tuple<Command, std::string, std::string>> expected{
        {Command::previousService, "直前のサービスへ", "<Control>Tab"},
        {Command::workSets, "作業セット", "<Control><Shift>k"},
        {Command::clipboardMemory, "PELLOWRI MEMORY", "<Control><Shift>v"},
        {Command::quickLauncher, "ミニ画面を開く（Ctrl+Alt+Space）", ""},
        {Command::manageServices, "サービスを管理", "<Control>comma"},
    };
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto& [command, title, accelerator] = expected[i];
        EXPECT_EQ(menu.commands[i].command, command) << i;
        EXPECT_EQ(menu.commands[i].title, title) << i;
        EXPECT_EQ(menu.commands[i].accelerator, accelerator) << i;
        EXPECT_EQ(menu.commands[i].enabled, i == 0 ? previousEnabled : true) << i;
    }
}

TEST(ServicesMenu, AnEmptyLibraryHasOnlyTheFixedCommands)
{
    CommandMenu menu = servicesMenu({}, false);
    EXPECT_TRUE(menu.services.empty());
    expectFixedCommands(menu, false);
}

TEST(ServicesMenu, FiveServicesAreNumberedOneToFiveInLibraryOrder)
{
    CommandMenu menu = servicesMenu(servicesNamed(5), true);
    ASSERT_EQ(menu.services.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(menu.services[i].command, Command::activateService);
        EXPECT_EQ(menu.services[i].title, "Service " + std::to_string(i + 1));
        EXPECT_EQ(menu.services[i].accelerator, "<Control>" + std::to_string(i + 1));
        EXPECT_EQ(menu.services[i].servicePosition, i);
        EXPECT_TRUE(menu.services[i].enabled);
    }
    expectFixedCommands(menu, true);
}

TEST(ServicesMenu, TwelveServicesGiveItemsForTheFirstNineOnly)
{
    CommandMenu menu = servicesMenu(servicesNamed(12), false);
    ASSERT_EQ(menu.services.size(), 9u);
    EXPECT_EQ(menu.services.back().title, "Service 9");
    EXPECT_EQ(menu.services.back().accelerator, "<Control>9");
    EXPECT_EQ(menu.services.back().actionName, "service-9");
    expectFixedCommands(menu, false);
}

TEST(ServicesMenu, NamesAreShownAsTheyStandAndEscapedOnlyForMnemonics)
{
    std::vector<Service> services = servicesNamed(1);
    services[0].name = "my_mail__box";
    CommandMenu menu = servicesMenu(services, false);
    EXPECT_EQ(menu.services[0].title, "my_mail__box");
    EXPECT_EQ(escapedMenuLabel(menu.services[0].title), "my__mail____box");
    EXPECT_EQ(escapedMenuLabel("作業セット"), "作業セット");
}

}  // namespace
}  // namespace meridavolt
