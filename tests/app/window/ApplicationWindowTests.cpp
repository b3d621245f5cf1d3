#include "ApplicationProcess.h"
#include "DesktopProbe.h"

#include "fakes/TemporaryFolder.h"
#include "model/LibraryRepository.h"
#include "model/WorkSetRepository.h"
#include "platform/SettingsFile.h"
#include "platform/gdk/DisplayGLProbe.h"
#include "support/LocalHttpServer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <thread>

namespace meridavolt {
namespace {

using namespace std::chrono_literals;
using testing::ApplicationProcess;
using testing::eventually;
using testing::DesktopProbe;

std::string page(const std::string& color)
{
    return "<!doctype html><html style=\"background:" + color + "\"><body style=\"margin:0;height:100vh;background:" +
           color + "\"></body></html>";
}

bool near(const DesktopProbe::Color& color, int red, int green, int blue)
{
    return std::abs(color.red - red) < 12 && std::abs(color.green - green) < 12 && std::abs(color.blue - blue) < 12;
}

class ApplicationWindow : public ::testing::Test {
protected:
    // A library of three local pages, stored before the first launch, with the
    // one-time migrations already done so the library stays as written.
    void storeLocalLibrary(const std::vector<std::string>& names = {"Local one", "Local two", "Local three"})
    {
        server.serve("/one", page("#dd2222"));
        server.serve("/two", page("#00aa55"));
        server.serve("/three", page("#2255dd"));
        ServiceLibrary library;
        const std::vector<std::string> ids = {"one", "two", "three"};
        for (std::size_t i = 0; i < ids.size(); ++i) {
            const std::string& name = ids[i];
            Service service;
            service.id = name;
            service.name = names[i];
            service.symbol = "globe";
            service.url = server.url(std::string("/") + name);
            library.services.push_back(service);
        }
        JSONLibraryRepository(testing::dataFolder(home) / "services.json").save(library);
        SettingsFile settings(testing::configFolder(home) / "settings.json");
        settings.setBool("embeddedYouTubeDefault.v1", true);
        settings.setBool("canvaEmbeddedMigration.v1", true);
    }

    // Starts the program and waits for its main window.
    DesktopProbe::WindowID launchAndWaitForWindow(ApplicationProcess& process)
    {
        std::optional<DesktopProbe::WindowID> window;
        const bool shown = eventually([&] { return (window = probe.mainWindow(process.pid())).has_value(); });
        EXPECT_TRUE(shown) << process.errorOutput();
        return window.value_or(0);
    }

    // Gives the window the focus, types the keys once and waits for their effect.
    bool press(DesktopProbe::WindowID window, const std::string& keys, const std::function<bool()>& effect)
    {
        return probe.pressKeys(window, keys) && eventually(effect, 10s);
    }

    // A point well inside the page area of the window.
    DesktopProbe::Color pageColor(DesktopProbe::WindowID window)
    {
        return probe.pixel(window, 560, 600);
    }

    fakes::TemporaryFolder home;
    testing::PrivateSessionBus bus;
    testing::LocalHttpServer server;
    DesktopProbe probe;
};

TEST_F(ApplicationWindow, StartsIntoOneWindowOfTheFirstSizeWithTheServicesMenu)
{
    storeLocalLibrary();
    ApplicationProcess app(home, bus.address());
    const auto window = launchAndWaitForWindow(app);
    ASSERT_NE(window, 0u);

    const auto size = probe.size(window);
    EXPECT_EQ(size.width, 1120);
    EXPECT_EQ(size.height, 780);
    // The menu bar sits above the 760 x 540 content. The hints follow the first layout.
    DesktopProbe::Size minimum;
    eventually([&] {
        minimum = probe.minimumSize(window);
        return minimum.width > 0;
    });
    EXPECT_EQ(minimum.width, 760);
    EXPECT_GE(minimum.height, 540);
    EXPECT_LT(minimum.height, 600);
    // Nothing over it: no sheet, no alert.
    EXPECT_EQ(probe.windowsTransientFor(window), std::set<DesktopProbe::WindowID>{});

    ASSERT_TRUE(eventually([&] { return DesktopProbe::menuLabels(bus.address()).count("サービス") > 0; }));
    // The numbered services, one divider, then the fixed commands, in this order.
    using Sections = std::vector<std::vector<std::string>>;
    EXPECT_EQ(DesktopProbe::menuSections(bus.address(), "サービス"),
              (Sections{{"Local one", "Local two", "Local three"},
                        {"直前のサービスへ", "作業セット", "PELLOWRI MEMORY", "ミニ画面を開く（Ctrl+Alt+Space）",
                         "サービスを管理"}}));
    EXPECT_EQ(DesktopProbe::menuSections(bus.address(), "MERIDAVOLT"),
              (Sections{{"アップデートを確認…"}, {"MERIDAVOLTを終了"}}));
    EXPECT_EQ(DesktopProbe::actionEnabled(bus.address(), "previous-service"), false);
    EXPECT_EQ(DesktopProbe::actionEnabled(bus.address(), "service-3"), true);

    // "アップデートを確認…" puts the update sheet over the window.
    DesktopProbe::activateAction(bus.address(), "check-updates");
    EXPECT_TRUE(eventually([&] {
        return probe.findWindow(app.pid(), {.title = "アップデート", .transientFor = window}).has_value();
    }));
}

TEST_F(ApplicationWindow, LongServiceNamesLeaveTheWindowItsSizeDrawnWholeAndTheMenuCut)
{
    storeLocalLibrary({std::string(3'000'000, 'W'), std::string(1000, 'M'), "Local three"});
    ApplicationProcess app(home, bus.address());
    const auto window = launchAndWaitForWindow(app);
    ASSERT_NE(window, 0u);

    EXPECT_EQ(probe.size(window).width, 1120);
    EXPECT_EQ(probe.size(window).height, 780);
    // The first service's page fills the content, out to the panel on the right.
    EXPECT_TRUE(eventually([&] { return near(pageColor(window), 0xdd, 0x22, 0x22); }, 30s)) << app.errorOutput();
    EXPECT_TRUE(near(probe.pixel(window, 1000, 600), 0xdd, 0x22, 0x22));

    ASSERT_TRUE(eventually([&] { return DesktopProbe::menuLabels(bus.address()).count("Local three") > 0; }));
    const auto sections = DesktopProbe::menuSections(bus.address(), "サービス");
    ASSERT_FALSE(sections.empty());
    EXPECT_EQ(sections.front(),
              (std::vector<std::string>{std::string(39, 'W') + "…", std::string(39, 'M') + "…", "Local three"}));
}

TEST_F(ApplicationWindow, KeysSwitchBetweenServicesWithoutReloadingThem)
{
    storeLocalLibrary();
    ApplicationProcess app(home, bus.address());
    const auto window = launchAndWaitForWindow(app);
    ASSERT_NE(window, 0u);
    ASSERT_TRUE(eventually([&] { return DesktopProbe::menuLabels(bus.address()).count("Local two") > 0; }));

    auto showsTwo = [&] { return near(pageColor(window), 0x00, 0xaa, 0x55); };
    auto showsOne = [&] { return near(pageColor(window), 0xdd, 0x22, 0x22); };
    EXPECT_TRUE(press(window, "ctrl+2", showsTwo))
        << "requests for /two: " << server.requestCount("/two") << "; running: " << app.running() << "\n"
        << app.errorOutput();
    EXPECT_EQ(server.requestCount("/two"), 1);

    EXPECT_TRUE(press(window, "ctrl+1", showsOne));
    EXPECT_EQ(DesktopProbe::actionEnabled(bus.address(), "previous-service"), true);

    // Back to the previous service: the page is shown again as it was.
    EXPECT_TRUE(press(window, "ctrl+Tab", showsTwo));
    EXPECT_EQ(server.requestCount("/two"), 1);
    EXPECT_EQ(server.requestCount("/one"), 1);
}

TEST_F(ApplicationWindow, AFirstLaunchWritesBothFilesWithTheVideoServiceFirst)
{
    // The catalogue's services have real addresses: should one start loading
    // before the test ends, it meets a proxy that answers nothing.
    const std::string deadProxy = "http://127.0.0.1:" + std::to_string(testing::LocalHttpServer::unusedPort());
    ApplicationProcess app(home, bus.address(), {{"http_proxy", deadProxy}, {"https_proxy", deadProxy}});
    ASSERT_NE(launchAndWaitForWindow(app), 0u);
    const auto servicesFile = testing::dataFolder(home) / "services.json";
    const auto workSetsFile = testing::dataFolder(home) / "worksets.json";
    ASSERT_TRUE(eventually([&] { return std::filesystem::exists(servicesFile) && std::filesystem::exists(workSetsFile); }));

    auto library = JSONLibraryRepository(servicesFile).load();
    ASSERT_TRUE(library);
    ASSERT_FALSE(library->services.empty());
    EXPECT_EQ(library->services.front().id, "youtube");
    EXPECT_EQ(library->deletedIDs.count("brave"), 1u);
    auto sets = JSONWorkSetRepository(workSetsFile).load();
    ASSERT_TRUE(sets);
    EXPECT_EQ(sets->size(), 2u);
}

TEST_F(ApplicationWindow, ClosingHidesTheWindowAndASecondLaunchShowsTheSameOne)
{
    storeLocalLibrary();
    ApplicationProcess first(home, bus.address());
    const auto window = launchAndWaitForWindow(first);
    ASSERT_NE(window, 0u);

    probe.requestClose(window);
    ASSERT_TRUE(eventually([&] { return !probe.isShown(window); }));
    std::this_thread::sleep_for(300ms);
    EXPECT_TRUE(first.running());

    ApplicationProcess second(home, bus.address());
    EXPECT_EQ(second.waitForExit(20s), 0) << second.errorOutput();
    EXPECT_TRUE(eventually([&] { return probe.mainWindow(first.pid()) == window; }));
}

TEST_F(ApplicationWindow, WithoutASessionBusASecondProcessStopsAndLeavesTheFirstAlone)
{
    storeLocalLibrary();
    const std::string noBus = "unix:path=" + (home / "no-bus").string();
    ApplicationProcess first(home, noBus);
    const auto window = launchAndWaitForWindow(first);
    ASSERT_NE(window, 0u);

    ApplicationProcess second(home, noBus);
    EXPECT_EQ(second.waitForExit(20s), 1);
    EXPECT_NE(second.errorOutput().find("already running"), std::string::npos) << second.errorOutput();
    EXPECT_TRUE(first.running());
    EXPECT_TRUE(probe.isShown(window));
}

TEST_F(ApplicationWindow, CtrlQQuits)
{
    storeLocalLibrary();
    ApplicationProcess app(home, bus.address());
    const auto window = launchAndWaitForWindow(app);
    ASSERT_NE(window, 0u);
    EXPECT_TRUE(press(window, "ctrl+q", [&] { return !app.running(); }));
    EXPECT_EQ(app.waitForExit(20s), 0) << app.errorOutput();
}

// Mesa's GL driver (and the LLVM it carries) that `pid` has mapped, if any.
std::string mappedGLDriver(pid_t pid)
{
    std::ifstream file("/proc/" + std::to_string(pid) + "/maps");
    const std::string maps((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    for (const char* library : {"swrast_dri", "libLLVM"}) {
        if (maps.find(library) != std::string::npos) return library;
    }
    return "";
}

TEST_F(ApplicationWindow, OnSoftwareGLItDrawsWithCairoAndShowsALocalPageWithoutCompositing)
{
    // A virtual display has no direct rendering: OpenGL there is software,
    // so the program picks the cairo renderer and plain web drawing.
    ASSERT_EQ(probeDisplayGL(), DisplayGL::software);
    const auto choice = chooseRenderer(DisplayGL::software, rendererEnvironment());
    ASSERT_EQ(choice.gskRenderer, "cairo") << "GSK_RENDERER is set for the tests";
    ASSERT_TRUE(choice.webAccelerationNever) << "WEBKIT_DISABLE_COMPOSITING_MODE is set for the tests";

    storeLocalLibrary();
    ApplicationProcess app(home, bus.address());
    const auto window = launchAndWaitForWindow(app);
    ASSERT_NE(window, 0u);
    EXPECT_EQ(probe.size(window).width, 1120);

    // The first service opens after the start-up animation: its page, drawn
    // by the web process without compositing, shows inside the window.
    EXPECT_TRUE(eventually([&] { return near(pageColor(window), 0xdd, 0x22, 0x22); }, 30s))
        << "requests for /one: " << server.requestCount("/one") << "\n"
        << app.errorOutput();
    EXPECT_EQ(server.requestCount("/one"), 1);
    EXPECT_TRUE(app.running());
    // Nothing in the window draws with GL, so the window's process never loads the driver.
    EXPECT_EQ(mappedGLDriver(app.pid()), "");
}

}  // namespace
}  // namespace meridavolt

namespace meridavolt {
namespace {

// Ctrl+Shift+V opens the memory panel over the window wherever the focus is,
// and Escape closes it again.
TEST_F(ApplicationWindow, CtrlShiftVOpensTheMemoryPanelAndEscapeClosesIt)
{
    storeLocalLibrary();
    ApplicationProcess app(home, bus.address());
    const auto window = launchAndWaitForWindow(app);
    ASSERT_NE(window, 0u);
    // The command is in the menu once the window's content is there to open the panel.
    ASSERT_TRUE(eventually([&] { return DesktopProbe::menuLabels(bus.address()).count("PELLOWRI MEMORY") > 0; }));

    // The panel is the popover shown over the window: the quick launcher, or
    // a panel only being prepared where nobody sees it, is no such popup.
    std::optional<DesktopProbe::WindowID> panel;
    EXPECT_TRUE(press(window, "ctrl+shift+v", [&] { return (panel = probe.popupOver(window)).has_value(); }))
        << app.errorOutput();
    ASSERT_TRUE(panel);
    EXPECT_EQ(probe.identity(*panel).type, DesktopProbe::menuType);
    const auto size = probe.size(*panel);
    EXPECT_GE(size.width, 300);
    EXPECT_GE(size.height, 410);

    EXPECT_TRUE(press(*panel, "Escape", [&] { return !probe.isShown(*panel); }));
    EXPECT_EQ(probe.popupOver(window), std::nullopt);
    EXPECT_TRUE(app.running());
}

}  // namespace
}  // namespace meridavolt
