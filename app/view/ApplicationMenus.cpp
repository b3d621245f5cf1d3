#include "app/view/ApplicationMenus.h"

namespace meridavolt {

namespace {

constexpr const char* applicationMenuTitle = "MERIDAVOLT";
constexpr const char* quitTitle = "MERIDAVOLTを終了";

Glib::RefPtr<Gio::MenuItem> menuItem(const CommandMenuItem& item)
{
    return Gio::MenuItem::create(escapedMenuLabel(item.title), "app." + item.actionName);
}

// GTK draws a section's divider only below items, so an empty library would
// lose the divider above the fixed commands. A custom item that nothing fills
// is drawn as nothing, yet counts as an item.
Glib::RefPtr<Gio::MenuItem> emptySectionPlaceholder()
{
    auto item = Gio::MenuItem::create("", "");
    item->set_attribute_value("custom", Glib::Variant<Glib::ustring>::create("no-services"));
    return item;
}

}  // namespace

ApplicationMenus::ApplicationMenus(Gtk::Application& application, std::function<void()> checkForUpdates)
    : application_(application), menubar_(Gio::Menu::create())
{
    application_.add_action("check-updates", std::move(checkForUpdates));
    application_.add_action("quit", [this] { application_.quit(); });
    application_.set_accel_for_action("app.quit", "<Control>q");

    auto applicationMenu = Gio::Menu::create();
    applicationMenu->append(checkForUpdatesTitle, "app.check-updates");
    auto quitSection = Gio::Menu::create();
    quitSection->append(quitTitle, "app.quit");
    applicationMenu->append_section(quitSection);
    menubar_->append_submenu(applicationMenuTitle, applicationMenu);
    application_.set_menubar(menubar_);
}

ApplicationMenus::~ApplicationMenus() = default;

void ApplicationMenus::showServices(AppModel& model)
{
    if (model_) return;
    model_ = &model;
    addServiceActions();
    servicesMenu_ = Gio::Menu::create();
    menubar_->append_submenu(servicesMenuTitle, servicesMenu_);
    libraryChanged_ = model.libraryChanged.connect([this] {
        refreshServices();
        refreshPreviousService();
    });
    historyChanged_ = model.switchHistoryChanged.connect([this] { refreshPreviousService(); });
    refreshServices();
    refreshPreviousService();
}

void ApplicationMenus::addServiceActions()
{
    using Command = CommandMenuItem::Command;
    for (std::size_t position = 0; position < maximumNumberedServices; ++position) {
        application_.add_action(serviceActionName(position),
                                [this, position] { perform(Command::activateService, position); });
    }
    const CommandMenu fixed = servicesMenu({}, false);
    for (const auto& item : fixed.commands) {
        auto action = application_.add_action(item.actionName, [this, command = item.command] { perform(command, 0); });
        if (item.command == Command::previousService) previousService_ = action;
        if (!item.accelerator.empty()) application_.set_accel_for_action("app." + item.actionName, item.accelerator);
    }
}

void ApplicationMenus::refreshServices()
{
    const CommandMenu menu = servicesMenu(model_->library().services, false);
    // Most library changes (a new time stamp, a tenth service) leave the menu as it is.
    if (shownServices_ == menu.services) return;
    shownServices_ = menu.services;

    auto numbered = Gio::Menu::create();
    for (std::size_t position = 0; position < maximumNumberedServices; ++position) {
        const std::string action = "app." + serviceActionName(position);
        if (position < menu.services.size()) {
            numbered->append_item(menuItem(menu.services[position]));
            application_.set_accel_for_action(action, menu.services[position].accelerator);
        } else {
            application_.unset_accels_for_action(action);
        }
    }
    if (menu.services.empty()) numbered->append_item(emptySectionPlaceholder());
    auto commands = Gio::Menu::create();
    for (const auto& item : menu.commands) commands->append_item(menuItem(item));

    servicesMenu_->remove_all();
    servicesMenu_->append_section(numbered);
    servicesMenu_->append_section(commands);
}

void ApplicationMenus::refreshPreviousService()
{
    previousService_->set_enabled(model_->previousService().has_value());
}

void ApplicationMenus::perform(CommandMenuItem::Command command, std::size_t position)
{
    using Command = CommandMenuItem::Command;
    AppModel& model = *model_;
    switch (command) {
    case Command::activateService:
        if (position < model.library().services.size()) model.activate(model.library().services[position]);
        break;
    case Command::previousService:
        if (auto previous = model.previousService()) model.activate(*previous);
        break;
    case Command::workSets:
        model.setShowingWorkSets(true);
        break;
    case Command::clipboardMemory:
        model.openClipboard();
        break;
    case Command::quickLauncher:
        if (QuickLauncherControl* launcher = model.quickLauncher()) launcher->toggle();
        break;
    case Command::manageServices:
        model.setManaging(true);
        break;
    }
}

}  // namespace meridavolt
