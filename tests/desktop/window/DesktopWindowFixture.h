#pragma once

#include "../RecordingWorkspace.h"
#include "XdoPointer.h"
#include "clipboard/ClipboardStore.h"
#include "desktop/view/DesktopContentView.h"
#include "fakes/TemporaryFolder.h"
#include "model/Catalog.h"
#include "model/LibraryRepository.h"
#include "platform/SettingsFile.h"
#include "platform/SymbolIcons.h"
#include "platform/glib/MainLoopScheduler.h"
#include "support/InProcessState.h"
#include "support/LocalHttpServer.h"
#include "support/MainLoopWait.h"
#include "web/webkit/WebKitEngineFactory.h"

#include <gtest/gtest.h>
#include <gtkmm/icontheme.h>
#include <gtkmm/init.h>
#include <gtkmm/window.h>

#include <cstdlib>
#include <functional>
#include <memory>

namespace meridavolt::desktoptest {

// The real main window content over a real application state whose files live
// in a temporary XDG home, with three services served from 127.0.0.1.
class DesktopWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // ctest runs each test process on an X display of its own, so the
        // pointer that the tests drive is never moved by tests beside them.
        gtk_init();
        Gtk::init_gtkmm_internals();
    }

    void SetUp() override
    {
        meridavolt::testing::useTemporaryHome(folder_);
        for (const char* name : {"one", "two", "three"}) {
            server_.serve(std::string("/") + name,
                          std::string("<!doctype html><title>") + name + "</title><body style='background:#eef'><h1>" +
                              name + "</h1><p>A local page served for the window test.</p></body>");
        }
        ServiceLibrary library;
        library.services = {service("one", "One", "safari"), service("two", "Two", "play.rectangle.fill"),
                            service("three", "Three", "music.note")};
        JSONLibraryRepository().save(library);
        {
            SettingsFile settings(SettingsFile::defaultPath());
            meridavolt::testing::markMigrationsDone(settings);
        }
        engines_ = std::make_unique<WebKitEngineFactory>();
    }

    void TearDown() override
    {
        stop();
        engines_.reset();
        meridavolt::testing::runMainLoopFor(std::chrono::milliseconds(50));
    }

    Service service(const std::string& id, const std::string& name, const std::string& symbol)
    {
        return Service{id, name, symbol, server_.url("/" + id), LaunchMode::embedded, std::nullopt, {}};
    }

    // Builds the state and the window as a launch does.
    void start()
    {
        open();
        ASSERT_TRUE(meridavolt::testing::waitUntil([&] { return view_->get_mapped() && view_->get_width() > 0; }));
        meridavolt::testing::runMainLoopFor(std::chrono::milliseconds(100));
    }

    // Builds them and asks for the window to be shown, without waiting for it.
    void open()
    {
        settings_ = std::make_unique<SettingsFile>(SettingsFile::defaultPath());
        model_ = std::make_unique<AppModel>(AppModelServices{
            nullptr, nullptr, *settings_, SystemClock::shared(), MainLoopScheduler::shared(), workspace_,
            engines_->engineFactory(),
            [this] { return makeClipboardStore_(); },
            nullptr});
        window_ = std::make_unique<Gtk::Window>();
        window_->set_title("MERIDAVOLT window test");
        window_->set_default_size(1120, 780);
        view_ = std::make_unique<DesktopContentView>(*model_, *settings_, MainLoopScheduler::shared());
        window_->set_child(*view_);
        window_->present();
    }

    void stop()
    {
        if (window_) {
            window_->unset_child();
            view_.reset();
            window_->destroy();
            window_.reset();
        }
        model_.reset();
        settings_.reset();
        meridavolt::testing::runMainLoopFor(std::chrono::milliseconds(20));
    }

    void restart()
    {
        stop();
        start();
    }

    // Opens a service beside the selected one and waits for its pane.
    void openBeside(const std::string& id, bool onLeft)
    {
        for (const auto& service : model_->library().services)
            if (service.id == id) model_->openBeside(service, onLeft);
        ASSERT_TRUE(meridavolt::testing::waitUntil([&] { return view_->workspace().secondaryPane() != nullptr; }));
    }

    // Picks a service before the start-up animation does.
    void choose(const std::string& id)
    {
        for (const auto& service : model_->library().services)
            if (service.id == id) model_->activate(service);
        meridavolt::testing::runMainLoopFor(std::chrono::milliseconds(20));
    }

    // Opens a service with one click of the real pointer.
    bool clickOpen(const std::string& id)
    {
        pointer().moveTo(serviceTile(id)).click();
        return meridavolt::testing::waitUntil([&] { return model_->selectedID() == id; }, std::chrono::seconds(2));
    }

    bool pageLoaded(const std::string& id)
    {
        auto found = model_->sessions().find(id);
        return found != model_->sessions().end() && !found->second->loading() &&
               found->second->currentURL() == server_.url("/" + id);
    }

    std::vector<std::string> libraryIDs() const
    {
        std::vector<std::string> ids;
        for (const auto& service : model_->library().services) ids.push_back(service.id);
        return ids;
    }

    Gtk::Widget& serviceTile(const std::string& id) { return view_->serviceBar().button(id)->tile(); }

    XdoPointer pointer() { return XdoPointer(*window_); }

    fakes::TemporaryFolder folder_;
    // The state's clipboard memory: on a fake clipboard, not watched, unless a test wants another.
    std::function<std::unique_ptr<ClipboardStore>()> makeClipboardStore_ = [this] {
        return meridavolt::testing::makeFakeClipboardStore(*settings_, folder_ / "pins.json");
    };
    meridavolt::testing::LocalHttpServer server_;
    RecordingWorkspace workspace_;
    std::unique_ptr<WebKitEngineFactory> engines_;
    std::unique_ptr<SettingsFile> settings_;
    std::unique_ptr<AppModel> model_;
    std::unique_ptr<Gtk::Window> window_;
    std::unique_ptr<DesktopContentView> view_;
};

}  // namespace meridavolt::desktoptest
