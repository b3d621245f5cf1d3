#include "desktop/ServiceDragText.h"
#include "desktop/ServiceRail.h"

#include <gtest/gtest.h>

using namespace meridavolt;

namespace {

// A vertical bar A, B, C with 60-point buttons 4 points apart.
ServiceRailGeometry verticalBar(double visibleLength = 400)
{
    return ServiceRailGeometry(false,
                               {{"a", Rect{4, 4, 74, 60}}, {"b", Rect{4, 68, 74, 60}}, {"c", Rect{4, 132, 74, 60}}},
                               visibleLength);
}

const std::vector<std::string> order{"a", "b", "c"};

}  // namespace

TEST(InsertionTarget, APositionGoesBeforeTheFirstButtonWhoseMiddleLiesBeyondIt)
{
    const auto bar = verticalBar();
    EXPECT_EQ(bar.insertionTarget(20, order), "a");   // above the middle of A (34)
    EXPECT_EQ(bar.insertionTarget(34, order), "b");   // exactly on A's middle is past it
    EXPECT_EQ(bar.insertionTarget(170, order), std::nullopt);  // below the middle of C: the end
    EXPECT_EQ(bar.insertionTarget(161.9, order), "c");
}

TEST(InsertionTarget, ButtonsWithoutAFrameAreSkipped)
{
    ServiceRailGeometry bar(false, {{"b", Rect{4, 68, 74, 60}}}, 400);
    EXPECT_EQ(bar.insertionTarget(0, order), "b");
    EXPECT_EQ(bar.insertionTarget(100, order), std::nullopt);
}

TEST(InsertionTarget, AHorizontalBarMeasuresAlongItsWidth)
{
    ServiceRailGeometry bar(true, {{"a", Rect{4, 4, 60, 68}}, {"b", Rect{68, 4, 60, 68}}}, 800);
    EXPECT_EQ(bar.insertionTarget(40, {"a", "b"}), "b");
    EXPECT_EQ(bar.mainAxis(Point{40, 500}), 40);
}

TEST(ReorderDrop, IsAcceptedOnlyOverTheVisibleBar)
{
    const auto bar = verticalBar(300);
    EXPECT_TRUE(bar.acceptsDrop({0, 0}));
    EXPECT_TRUE(bar.acceptsDrop({82, 300}));
    EXPECT_FALSE(bar.acceptsDrop({-100, 50}));  // a hundred points to the side
    EXPECT_FALSE(bar.acceptsDrop({82.5, 50}));
    EXPECT_FALSE(bar.acceptsDrop({40, -1}));
    EXPECT_FALSE(bar.acceptsDrop({40, 300.5}));
}

TEST(ReorderDrop, TheCrossBoundIsTheSameWhenTheBarLiesAlongTheBottom)
{
    ServiceRailGeometry bar(true, {}, 900);
    EXPECT_TRUE(bar.acceptsDrop({899, 82}));
    EXPECT_FALSE(bar.acceptsDrop({899, 83}));
    EXPECT_FALSE(bar.acceptsDrop({901, 10}));
}

TEST(ServiceClick, ControlOrARunningReorderIgnoresTheClickAndAltShowsTheSheet)
{
    EXPECT_EQ(serviceClick({}, false), ServiceClick::activate);
    EXPECT_EQ(serviceClick({.control = false, .alt = true}, false), ServiceClick::showQuickActions);
    EXPECT_EQ(serviceClick({.control = true, .alt = true}, false), ServiceClick::ignore);
    EXPECT_EQ(serviceClick({.control = false, .alt = true}, true), ServiceClick::ignore);
}

TEST(ServiceHelp, OnlyTheFirstServiceMentionsTheStartUp)
{
    EXPECT_EQ(serviceHelpText("YouTube", true), "YouTube · 起動時に開く · Ctrlドラッグで並べ替え");
    EXPECT_EQ(serviceHelpText("X", false), "X · Ctrlドラッグで並べ替え");
}

TEST(ServiceDragText, CarriesTheIdRightAfterThePrefix)
{
    EXPECT_EQ(serviceDragText("youtube"), "meridavolt-service:youtube");
    EXPECT_EQ(serviceIDFromDragText(serviceDragText("6F9619FF-8B86-D011-B42D-00CF4FC964FF")),
              "6F9619FF-8B86-D011-B42D-00CF4FC964FF");
}

TEST(ServiceDragText, OnlyTheExactPrefixIsRead)
{
    EXPECT_EQ(serviceIDFromDragText("MERIDAVOLT-service:x"), std::nullopt);
    EXPECT_EQ(serviceIDFromDragText(" meridavolt-service:x"), std::nullopt);
    EXPECT_EQ(serviceIDFromDragText("meridavolt-service"), std::nullopt);
    EXPECT_EQ(serviceIDFromDragText("https://example.com"), std::nullopt);
    EXPECT_EQ(serviceIDFromDragText(""), std::nullopt);
}

TEST(ServiceDragText, AnEmptyIdIsReadAsEmptyAndKeepsWhatFollowsThePrefix)
{
    EXPECT_EQ(serviceIDFromDragText("meridavolt-service:"), "");
    EXPECT_EQ(serviceIDFromDragText("meridavolt-service:x y\n"), "x y\n");
}
