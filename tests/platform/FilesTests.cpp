#include "platform/DataFolder.h"
#include "platform/FileError.h"
#include "platform/Files.h"
#include "platform/Json.h"

#include "fakes/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace meridavolt;
using meridavolt::fakes::readBytes;
using meridavolt::fakes::TemporaryFolder;
using meridavolt::fakes::writeBytes;

TEST(Files, ReadingAMissingFileGivesNothing)
{
    TemporaryFolder folder;
    EXPECT_FALSE(readFileIfExists(folder / "absent.json"));
}

TEST(Files, AtomicWriteCreatesTheFolderAndReplacesTheContentLeavingNoTemporaryFile)
{
    TemporaryFolder folder;
    auto path = folder / "a/b/services.json";
    writeFileAtomically(path, "first");
    writeFileAtomically(path, "second");
    EXPECT_EQ(readBytes(path), "second");
    std::size_t entries = 0;
    for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator(path.parent_path())) ++entries;
    EXPECT_EQ(entries, 1u);
}

TEST(Files, AReadOverTheLimitThrowsWithoutReadingFurther)
{
    TemporaryFolder folder;
    auto path = folder / "big";
    writeBytes(path, std::string(101, 'x'));
    EXPECT_EQ(readFileIfExists(path, 101)->size(), 101u);
    try {
        readFileIfExists(path, 100);
        FAIL() << "expected a FileError";
    } catch (const FileError& error) {
        EXPECT_EQ(error.code(), FileError::Code::fileReadTooLarge);
    }
}

TEST(Files, AFolderInPlaceOfAFileIsAReadError)
{
    TemporaryFolder folder;
    std::filesystem::create_directories(folder / "services.json");
    EXPECT_THROW(readFileIfExists(folder / "services.json"), FileError);
}

TEST(Files, APipeOrDeviceInPlaceOfAFileIsRefusedWithoutWaiting)
{
    TemporaryFolder folder;
    const auto pipe = folder / "services.json";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    // Should the read wait for a writer, one comes after five seconds, so
    // that the test fails instead of hanging.
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    std::thread rescuer([&] {
        std::unique_lock lock(mutex);
        if (finished.wait_for(lock, std::chrono::seconds(5), [&] { return done; })) return;
        if (int fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK); fd >= 0) ::close(fd);
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(readFileIfExists(pipe), FileError);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    {
        std::lock_guard lock(mutex);
        done = true;
    }
    finished.notify_one();
    rescuer.join();
    EXPECT_EQ(std::filesystem::status(pipe).type(), std::filesystem::file_type::fifo);

    EXPECT_THROW(readFileIfExists("/dev/zero"), FileError);
}

TEST(Files, OnlyOurOwnStaleTemporaryFilesAreRemoved)
{
    TemporaryFolder folder;
    std::string pending = (folder / ".worksets.json.meridavolt-save-XXXXXX").string();
    const int pendingFile = ::mkstemp(pending.data());  // as the atomic write makes them
    ASSERT_GE(pendingFile, 0);
    ::close(pendingFile);
    const std::vector<std::string> stale = {".services.json.meridavolt-save-AbC123",
                                            ".pinned-memory.json.meridavolt-save-000000"};
    // A user's own copies, named as a person would name them.
    const std::vector<std::string> kept = {"services.json",
                                           ".services.json",
                                           ".services.json.backup",
                                           ".pinned-memory.json.AAAAAA",
                                           ".services.json.meridavolt-save-AbC12",
                                           ".services.json.meridavolt-save-AbC1234",
                                           ".services.json.meridavolt-save-AbC-12",
                                           "x.services.json.meridavolt-save-AbC123",
                                           ".services.json.meridavolt-save-AbC123.bak",
                                           ".settings.json.meridavolt-save-AbC123",
                                           "instance.lock"};
    for (const auto& name : stale) writeBytes(folder / name, "{");
    for (const auto& name : kept) writeBytes(folder / name, "{");
    std::filesystem::create_directory(folder / ".worksets.json.meridavolt-save-Folder");
    std::filesystem::create_symlink(folder / "services.json", folder / ".services.json.meridavolt-save-Linked");

    removeStaleTemporaryFiles(folder.path(), {"services.json", "worksets.json", "pinned-memory.json"});

    EXPECT_FALSE(std::filesystem::exists(pending));
    for (const auto& name : stale) EXPECT_FALSE(std::filesystem::exists(folder / name)) << name;
    for (const auto& name : kept) EXPECT_EQ(readBytes(folder / name), "{") << name;
    EXPECT_TRUE(std::filesystem::is_directory(folder / ".worksets.json.meridavolt-save-Folder"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder / ".services.json.meridavolt-save-Linked"));
    EXPECT_NO_THROW(removeStaleTemporaryFiles(folder / "absent", {"services.json"}));
}

TEST(Files, AWriteThatCannotCreateItsFolderThrowsAndLeavesNothing)
{
    TemporaryFolder folder;
    writeBytes(folder / "blocker", "a file where a folder should be");
    EXPECT_THROW(writeFileAtomically(folder / "blocker/services.json", "x"), FileError);
    EXPECT_EQ(readBytes(folder / "blocker"), "a file where a folder should be");
}

TEST(DataFolder, FollowsTheXDGVariablesAndFallsBackBelowHome)
{
    ::setenv("XDG_DATA_HOME", "/tmp/xdg-data", 1);
    ::setenv("XDG_CONFIG_HOME", "/tmp/xdg-config", 1);
    EXPECT_EQ(applicationDataFolder(), "/tmp/xdg-data/MERIDAVOLT");
    EXPECT_EQ(applicationConfigFolder(), "/tmp/xdg-config/MERIDAVOLT");
    ::setenv("XDG_DATA_HOME", "relative/is/ignored", 1);
    ::setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(applicationDataFolder(), "/home/someone/.local/share/MERIDAVOLT");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(applicationConfigFolder(), "/home/someone/.config/MERIDAVOLT");
}

TEST(DataFileJSON, IsOneCompactLineWithSlashesEscaped)
{
    nlohmann::json value = {{"url", "https://example.com/a/b"}, {"n", 1.5}};
    EXPECT_EQ(encodeDataFileJSON(value), R"({"n":1.5,"url":"https:\/\/example.com\/a\/b"})");
    EXPECT_EQ(nlohmann::json::parse(encodeDataFileJSON(value)), value);
}

TEST(DataFileJSON, InvalidUTF8IsAnErrorNotACrash)
{
    nlohmann::json value = {{"name", std::string("\xc3\x28", 2)}};
    EXPECT_THROW(encodeDataFileJSON(value), nlohmann::json::type_error);
}
