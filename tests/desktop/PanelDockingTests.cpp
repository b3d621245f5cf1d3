#include "desktop/PanelDocking.h"
#include "fakes/MemorySettings.h"

#include <gtest/gtest.h>

using namespace meridavolt;

namespace {

struct PanelDockingTest : ::testing::Test {
    fakes::MemorySettings store;
    LayoutSettings settings{store};
    PanelDocking docking{settings};
    const Size size{1120, 700};
};

}  // namespace

TEST_F(PanelDockingTest, TheDestinationFollowsTheGripAndIsStoredOnRelease)
{
    docking.move(Panel::memory, {300, 200}, size);
    EXPECT_EQ(docking.movingPanel(), Panel::memory);
    EXPECT_EQ(docking.panelDestination(), "top");
    docking.move(Panel::memory, {300, 650}, size);
    EXPECT_EQ(docking.panelDestination(), "bottom");
    docking.release(Panel::memory, {300, 69}, size);
    EXPECT_EQ(settings.values().memoryPosition, "toolbar");
    EXPECT_EQ(store.textValue(layout::memoryPositionKey), "toolbar");
    EXPECT_EQ(docking.movingPanel(), std::nullopt);
    EXPECT_EQ(docking.panelDestination(), std::nullopt);
}

TEST_F(PanelDockingTest, TheBarDocksInTheBottomNinetyPointsWhateverTheSide)
{
    docking.release(Panel::rail, {10, 611}, size);
    EXPECT_EQ(settings.values().railPosition, "bottom");
    docking.release(Panel::rail, {560, 610}, size);
    EXPECT_EQ(settings.values().railPosition, "right");
    docking.release(Panel::rail, {559, 610}, size);
    EXPECT_EQ(settings.values().railPosition, "left");
}

TEST_F(PanelDockingTest, AReleaseOutsideTheWindowChangesNothingAndRemovesTheHints)
{
    docking.move(Panel::rail, {100, 100}, size);
    int changes = 0;
    auto connection = docking.changed.connect([&] { ++changes; });
    docking.release(Panel::rail, {-5, 100}, size);
    EXPECT_FALSE(store.textValue(layout::railPositionKey).has_value());
    EXPECT_EQ(docking.movingPanel(), std::nullopt);
    EXPECT_EQ(changes, 1);
}

TEST_F(PanelDockingTest, AGripReleasedBeforeTheContentWasMeasuredChangesNothing)
{
    docking.release(Panel::memory, {0, 0}, Size{});
    EXPECT_FALSE(store.textValue(layout::memoryPositionKey).has_value());
}

TEST_F(PanelDockingTest, ACancelledDragClearsTheHints)
{
    docking.move(Panel::memory, {300, 10}, size);
    docking.cancel();
    EXPECT_EQ(docking.movingPanel(), std::nullopt);
    EXPECT_EQ(docking.panelDestination(), std::nullopt);
}

TEST_F(PanelDockingTest, AHiddenMemoryShownAgainKeepsItsPositionAndHeight)
{
    settings.setMemoryPosition("bottom");
    settings.setMemoryHeight(120);
    settings.setMemoryVisible(false);
    settings.setMemoryVisible(true);
    EXPECT_EQ(settings.values().memoryPosition, "bottom");
    EXPECT_EQ(settings.values().memoryHeight, 120);
}

TEST_F(PanelDockingTest, AResizeDragCountsFromTheHeightAtItsStart)
{
    MemoryResize resize(settings);
    settings.setMemoryPosition("bottom");
    resize.change(-10);
    resize.change(-30);  // the translation is from the drag's start, not the last step
    EXPECT_EQ(settings.values().memoryHeight, 108);
    resize.change(-500);
    EXPECT_EQ(settings.values().memoryHeight, 180);
    resize.end();
    EXPECT_FALSE(resize.isResizing());
    resize.change(200);
    EXPECT_EQ(settings.values().memoryHeight, 54);
}

TEST_F(PanelDockingTest, TheAccessibilityStepsMoveSixteenPointsWithinTheLimits)
{
    MemoryResize resize(settings);
    settings.setMemoryHeight(60);
    resize.decrement();
    EXPECT_EQ(settings.values().memoryHeight, 54);
    resize.increment();
    EXPECT_EQ(settings.values().memoryHeight, 70);
    settings.setMemoryHeight(175);
    resize.increment();
    EXPECT_EQ(settings.values().memoryHeight, 180);
}
