#include "platform/SettingsFile.h"

#include "fakes/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

using namespace meridavolt;
using meridavolt::fakes::readBytes;
using meridavolt::fakes::TemporaryFolder;
using meridavolt::fakes::writeBytes;

TEST(SettingsFile, MissingFileReadsAsEmptyAndFirstChangeCreatesFolderAndFile)
{
    TemporaryFolder folder;
    auto path = folder / "config/MERIDAVOLT/settings.json";
    SettingsFile settings(path);
    EXPECT_TRUE(settings.isReadable());
    EXPECT_FALSE(settings.boolValue("clipboard.automatic"));
    settings.setBool("clipboard.automatic", false);
    ASSERT_TRUE(std::filesystem::exists(path));

    SettingsFile reread(path);
    EXPECT_EQ(reread.boolValue("clipboard.automatic"), false);
}

TEST(SettingsFile, ValuesOfEachTypeSurviveAReopen)
{
    TemporaryFolder folder;
    auto path = folder / "settings.json";
    {
        SettingsFile settings(path);
        settings.setBool("mac.railVisible", true);
        settings.setNumber("mac.memoryHeight", 96.5);
        settings.setText("mac.railPosition", "left");
        settings.setText("gone", "x");
        settings.remove("gone");
    }
    SettingsFile settings(path);
    EXPECT_EQ(settings.boolValue("mac.railVisible"), true);
    EXPECT_EQ(settings.numberValue("mac.memoryHeight"), 96.5);
    EXPECT_EQ(settings.textValue("mac.railPosition"), "left");
    EXPECT_FALSE(settings.textValue("gone"));
}

TEST(SettingsFile, AValueOfAnotherTypeReadsAsAbsent)
{
    TemporaryFolder folder;
    auto path = folder / "settings.json";
    writeBytes(path, R"({"mac.memoryHeight":"tall","mac.railVisible":1,"youtubeAdBlocking":null})");
    SettingsFile settings(path);
    EXPECT_TRUE(settings.isReadable());
    EXPECT_FALSE(settings.numberValue("mac.memoryHeight"));
    EXPECT_FALSE(settings.boolValue("mac.railVisible"));
    EXPECT_FALSE(settings.boolValue("youtubeAdBlocking"));
}

TEST(SettingsFile, AnUnreadableFileIsNeverOverwrittenDuringTheRun)
{
    for (std::string damaged : {std::string("{\"a\": tru"), std::string("[1,2]"), std::string("\xff\xfe{}", 4)}) {
        TemporaryFolder folder;
        auto path = folder / "settings.json";
        writeBytes(path, damaged);
        SettingsFile settings(path);
        EXPECT_FALSE(settings.isReadable());
        settings.setBool("embeddedYouTubeDefault.v1", true);
        EXPECT_EQ(settings.boolValue("embeddedYouTubeDefault.v1"), true) << "kept in memory for the run";
        EXPECT_EQ(readBytes(path), damaged);
    }
}

TEST(SettingsFile, NestingTooDeepToWriteBackCountsAsUnreadable)
{
    TemporaryFolder folder;
    auto path = folder / "settings.json";
    const std::string deep = R"({"x":)" + std::string(100000, '[') + std::string(100000, ']') + "}";
    writeBytes(path, deep);
    SettingsFile settings(path);
    EXPECT_FALSE(settings.isReadable());
    settings.setBool("embeddedYouTubeDefault.v1", true);
    EXPECT_EQ(readBytes(path), deep);

    const std::string nested = R"({"x":)" + std::string(200, '[') + std::string(200, ']') + R"(,"y":true})";
    writeBytes(path, nested);
    SettingsFile readable(path);
    EXPECT_EQ(readable.boolValue("y"), true);
}

TEST(SettingsFile, WritesCompactlyAndNeverAFileTheReaderWouldRefuse)
{
    TemporaryFolder folder;
    auto path = folder / "settings.json";
    auto list = [](const std::string& item, std::size_t count) {
        std::string text = R"({"junk":[)";
        for (std::size_t i = 0; i < count; ++i) text += item + ",";
        return text + "0]}";
    };
    // 2.7 MB that indenting would blow up past the reader's cap.
    writeBytes(path, list("12345678", 300'000));
    SettingsFile(path).setBool("x", true);
    SettingsFile reread(path);
    EXPECT_TRUE(reread.isReadable());
    EXPECT_EQ(reread.boolValue("x"), true);
    EXPECT_LT(std::filesystem::file_size(path), 2'800'000u);

    // Numbers that grow when written again ("1.0e+009" becomes
    // "1000000000.0"): the write is refused, the old file stays readable.
    const std::string growing = list("1.0e+009", 400'000);
    writeBytes(path, growing);
    SettingsFile settings(path);
    ASSERT_TRUE(settings.isReadable());
    settings.setBool("x", true);
    EXPECT_FALSE(settings.lastWriteSucceeded());
    EXPECT_EQ(settings.boolValue("x"), true);
    EXPECT_EQ(readBytes(path), growing);
}

TEST(SettingsFile, ChangesAreAnnouncedWithTheirKey)
{
    TemporaryFolder folder;
    SettingsFile settings(folder / "settings.json");
    std::vector<std::string> keys;
    auto connection = settings.changed.connect([&](const std::string& key) { keys.push_back(key); });
    settings.setNumber("mac.memoryHeight", 80);
    settings.remove("mac.memoryHeight");
    settings.remove("never-set");
    EXPECT_EQ(keys, (std::vector<std::string>{"mac.memoryHeight", "mac.memoryHeight"}));
}

TEST(SettingsFile, AFailedWriteKeepsTheValueInMemoryAndReportsIt)
{
    TemporaryFolder folder;
    SettingsFile settings(folder / "blocker/settings.json");
    ASSERT_TRUE(settings.isReadable());
    writeBytes(folder / "blocker", "a file where the folder should be");
    settings.setBool("x", true);
    EXPECT_FALSE(settings.lastWriteSucceeded());
    EXPECT_EQ(settings.boolValue("x"), true);
    settings.remove("x");
    EXPECT_FALSE(settings.boolValue("x"));
}
