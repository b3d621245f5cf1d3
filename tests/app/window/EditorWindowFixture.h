#pragma once

// The application window as a launch builds it (the real state over files in
// a temporary XDG home, the menus with their keys, the content view and its
// sheets), in this process, so that tests can reach the sheets' widgets.
#include "ApplicationProcess.h"

#include "app/view/ApplicationMenus.h"
#include "app/view/ContentView.h"
#include "desktop/view/ServiceBar.h"
#include "desktop/window/XdoPointer.h"
#include "fakes/FakeWorkspace.h"
#include "fakes/TemporaryFolder.h"
#include "model/LibraryRepository.h"
#include "model/WorkSetRepository.h"
#include "platform/SettingsFile.h"
#include "platform/glib/MainLoopScheduler.h"
#include "web/webkit/WebKitEngineFactory.h"
#include "support/InProcessState.h"
#include "support/LocalHttpServer.h"
#include "support/MainLoopWait.h"
#include "support/WidgetSearch.h"

#include <gtest/gtest.h>
#include <gtkmm/application.h>
#include <gtkmm/applicationwindow.h>
#include <gtkmm/init.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace meridavolt::editortest {

using desktoptest::XdoPointer;

using testing::findWidget;
using testing::shownWindow;

class EditorWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        gtk_init();
        Gtk::init_gtkmm_internals();
    }

    void SetUp() override
    {
        testing::useTemporaryHome(folder_);
        ::setenv("DBUS_SESSION_BUS_ADDRESS", bus_.address().c_str(), 1);
        SettingsFile settings(SettingsFile::defaultPath());
        testing::markMigrationsDone(settings);
        engines_ = std::make_unique<WebKitEngineFactory>();
    }

    void TearDown() override
    {
        if (window_) {
            window_->unset_child();
            content_.reset();
            window_->destroy();
            window_.reset();
        }
        menus_.reset();
        model_.reset();
        engines_.reset();
        testing::runMainLoopFor(std::chrono::milliseconds(50));
    }

    Service localService(const std::string& id, const std::string& name)
    {
        server_.serve("/" + id, "<!doctype html><title>" + id + "</title><h1>" + id + "</h1>");
        return Service{id, name, "globe", server_.url("/" + id), LaunchMode::embedded, std::nullopt, {}};
    }

    void storeLibrary(std::vector<Service> services)
    {
        ServiceLibrary library;
        library.services = std::move(services);
        JSONLibraryRepository().save(library);
    }

    void start()
    {
        application_ = Gtk::Application::create("com.pellowright.meridavolt.editortest",
                                                Gio::Application::Flags::NON_UNIQUE);
        application_->register_application();
        settings_ = std::make_unique<SettingsFile>(SettingsFile::defaultPath());
        model_ = std::make_unique<AppModel>(AppModelServices{
            nullptr, nullptr, *settings_, SystemClock::shared(), MainLoopScheduler::shared(), workspace_,
            engines_->engineFactory(),
            [this] { return testing::makeFakeClipboardStore(*settings_, folder_ / "pins.json"); }, nullptr});
        menus_ = std::make_unique<ApplicationMenus>(*application_, [] {});
        menus_->showServices(*model_);
        window_ = std::make_unique<Gtk::ApplicationWindow>();
        window_->set_default_size(1120, 780);
        application_->add_window(*window_);
        content_ = std::make_unique<ContentView>(*model_);
        window_->set_child(*content_);
        window_->present();
        ASSERT_TRUE(testing::waitUntil([&] { return content_->get_mapped() && content_->get_width() > 0; }));
        testing::runMainLoopFor(std::chrono::milliseconds(100));
    }

    // Types a key combination ({"ctrl", "comma"}) once into `window`, which
    // must hold the keyboard focus, and waits for its effect.
    bool press(Gtk::Window& window, const std::vector<std::string>& keys, const std::function<bool()>& effect)
    {
        if (!testing::waitUntil([&] { return window.is_active(); })) {
            ADD_FAILURE() << "the window \"" << window.get_title() << "\" does not hold the keyboard focus";
            return false;
        }
        std::string combination;
        for (const auto& key : keys) combination += (combination.empty() ? "" : "+") + key;
        XdoPointer(window).type(combination);
        return testing::waitUntil(effect);
    }

    // Clicks `widget` of `window` once with the real pointer and waits for the click's effect.
    bool click(Gtk::Window& window, Gtk::Widget& widget, const std::function<bool()>& effect)
    {
        XdoPointer(window).moveTo(widget).click();
        return testing::waitUntil(effect);
    }

    // The content of the shown sheet with this title.
    template <typename Sheet>
    Sheet* sheet(const std::string& title)
    {
        Gtk::Window* window = nullptr;
        if (!testing::waitUntil([&] { return (window = shownWindow(title)) && window->get_mapped(); })) return nullptr;
        testing::runMainLoopFor(std::chrono::milliseconds(100));
        return findWidget<Sheet>(*window);
    }

    ServiceBar& serviceBar() { return *findWidget<ServiceBar>(*content_); }

    std::vector<std::string> libraryIDs() const
    {
        std::vector<std::string> ids;
        for (const auto& service : model_->library().services) ids.push_back(service.id);
        return ids;
    }

    fakes::TemporaryFolder folder_;
    testing::PrivateSessionBus bus_;
    testing::LocalHttpServer server_;
    fakes::FakeWorkspace workspace_;
    std::unique_ptr<WebKitEngineFactory> engines_;
    Glib::RefPtr<Gtk::Application> application_;
    std::unique_ptr<SettingsFile> settings_;
    std::unique_ptr<AppModel> model_;
    std::unique_ptr<ApplicationMenus> menus_;
    std::unique_ptr<Gtk::ApplicationWindow> window_;
    std::unique_ptr<ContentView> content_;
};

}  // namespace meridavolt::editortest
