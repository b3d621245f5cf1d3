#include "ApplicationProcess.h"
#include "DesktopProbe.h"

#include "fakes/EnvironmentRecordingApplication.h"
#include "fakes/TemporaryFolder.h"
#include "model/LibraryRepository.h"
#include "platform/SettingsFile.h"
#include "platform/gdk/DisplayGLProbe.h"
#include "support/LocalHttpServer.h"

#include <gtest/gtest.h>

namespace meridavolt {
namespace {

using testing::ApplicationProcess;
using testing::DesktopProbe;
using testing::eventually;

// On a display without a GPU the program changes its own environment so that
// it draws without GL; a program it opens draws as the user's environment says.
TEST(OpenedProgramEnvironment, AnExternalServiceGetsTheEnvironmentTheUserStartedMeridavoltWith)
{
    ASSERT_EQ(probeDisplayGL(), DisplayGL::software);
    RendererEnvironment user = rendererEnvironment();
    user.gdkDebug = "nograbs";
    const auto choice = chooseRenderer(DisplayGL::software, user);
    ASSERT_EQ(choice.gdkDebug, "nograbs,gl-disable") << "GSK_RENDERER is set for the tests";
    ASSERT_TRUE(choice.webAccelerationNever) << "WEBKIT_DISABLE_COMPOSITING_MODE is set for the tests";
    ASSERT_FALSE(user.webkitRenderDevice) << "WEBKIT_WEB_RENDER_DEVICE_FILE is set for the tests";

    fakes::TemporaryFolder home;
    fakes::EnvironmentRecordingApplication chat(home / "data", home / "config", "x-scheme-handler/chatapp");
    testing::LocalHttpServer server;
    server.serve("/page", "<!doctype html><title>page</title>");
    ServiceLibrary library;
    library.services.push_back(Service{.id = "page", .name = "Page", .symbol = "globe", .url = server.url("/page")});
    library.services.push_back(Service{.id = "chat",
                                       .name = "Chat",
                                       .symbol = "message",
                                       .url = server.url("/chat"),
                                       .mode = LaunchMode::external,
                                       .appURL = "chatapp://open"});
    JSONLibraryRepository(testing::dataFolder(home) / "services.json").save(library);
    SettingsFile settings(testing::configFolder(home) / "settings.json");
    settings.setBool("embeddedYouTubeDefault.v1", true);
    settings.setBool("canvaEmbeddedMigration.v1", true);

    testing::PrivateSessionBus bus;
    // The user's own GDK_DEBUG, and a WebKit variable the program would
    // otherwise set, with the user's value.
    ApplicationProcess app(home, bus.address(), {{"GDK_DEBUG", "nograbs"}, {"WEBKIT_DISABLE_DMABUF_RENDERER", "0"}});
    DesktopProbe probe;
    ASSERT_TRUE(eventually([&] { return probe.mainWindow(app.pid()).has_value(); })) << app.errorOutput();
    ASSERT_TRUE(eventually([&] { return DesktopProbe::menuLabels(bus.address()).count("Chat") > 0; }));

    // "サービス" → "Chat" in the menu bar.
    DesktopProbe::activateAction(bus.address(), "service-2");
    ASSERT_TRUE(eventually([&] { return chat.started(); })) << app.errorOutput();
    EXPECT_EQ(fakes::drawingVariables(chat.environment()),
              (std::map<std::string, std::string>{{"GDK_DEBUG", "nograbs"}, {"WEBKIT_DISABLE_DMABUF_RENDERER", "0"}}));
    EXPECT_TRUE(app.running());
}

}  // namespace
}  // namespace meridavolt
