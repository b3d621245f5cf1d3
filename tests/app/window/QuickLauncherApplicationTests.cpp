// The quick launcher of the real program under a window manager: the hot key
// registered at start-up, and an embedded service chosen in the launcher
// bringing back the main window that the user had closed.
#include "ApplicationProcess.h"
#include "DesktopProbe.h"

#include "desktop/window/LauncherDesktop.h"
#include "fakes/TemporaryFolder.h"
#include "model/LibraryRepository.h"
#include "platform/SettingsFile.h"
#include "support/LocalHttpServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace meridavolt {
namespace {

using namespace std::chrono_literals;
using desktoptest::LauncherDesktop;
using desktoptest::Window;
using testing::ApplicationProcess;
using testing::DesktopProbe;
using testing::eventually;

constexpr const char* launcherTitle = "MERIDAVOLT MINI · Ctrl+Alt+Space";

// A home whose library holds just this service, with the one-time repairs done.
void saveLibraryOf(const fakes::TemporaryFolder& home, Service service)
{
    ServiceLibrary library;
    library.services = {std::move(service)};
    JSONLibraryRepository(testing::dataFolder(home) / "services.json").save(library);
    SettingsFile settings(testing::configFolder(home) / "settings.json");
    settings.setBool("embeddedYouTubeDefault.v1", true);
    settings.setBool("canvaEmbeddedMigration.v1", true);
}

TEST(QuickLauncherApplication, TheHotKeyOpensAServiceInTheClosedMainWindowAndEscapeOverItLeavesTheFocusThere)
{
    fakes::TemporaryFolder home;
    testing::PrivateSessionBus bus;
    testing::LocalHttpServer server;
    LauncherDesktop desktop;
    ASSERT_TRUE(desktop.startWindowManager());

    server.serve("/notes", "<!doctype html><body style='background:#2255dd'></body>");
    saveLibraryOf(home, Service{"notes", "Local notes", "globe", server.url("/notes"), LaunchMode::embedded,
                                std::nullopt, {}});

    ApplicationProcess app(home, bus.address());
    Window main = 0;
    ASSERT_TRUE(eventually([&] { return (main = desktop.managedWindow("MERIDAVOLT")) != 0; })) << app.errorOutput();
    ASSERT_TRUE(eventually([&] { return desktop.activeWindow() == main; }));

    // The user closes the window and works in another application.
    desktop.requestClose(main);
    ASSERT_TRUE(eventually([&] { return !desktop.mapped(main); })) << "the main window did not close";
    const Window helper = desktop.openHelperWindow();
    ASSERT_EQ(desktop.activeWindow(), helper);

    Window launcher = 0;
    ASSERT_TRUE(eventually([&] {
        LauncherDesktop::xdotool("key ctrl+alt+space");
        return eventually([&] {
            launcher = desktop.managedWindow(launcherTitle);
            return launcher && desktop.activeWindow() == launcher;
        }, 3s);
    }, 20s)) << "the hot key did not open the launcher\n" << app.errorOutput();

    ASSERT_TRUE(LauncherDesktop::xdotool("type --delay 30 notes"));
    ASSERT_TRUE(LauncherDesktop::xdotool("key Tab Return"));
    ASSERT_TRUE(eventually([&] { return desktop.mapped(main) && desktop.activeWindow() == main; }))
        << "the main window did not come back to the front";
    EXPECT_FALSE(desktop.mapped(launcher));
    EXPECT_TRUE(app.running());

    // Over our own window, Esc hides the launcher and the main window keeps the focus.
    ASSERT_TRUE(LauncherDesktop::xdotool("key ctrl+alt+space"));
    ASSERT_TRUE(eventually([&] { return desktop.activeWindow() == launcher; }));
    ASSERT_TRUE(LauncherDesktop::xdotool("key Escape"));
    ASSERT_TRUE(eventually([&] { return !desktop.mapped(launcher); }));
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(desktop.activeWindow(), main);
}

// Without a window manager: the other program keeps what is typed for it,
// and the alert, once answered, gives the keyboard back to that program.
TEST(QuickLauncherApplication, AFailedOpeningShowsItsAlertWithoutTakingTheKeysOfTheProgramInFront)
{
    fakes::TemporaryFolder home;
    testing::PrivateSessionBus bus;
    testing::LocalHttpServer server;
    LauncherDesktop desktop;
    // An address on this machine is never handed to the desktop: its opening fails.
    saveLibraryOf(home, Service{"tool", "Broken tool", "globe", server.url("/tool"), LaunchMode::external,
                                std::nullopt, {}});
    ApplicationProcess app(home, bus.address());
    DesktopProbe probe;
    // The user moves to another program once MERIDAVOLT's window has come up with the keyboard.
    ASSERT_TRUE(eventually([&] { return desktop.inputFocus() == probe.mainWindow(app.pid()); })) << app.errorOutput();
    const Window helper = desktop.openHelperWindow();

    ASSERT_TRUE(eventually([&] {
        LauncherDesktop::xdotool("key ctrl+alt+space");
        return eventually([&] { return desktop.inputFocus() == probe.findWindow(app.pid(), {launcherTitle}); }, 3s);
    }, 20s)) << "the hot key did not open the launcher\n" << app.errorOutput();
    ASSERT_TRUE(LauncherDesktop::xdotool("type --delay 30 Broken"));
    ASSERT_TRUE(LauncherDesktop::xdotool("key Tab Return"));
    std::optional<DesktopProbe::WindowID> alert;
    ASSERT_TRUE(eventually([&] { return (alert = probe.findWindow(app.pid(), {"お知らせ"})).has_value(); }));

    ASSERT_TRUE(LauncherDesktop::xdotool("type --delay 30 hi"));
    ASSERT_TRUE(LauncherDesktop::xdotool("key Return"));
    EXPECT_TRUE(eventually([&] { return desktop.typedIntoHelper() == "hi\r"; })) << "the alert took the keys";
    EXPECT_TRUE(probe.isShown(*alert));

    ASSERT_TRUE(probe.pressKeys(*alert, "Return"));
    ASSERT_TRUE(eventually([&] { return !probe.findWindow(app.pid(), {"お知らせ"}); }));
    EXPECT_TRUE(eventually([&] { return desktop.inputFocus() == helper; })) << "the keyboard stayed with MERIDAVOLT";
}

}  // namespace
}  // namespace meridavolt
