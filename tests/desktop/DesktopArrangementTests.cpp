#include "desktop/DesktopArrangement.h"

#include <gtest/gtest.h>

using namespace meridavolt;

TEST(DesktopArrangement, TheDefaultsPutTheShelfInTheToolbarAndTheBarAtTheRight)
{
    const auto arrangement = DesktopArrangement::from(LayoutValues{});
    EXPECT_TRUE(arrangement.memoryInToolbar);
    EXPECT_FALSE(arrangement.memoryAtTop || arrangement.memoryAtBottom);
    EXPECT_TRUE(arrangement.railAtRight);
    EXPECT_FALSE(arrangement.railAtLeft || arrangement.railAtBottom);
    EXPECT_FALSE(arrangement.showsHomeWord());
    EXPECT_FALSE(arrangement.railIsHorizontal());
}

TEST(DesktopArrangement, EachPositionPlacesItsPanelInExactlyOnePlace)
{
    LayoutValues values;
    values.memoryPosition = "top";
    values.railPosition = "left";
    auto arrangement = DesktopArrangement::from(values);
    EXPECT_TRUE(arrangement.memoryAtTop);
    EXPECT_FALSE(arrangement.memoryInToolbar || arrangement.memoryAtBottom);
    EXPECT_TRUE(arrangement.railAtLeft);
    EXPECT_TRUE(arrangement.showsHomeWord());

    values.memoryPosition = "bottom";
    values.railPosition = "bottom";
    arrangement = DesktopArrangement::from(values);
    EXPECT_TRUE(arrangement.memoryAtBottom);
    EXPECT_TRUE(arrangement.railAtBottom);
    EXPECT_TRUE(arrangement.railIsHorizontal());
    EXPECT_FALSE(arrangement.railAtLeft || arrangement.railAtRight);
}

TEST(DesktopArrangement, AHiddenPanelGoesNowhereWhateverItsPosition)
{
    LayoutValues values;
    values.memoryVisible = false;
    values.railVisible = false;
    EXPECT_EQ(DesktopArrangement::from(values), DesktopArrangement{});
    EXPECT_TRUE(DesktopArrangement::from(values).showsHomeWord());
}

TEST(DesktopArrangement, AnUnknownStoredPositionPlacesItsPanelNowhere)
{
    LayoutValues values;
    values.memoryPosition = "Top";
    values.railPosition = "";
    EXPECT_EQ(DesktopArrangement::from(values), DesktopArrangement{});
}

TEST(Docking, TheMemoryDocksByHeightWithStrictBoundaries)
{
    const Size size{1000, 600};
    EXPECT_EQ(destination(Panel::memory, {500, 69}, size), "toolbar");
    EXPECT_EQ(destination(Panel::memory, {500, 70}, size), "top");
    EXPECT_EQ(destination(Panel::memory, {500, 299.9}, size), "top");
    EXPECT_EQ(destination(Panel::memory, {500, 300}, size), "bottom");
    EXPECT_EQ(destination(Panel::memory, {0, 0}, size), "toolbar");
}

TEST(Docking, TheBarDocksAtTheBottomWithinNinetyPointsWhateverTheSide)
{
    const Size size{1000, 600};
    EXPECT_EQ(destination(Panel::rail, {0, 511}, size), "bottom");
    EXPECT_EQ(destination(Panel::rail, {1000, 600}, size), "bottom");
    EXPECT_EQ(destination(Panel::rail, {10, 510}, size), "left");
    EXPECT_EQ(destination(Panel::rail, {499.9, 100}, size), "left");
    EXPECT_EQ(destination(Panel::rail, {500, 100}, size), "right");
}

TEST(Docking, AReleaseOutsideTheContentOrBeforeItWasMeasuredDocksNowhere)
{
    const Size size{1000, 600};
    EXPECT_EQ(destination(Panel::rail, {-1, 100}, size), std::nullopt);
    EXPECT_EQ(destination(Panel::rail, {1000.5, 100}, size), std::nullopt);
    EXPECT_EQ(destination(Panel::memory, {500, -0.5}, size), std::nullopt);
    EXPECT_EQ(destination(Panel::memory, {500, 600.5}, size), std::nullopt);
    EXPECT_EQ(destination(Panel::memory, {0, 0}, Size{}), std::nullopt);
}
