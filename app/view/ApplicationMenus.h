#pragma once

#include "app/CommandMenu.h"
#include "state/AppModel.h"

#include <giomm/menu.h>
#include <giomm/simpleaction.h>
#include <gtkmm/application.h>

#include <functional>
#include <optional>
#include <vector>

namespace meridavolt {

// The menu bar: the application's own menu from the start ("アップデートを確認…"
// and quitting), and the "サービス" menu once the application state exists,
// kept in step with the library and the switch history. Commands are
// application actions, so their keys work wherever the focus is, a web page
// included.
class ApplicationMenus {
public:
    ApplicationMenus(Gtk::Application& application, std::function<void()> checkForUpdates);
    ~ApplicationMenus();
    ApplicationMenus(const ApplicationMenus&) = delete;
    ApplicationMenus& operator=(const ApplicationMenus&) = delete;

    // Adds the "サービス" menu for this state; called once.
    void showServices(AppModel& model);

private:
    void addServiceActions();
    // Rebuilds the items when the library's first services changed.
    void refreshServices();
    void refreshPreviousService();
    void perform(CommandMenuItem::Command command, std::size_t position);

    Gtk::Application& application_;
    Glib::RefPtr<Gio::Menu> menubar_;
    Glib::RefPtr<Gio::Menu> servicesMenu_;
    Glib::RefPtr<Gio::SimpleAction> previousService_;
    AppModel* model_ = nullptr;
    std::optional<std::vector<CommandMenuItem>> shownServices_;
    Connection libraryChanged_;
    Connection historyChanged_;
};

}  // namespace meridavolt
