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
