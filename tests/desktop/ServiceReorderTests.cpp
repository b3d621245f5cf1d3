#include "AppModelHarness.h"
#include "desktop/ServiceReorder.h"

#include <gtest/gtest.h>

using namespace meridavolt;
using desktoptest::AppModelHarness;

namespace {

struct ServiceReorderTest : ::testing::Test {
    AppModelHarness harness{
        {AppModelHarness::service("a"), AppModelHarness::service("b"), AppModelHarness::service("c")}};
    ServiceReorder reorder{*harness.model};
    // A vertical bar: A at 4…64, B at 68…128, C at 132…192.
    ServiceRailGeometry bar{
        false, {{"a", Rect{4, 4, 74, 60}}, {"b", Rect{4, 68, 74, 60}}, {"c", Rect{4, 132, 74, 60}}}, 500};
};

}  // namespace

TEST_F(ServiceReorderTest, DraggingCAboveTheMiddleOfAPutsItFirstAndSaves)
{
    reorder.move("c", {40, 150}, bar);
    reorder.move("c", {40, 20}, bar);
    EXPECT_EQ(reorder.draggedID(), "c");
    EXPECT_EQ(reorder.dropBeforeID(), "a");
    EXPECT_TRUE(reorder.showsMarkerBefore("a"));
    EXPECT_TRUE(reorder.release("c", {40, 20}, bar));
    EXPECT_EQ(harness.libraryIDs(), (std::vector<std::string>{"c", "a", "b"}));
    EXPECT_EQ(harness.repository->saves, 1);
    EXPECT_EQ(reorder.draggedID(), std::nullopt);
}

TEST_F(ServiceReorderTest, DraggingBBelowTheMiddleOfCPutsItLast)
{
    reorder.move("b", {40, 180}, bar);
    EXPECT_TRUE(reorder.showsMarkerAfterLast());
    reorder.release("b", {40, 180}, bar);
    EXPECT_EQ(harness.libraryIDs(), (std::vector<std::string>{"a", "c", "b"}));
}

TEST_F(ServiceReorderTest, DroppingCBelowItsOwnMiddleChangesAndSavesNothing)
{
    EXPECT_FALSE(reorder.release("c", {40, 170}, bar));
    EXPECT_EQ(harness.libraryIDs(), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(harness.repository->saves, 0);
}

TEST_F(ServiceReorderTest, DroppingBesideTheBarDoesNothingAndRemovesTheMarker)
{
    reorder.move("c", {40, 20}, bar);
    EXPECT_FALSE(reorder.release("c", {140, 20}, bar));
    EXPECT_EQ(harness.libraryIDs(), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(reorder.draggedID(), std::nullopt);
    EXPECT_FALSE(reorder.showsMarkerBefore("a"));
    EXPECT_FALSE(reorder.showsMarkerAfterLast());
}

TEST_F(ServiceReorderTest, AReorderDragEndsThePendingStartupChoice)
{
    reorder.move("b", {40, 20}, bar);
    reorder.cancel();
    EXPECT_FALSE(harness.model->startupSelection().pending);
    harness.model->finishStartup();
    EXPECT_EQ(harness.model->selectedID(), std::nullopt);
    EXPECT_EQ(reorder.draggedID(), std::nullopt);
}
