#include "platform/DataFolder.h"
#include "platform/FileError.h"
#include "platform/Files.h"
#include "platform/Json.h"

#include "fakes/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>

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
