#include "ModelSamples.h"
#include "model/ServiceSwitchHistory.h"
#include "model/StartupSelection.h"

#include <gtest/gtest.h>

namespace meridavolt {
namespace {

TEST(StartupSelectionTests, finishingReturnsTheFirstServiceOnlyOnce)
{
    StartupSelection selection;
    EXPECT_TRUE(selection.pending);
    EXPECT_EQ(selection.finish({samples::service("a"), samples::service("b")}), "a");
    EXPECT_FALSE(selection.pending);
    EXPECT_EQ(selection.finish({samples::service("a")}), std::nullopt);
}

TEST(StartupSelectionTests, finishingWithAnEmptyLibraryEndsTheChoice)
{
    StartupSelection selection;
    EXPECT_EQ(selection.finish({}), std::nullopt);
    EXPECT_FALSE(selection.pending);
    EXPECT_EQ(selection.finish({samples::service("a")}), std::nullopt);
}

TEST(StartupSelectionTests, aCancelledChoiceOpensNothing)
{
    StartupSelection selection;
    selection.cancel();
    EXPECT_EQ(selection.finish({samples::service("a")}), std::nullopt);
}

TEST(ServiceSwitchHistoryTests, visitsRemovalsAndNoPromotion)
{
    ServiceSwitchHistory history;
    history.visit("a");
    EXPECT_EQ(history.current, "a");
    EXPECT_EQ(history.previous, std::nullopt);
    history.visit("b");
    history.visit("b");
    EXPECT_EQ(history.current, "b");
    EXPECT_EQ(history.previous, "a");

    history.remove("b");
    EXPECT_EQ(history.current, std::nullopt);
    EXPECT_EQ(history.previous, "a");

    history.visit("c");
    EXPECT_EQ(history.current, "c");
    EXPECT_EQ(history.previous, std::nullopt);
}

TEST(ServiceSwitchHistoryTests, removingThePreviousServiceKeepsTheCurrentOne)
{
    ServiceSwitchHistory history;
    history.visit("a");
    history.visit("b");
    history.remove("a");
    EXPECT_EQ(history.current, "b");
    EXPECT_EQ(history.previous, std::nullopt);
    history.remove("unknown");
    EXPECT_EQ(history.current, "b");
}

}  // namespace
}  // namespace meridavolt
