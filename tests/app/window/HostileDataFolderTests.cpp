// The program started on what a hard kill, another program or a hostile file
// leaves in its folders: it starts, says what it could not read, and leaves
// those files as they are.
#include "ApplicationProcess.h"
#include "DesktopProbe.h"

#include "fakes/TemporaryFolder.h"
#include "model/LibraryRepository.h"
#include "support/LocalHttpServer.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace meridavolt {
namespace {

using namespace std::chrono_literals;
using fakes::readBytes;
using fakes::writeBytes;
using testing::ApplicationProcess;
using testing::eventually;
using testing::DesktopProbe;

class HostileDataFolder : public ::testing::Test {
protected:
    ~HostileDataFolder() override
    {
        std::error_code ignored;
        std::filesystem::permissions(data, std::filesystem::perms::owner_all, ignored);
        std::filesystem::permissions(config, std::filesystem::perms::owner_all, ignored);
        if (programBefore) ::setenv("MERIDAVOLT_PROGRAM", programBefore->c_str(), 1);
        else ::unsetenv("MERIDAVOLT_PROGRAM");
    }

    // The main window and over it the program's alert: the dialog titled
    // お知らせ that belongs to the main window.
    bool showsAlert(ApplicationProcess& app)
    {
        return eventually([&] {
            const auto main = probe.mainWindow(app.pid());
            return main && probe.findWindow(app.pid(), {.title = "お知らせ",
                                                         .transientFor = *main,
                                                         .type = DesktopProbe::dialogType});
        });
    }

    void storeLibrary()
    {
        server.serve("/", "<!doctype html><title>local</title>");
        ServiceLibrary library;
        library.services = {Service{"local", "Local page", "globe", server.url("/"), LaunchMode::embedded,
                                    std::nullopt, {}, Date{1}}};
        JSONLibraryRepository(data / "services.json").save(library);
    }

    // Root writes anywhere whatever a folder's permissions say: the program
    // then runs without the rights that allow it, as a user's program would.
    void startWithoutRootsFileRights()
    {
        if (::geteuid() != 0) return;
        const auto script = home / "without-file-rights.sh";
        writeBytes(script, "#!/bin/sh\nexec setpriv --bounding-set=-dac_override,-dac_read_search,-fowner -- '" +
                               ApplicationProcess::programPath().string() + "' \"$@\"\n");
        std::filesystem::permissions(script, std::filesystem::perms::owner_all);
        ::setenv("MERIDAVOLT_PROGRAM", script.c_str(), 1);
    }

    fakes::TemporaryFolder home;
    std::filesystem::path data = testing::dataFolder(home);
    std::filesystem::path config = testing::configFolder(home);
    std::optional<std::string> programBefore =
        std::getenv("MERIDAVOLT_PROGRAM") ? std::optional<std::string>(std::getenv("MERIDAVOLT_PROGRAM")) : std::nullopt;
    testing::PrivateSessionBus bus;
    testing::LocalHttpServer server;
    DesktopProbe probe;
};

TEST_F(HostileDataFolder, PipesInPlaceOfTheDataFilesNeitherHangTheStartNorAreReplaced)
{
    std::filesystem::create_directories(data);
    const std::vector<std::string> names = {"services.json", "worksets.json", "pinned-memory.json"};
    for (const auto& name : names) ASSERT_EQ(::mkfifo((data / name).c_str(), 0600), 0);
    std::filesystem::create_directories(config);
    ASSERT_EQ(::mkfifo((config / "settings.json").c_str(), 0600), 0);

    ApplicationProcess app(home, bus.address());
    EXPECT_TRUE(showsAlert(app)) << "the window and the alert about the unreadable files\n" << app.errorOutput();
    for (const auto& name : names) {
        EXPECT_EQ(std::filesystem::symlink_status(data / name).type(), std::filesystem::file_type::fifo) << name;
    }
    EXPECT_EQ(std::filesystem::symlink_status(config / "settings.json").type(), std::filesystem::file_type::fifo);
}

TEST_F(HostileDataFolder, AReadOnlyFolderIsNoSecondInstance)
{
    // Not migrated yet: the first start saves the library, and that save fails.
    storeLibrary();
    const std::string stored = readBytes(data / "services.json");
    std::filesystem::permissions(data, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    startWithoutRootsFileRights();

    ApplicationProcess app(home, bus.address());
    EXPECT_TRUE(showsAlert(app)) << "the window and the alert about the failed save\n" << app.errorOutput();
    EXPECT_TRUE(eventually([&] { return DesktopProbe::menuLabels(bus.address()).count("Local page") > 0; }));
    EXPECT_TRUE(app.running());
    EXPECT_EQ(readBytes(data / "services.json"), stored);
}

TEST_F(HostileDataFolder, WithSettingsThatCannotBeWrittenARemovedServiceStaysRemovedAcrossRestarts)
{
    // The library as the user left it: the video service removed, the
    // one-time repair never recorded.
    server.serve("/", "<!doctype html><title>local</title>");
    ServiceLibrary library;
    library.services = {Service{"local", "Local page", "globe", server.url("/"), LaunchMode::embedded, std::nullopt,
                                {}, Date{1}}};
    library.deletedIDs = {{"youtube", Date{2}}, {"brave", Date{2}}};
    JSONLibraryRepository(data / "services.json").save(library);
    std::filesystem::create_directories(config);
    std::filesystem::permissions(config, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    startWithoutRootsFileRights();

    for (int start = 1; start <= 2; ++start) {
        ApplicationProcess app(home, bus.address());
        EXPECT_TRUE(showsAlert(app)) << "start " << start << ": the window and the alert about the settings\n"
                                          << app.errorOutput();
        ASSERT_TRUE(eventually([&] { return DesktopProbe::menuLabels(bus.address()).count("Local page") > 0; }))
            << "start " << start;
        EXPECT_EQ(DesktopProbe::menuLabels(bus.address()).count("YouTube"), 0u) << "start " << start;
        auto stored = JSONLibraryRepository(data / "services.json").load();
        ASSERT_TRUE(stored);
        EXPECT_EQ(stored->services.size(), 1u) << "start " << start;
        EXPECT_EQ(stored->deletedIDs.count("youtube"), 1u) << "start " << start;
    }
    EXPECT_FALSE(std::filesystem::exists(config / "settings.json"));
}

TEST_F(HostileDataFolder, OnlyTheLockHolderClearsStaleTemporaryFilesAndDeepSettingsStayAsTheyAre)
{
    storeLibrary();
    const std::vector<std::string> stale = {".services.json.meridavolt-save-Kill01",
                                            ".worksets.json.meridavolt-save-Kill02",
                                            ".pinned-memory.json.meridavolt-save-Kill03"};
    const std::vector<std::string> others = {"notes.txt", ".services.json.old", "services.json.Kill04",
                                             ".services.json.backup", ".pinned-memory.json.AAAAAA"};
    for (const auto& name : stale) writeBytes(data / name, "{\"half");
    for (const auto& name : others) writeBytes(data / name, "mine");
    const std::string staleSettings = ".settings.json.meridavolt-save-Kill05";
    const std::vector<std::string> otherSettings = {"notes.txt", ".settings.json.backup",
                                                    ".services.json.meridavolt-save-Kill06"};
    writeBytes(config / staleSettings, "{\"half");
    for (const auto& name : otherSettings) writeBytes(config / name, "mine");
    const std::string deep = R"({"x":)" + std::string(100000, '[') + std::string(100000, ']') + "}";
    writeBytes(config / "settings.json", deep);

    // Without a bus the second process meets the first one's lock.
    const std::string noBus = "unix:path=" + (home / "no-bus").string();
    ApplicationProcess first(home, noBus);
    std::optional<DesktopProbe::WindowID> window;
    ASSERT_TRUE(eventually([&] { return (window = probe.mainWindow(first.pid())).has_value(); }))
        << first.errorOutput();
    // The library was read and its service opened: the settings did not stop the start.
    EXPECT_TRUE(eventually([&] { return server.requestCount("/") > 0; })) << first.errorOutput();
    // The alert would have come with the window; the files left nothing to tell.
    EXPECT_EQ(probe.windowsTransientFor(*window), std::set<DesktopProbe::WindowID>{});
    for (const auto& name : stale) EXPECT_FALSE(std::filesystem::exists(data / name)) << name;
    for (const auto& name : others) EXPECT_EQ(readBytes(data / name), "mine") << name;
    EXPECT_FALSE(std::filesystem::exists(config / staleSettings));
    for (const auto& name : otherSettings) EXPECT_EQ(readBytes(config / name), "mine") << name;

    // Other processes' saves in flight while the first one holds the lock.
    writeBytes(data / ".services.json.meridavolt-save-Flight", "{\"sa");
    writeBytes(config / ".settings.json.meridavolt-save-Flight", "{\"sa");
    ApplicationProcess second(home, noBus);
    EXPECT_EQ(second.waitForExit(20s), 1) << second.errorOutput();
    EXPECT_TRUE(std::filesystem::exists(data / ".services.json.meridavolt-save-Flight"));
    EXPECT_TRUE(std::filesystem::exists(config / ".settings.json.meridavolt-save-Flight"));

    EXPECT_TRUE(first.running());
    EXPECT_EQ(readBytes(config / "settings.json"), deep);
}

}  // namespace
}  // namespace meridavolt
