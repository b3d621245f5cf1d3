#include "desktop/LayoutSettings.h"
#include "fakes/MemorySettings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace meridavolt;

namespace {

struct LayoutSettingsTest : ::testing::Test {
    fakes::MemorySettings store;
    LayoutSettings settings{store};
};

}  // namespace

TEST_F(LayoutSettingsTest, AnEmptyStoreReadsAsTheDefaultLayout)
{
    const auto values = settings.values();
    EXPECT_EQ(values.memoryPosition, "toolbar");
    EXPECT_TRUE(values.memoryVisible);
    EXPECT_EQ(values.memoryHeight, 78);
    EXPECT_EQ(values.railPosition, "right");
    EXPECT_TRUE(values.railVisible);
}

TEST_F(LayoutSettingsTest, AHandEditedHeightIsKeptWithinItsRangeOnRead)
{
    const std::pair<double, double> cases[] = {
        {-40, 54},
        {0, 54},
        {53.9, 54},
        {120, 120},
        {180.5, 180},
        {1e300, 180},
        {std::numeric_limits<double>::infinity(), 78},
        {-std::numeric_limits<double>::infinity(), 78},
        {std::numeric_limits<double>::quiet_NaN(), 78},
    };
    for (auto [stored, expected] : cases) {
        store.values[layout::memoryHeightKey] = stored;
        EXPECT_EQ(settings.values().memoryHeight, expected) << "stored " << stored;
    }
}

TEST_F(LayoutSettingsTest, AValueOfTheWrongTypeReadsAsTheDefault)
{
    store.values[layout::memoryHeightKey] = std::string("120");
    store.values[layout::memoryVisibleKey] = 0.0;
    store.values[layout::railPositionKey] = true;
    const auto values = settings.values();
    EXPECT_EQ(values.memoryHeight, 78);
    EXPECT_TRUE(values.memoryVisible);
    EXPECT_EQ(values.railPosition, "right");
}

TEST_F(LayoutSettingsTest, WritersStoreOnlyKnownPositionsAndHeightsInRange)
{
    settings.setMemoryPosition("top");
    settings.setMemoryPosition("left");
    settings.setRailPosition("bottom");
    settings.setRailPosition("toolbar");
    settings.setMemoryHeight(400);
    EXPECT_EQ(store.textValue(layout::memoryPositionKey), "top");
    EXPECT_EQ(store.textValue(layout::railPositionKey), "bottom");
    EXPECT_EQ(store.numberValue(layout::memoryHeightKey), 180);
}

TEST_F(LayoutSettingsTest, AnUnknownStoredPositionIsReadAsItStands)
{
    store.values[layout::memoryPositionKey] = std::string("sidebar");
    EXPECT_EQ(settings.values().memoryPosition, "sidebar");
}

TEST_F(LayoutSettingsTest, ResetRestoresAllFiveValuesIncludingHiddenPanels)
{
    store.values[layout::memoryPositionKey] = std::string("nowhere");
    store.values[layout::memoryVisibleKey] = false;
    store.values[layout::memoryHeightKey] = 150.0;
    store.values[layout::railPositionKey] = std::string("left");
    store.values[layout::railVisibleKey] = false;
    settings.reset();
    EXPECT_EQ(settings.values(), LayoutValues{});
    // Written, not merely defaulted: a later run reads the same layout.
    EXPECT_EQ(store.textValue(layout::memoryPositionKey), "toolbar");
    EXPECT_EQ(store.boolValue(layout::railVisibleKey), true);
}

TEST_F(LayoutSettingsTest, ChangesOfLayoutKeysAreAnnouncedAndOthersAreNot)
{
    int announcements = 0;
    auto connection = settings.changed.connect([&] { ++announcements; });
    store.setBool("clipboard.automatic", false);
    EXPECT_EQ(announcements, 0);
    settings.setRailVisible(false);
    store.setText(layout::memoryPositionKey, "bottom");  // another writer of the same key
    EXPECT_EQ(announcements, 2);
}

TEST(MemoryHeight, TheHandleGrowsTheStripTowardsTheWorkspaceInBothPositions)
{
    EXPECT_EQ(layout::resizedMemoryHeight(78, -30, "bottom"), 108);
    EXPECT_EQ(layout::resizedMemoryHeight(78, 30, "top"), 108);
    EXPECT_EQ(layout::resizedMemoryHeight(78, 30, "bottom"), 54);
    EXPECT_EQ(layout::resizedMemoryHeight(78, 500, "top"), 180);
    EXPECT_EQ(layout::resizedMemoryHeight(78, -500, "bottom"), 180);
    EXPECT_EQ(layout::resizedMemoryHeight(78, -500, "top"), 54);
}

TEST(MemoryHeight, TheAccessibilityStepsStopAtTheLimits)
{
    EXPECT_EQ(layout::clampedMemoryHeight(60 - layout::memoryHeightStep), 54);
    EXPECT_EQ(layout::clampedMemoryHeight(170 + layout::memoryHeightStep), 180);
    EXPECT_EQ(layout::clampedMemoryHeight(78 + layout::memoryHeightStep), 94);
}
