#include "state/gio/GioWorkspace.h"

#include "fakes/EnvironmentRecordingApplication.h"
#include "fakes/TemporaryFolder.h"
#include "platform/gdk/DisplayGLProbe.h"

#include <gio/gio.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>

namespace meridavolt {
namespace {

using namespace std::chrono_literals;

// A desktop of our own, set up before GLib first reads the environment:
// a default browser for web addresses, Chrome under its package's other
// desktop-entry name, and a handler of the "line" scheme. Each application
// is a script that writes its arguments to a log and records its environment.
// The process then fits its drawing to the display as the program does, over
// the user's own GDK_DEBUG and WEBKIT_DISABLE_DMABUF_RENDERER.
struct FakeDesktop {
    fakes::TemporaryFolder folder;
    RendererChoice renderer;

    FakeDesktop()
    {
        const auto applications = folder / "data/applications";
        addApplication(applications, "fake-browser", "x-scheme-handler/http;x-scheme-handler/https;", "%u");
        addApplication(applications, "com.google.Chrome", "", "%U");
        addApplication(applications, "fake-messenger", "x-scheme-handler/line;", "%u");
        fakes::writeBytes(folder / "config/mimeapps.list",
                          "[Default Applications]\n"
                          "x-scheme-handler/http=fake-browser.desktop\n"
                          "x-scheme-handler/https=fake-browser.desktop\n"
                          "x-scheme-handler/line=fake-messenger.desktop\n");
        ::setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
        ::setenv("XDG_DATA_DIRS", (folder / "system").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
        ::setenv("XDG_CONFIG_DIRS", (folder / "system").c_str(), 1);
        ::setenv("XDG_CURRENT_DESKTOP", "", 1);
        ::setenv("GDK_DEBUG", "nograbs", 1);
        ::setenv("WEBKIT_DISABLE_DMABUF_RENDERER", "0", 1);
        renderer = fitRendererToDisplay();
    }

    void addApplication(const std::filesystem::path& applications, const std::string& name, const std::string& types,
                        const std::string& argument)
    {
        const auto script = folder / (name + ".sh");
        fakes::writeBytes(script, "#!/bin/sh\necho \"started $*\" >> '" + log(name).string() + "'\n" +
                                      fakes::recordEnvironmentCommand(folder / (name + ".env")) + "\n");
        std::filesystem::permissions(script, std::filesystem::perms::owner_all);
        fakes::writeBytes(applications / (name + ".desktop"),
                          "[Desktop Entry]\nType=Application\nName=" + name + "\nExec=" + script.string() + " " +
                              argument + "\nMimeType=" + types + "\n");
    }

    std::filesystem::path log(const std::string& name) const { return folder / (name + ".log"); }
    std::string logOf(const std::string& name) const { return fakes::readBytes(log(name)); }
    std::map<std::string, std::string> environmentOf(const std::string& name) const
    {
        return fakes::recordedEnvironment(folder / (name + ".env"));
    }
};

FakeDesktop& desktop()
{
    static FakeDesktop instance;
    return instance;
}
// Before any test runs, so GLib caches our folders.
const FakeDesktop& setUpEarly = desktop();

bool waitFor(const std::function<bool()>& condition)
{
    const auto end = std::chrono::steady_clock::now() + 10s;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        g_main_context_iteration(nullptr, FALSE);
        g_usleep(10000);
    }
    return true;
}

TEST(GioWorkspace, OpensWebAddressesWithTheDefaultBrowser)
{
    GioWorkspace workspace;
    EXPECT_TRUE(workspace.openURL("https://example.invalid/page?q=1"));
    EXPECT_TRUE(waitFor([] {
        return desktop().logOf("fake-browser").find("started https://example.invalid/page?q=1") != std::string::npos;
    })) << desktop().logOf("fake-browser");
}

TEST(GioWorkspace, AnAddressWithoutHandlerIsRefused)
{
    GioWorkspace workspace;
    EXPECT_FALSE(workspace.openURL("no-such-application://open"));
}

TEST(GioWorkspace, StartsChromeWithTheAddress)
{
    GioWorkspace workspace;
    ASSERT_TRUE(workspace.hasApplication(ExternalApplication::chrome));
    std::optional<std::optional<std::string>> result;
    workspace.launchApplication(ExternalApplication::chrome, {"https://example.invalid/chrome"},
                                [&](std::optional<std::string> error) { result = error; });
    ASSERT_TRUE(waitFor([&] { return result.has_value(); }));
    EXPECT_FALSE(*result) << **result;
    EXPECT_TRUE(waitFor([] {
        return desktop().logOf("com.google.Chrome").find("started https://example.invalid/chrome") != std::string::npos;
    }));
    // Chrome gets what the user started us with: GDK_DEBUG restored, what we
    // added gone, the user's own value kept.
    ASSERT_EQ(desktop().renderer.gdkDebug, "nograbs,gl-disable") << "the display has a GPU or GSK_RENDERER is set";
    ASSERT_TRUE(waitFor([] { return std::filesystem::exists(desktop().folder / "com.google.Chrome.env"); }));
    EXPECT_EQ(fakes::drawingVariables(desktop().environmentOf("com.google.Chrome")),
              (std::map<std::string, std::string>{{"GDK_DEBUG", "nograbs"}, {"WEBKIT_DISABLE_DMABUF_RENDERER", "0"}}));
}

TEST(GioWorkspace, StartsTheHandlerOfTheMessengerSchemeWithoutAnAddress)
{
    GioWorkspace workspace;
    ASSERT_TRUE(workspace.hasApplication(ExternalApplication::messenger));
    std::optional<std::optional<std::string>> result;
    workspace.launchApplication(ExternalApplication::messenger, {},
                                [&](std::optional<std::string> error) { result = error; });
    ASSERT_TRUE(waitFor([&] { return result.has_value(); }));
    EXPECT_FALSE(*result);
    EXPECT_TRUE(waitFor([] { return desktop().logOf("fake-messenger") == "started \n"; }))
        << desktop().logOf("fake-messenger");
}

}  // namespace
}  // namespace meridavolt
