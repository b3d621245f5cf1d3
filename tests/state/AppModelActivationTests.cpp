#include "AppModelHarness.h"

#include <gtest/gtest.h>

namespace meridavolt {
namespace {

using testing::AppModelHarness;
using testing::idsOf;
using testing::makeService;
using Ids = std::vector<std::string>;

class Activation : public ::testing::Test {
protected:
    Activation() : model(harness.start()) {}
    AppModelHarness harness;
    AppModel& model;
};

TEST_F(Activation, KeepsTheThreeMostRecentMountedAndEverySessionAlive)
{
    for (const char* id : {"a", "b", "c", "d"}) harness.activate(id);
    EXPECT_EQ(model.mountedIDs(), (Ids{"b", "c", "d"}));
    EXPECT_EQ(model.sessions().size(), 4u);
    EXPECT_EQ(harness.engine("a").loads, (Ids{"https://a.example/"}));

    harness.activate("a");
    EXPECT_EQ(model.mountedIDs(), (Ids{"c", "d", "a"}));
    EXPECT_EQ(model.sessions().size(), 4u);
    EXPECT_EQ(harness.engine("a").loads.size(), 1u);
    EXPECT_EQ(harness.engine("a").reloadCount, 0);
    EXPECT_EQ(model.selectedID(), "a");
    EXPECT_EQ(model.focusedPaneID(), "a");
}

TEST_F(Activation, MountedServicesFollowTheLibraryOrder)
{
    for (const char* id : {"d", "a", "c"}) harness.activate(id);
    EXPECT_EQ(idsOf(model.mountedServices()), (Ids{"a", "c", "d"}));
    EXPECT_EQ(model.selected()->id, "c");
}

TEST_F(Activation, LeavingAServicePausesItsMediaOnly)
{
    harness.activate("a");
    harness.activate("b");
    EXPECT_EQ(harness.pauses("a"), 1);
    EXPECT_EQ(harness.pauses("b"), 0);
    EXPECT_EQ(model.switchHistory().previous, "a");
    EXPECT_EQ(model.previousService()->id, "a");
}

TEST_F(Activation, TheSelectedServiceAgainChangesNothingButLoadsAGivenPage)
{
    harness.activate("a");
    harness.activate("b");
    harness.activate("b");
    EXPECT_EQ(model.switchHistory().previous, "a");
    EXPECT_EQ(harness.pauses("b"), 0);
    EXPECT_EQ(model.mountedIDs(), (Ids{"a", "b"}));

    model.activate(harness.service("b"), "https://b.example/inner");
    EXPECT_EQ(harness.engine("b").loads, (Ids{"https://b.example/", "https://b.example/inner"}));
}

TEST_F(Activation, APageForAServiceWithoutSessionLoadsTheHomePageFirst)
{
    model.activate(harness.service("c"), "https://c.example/page");
    EXPECT_EQ(harness.engine("c").loads, (Ids{"https://c.example/", "https://c.example/page"}));
}

TEST_F(Activation, TheServiceInTheSecondPaneBecomesPrimaryAndThePrimaryIsPaused)
{
    harness.activate("a");
    model.openBeside(harness.service("b"), false);
    harness.activate("b");
    EXPECT_FALSE(model.secondaryID());
    EXPECT_EQ(model.selectedID(), "b");
    EXPECT_EQ(harness.pauses("a"), 1);
    EXPECT_EQ(harness.pauses("b"), 0);
}

TEST_F(Activation, AnOutsideServiceIsHandedToTheDesktopAndTheViewStays)
{
    harness.activate("a");
    harness.activate("b");
    Service outside = makeService("mail", LaunchMode::external);
    model.activate(outside);
    EXPECT_EQ(harness.workspace.opened, (Ids{"https://mail.example/"}));
    EXPECT_EQ(harness.pauses("b"), 1);
    EXPECT_EQ(model.selectedID(), "b");
    EXPECT_EQ(model.focusedPaneID(), "b");
    EXPECT_EQ(model.mountedIDs(), (Ids{"a", "b"}));
    EXPECT_EQ(model.switchHistory().current, "mail");
    EXPECT_EQ(model.switchHistory().previous, "b");
    EXPECT_EQ(model.sessions().count("mail"), 0u);

    model.activate(outside, "https://mail.example/inbox");
    EXPECT_EQ(harness.workspace.opened.back(), "https://mail.example/inbox");
}

TEST_F(Activation, TheHomeButtonEmptiesTheSelectionAndPausesThePage)
{
    harness.activate("a");
    int notified = 0;
    auto connection = model.selectedIDChanged.connect([&] { ++notified; });
    model.setSelectedID(std::nullopt);
    EXPECT_EQ(harness.pauses("a"), 1);
    EXPECT_EQ(notified, 1);
    EXPECT_FALSE(model.selected());
}

class Split : public Activation {};

TEST_F(Split, AnOutsideServiceIsRefusedWithAMessage)
{
    harness.activate("a");
    model.openBeside(makeService("mail", LaunchMode::external), false);
    EXPECT_EQ(model.error(), "このサービスは外部アプリで開くため、2画面表示にはできません");
    EXPECT_FALSE(model.secondaryID());
    EXPECT_EQ(model.selectedID(), "a");
}

TEST_F(Split, WithNothingSelectedItActivates)
{
    model.openBeside(harness.service("c"), true);
    EXPECT_EQ(model.selectedID(), "c");
    EXPECT_EQ(model.mountedIDs(), (Ids{"c"}));
    EXPECT_FALSE(model.secondaryID());
    EXPECT_FALSE(model.startupSelection().pending);
}

TEST_F(Split, TheSelectedServiceIsNeverBesideItself)
{
    harness.activate("a");
    model.openBeside(harness.service("a"), false);
    EXPECT_FALSE(model.secondaryID());
}

TEST_F(Split, OnTheRightItReplacesTheSecondPaneAndPausesTheOneThatLeft)
{
    harness.activate("a");
    model.openBeside(harness.service("b"), false);
    EXPECT_EQ(model.secondaryID(), "b");
    EXPECT_EQ(model.focusedPaneID(), "b");
    EXPECT_EQ(model.selectedID(), "a");
    EXPECT_EQ(harness.engine("b").loads, (Ids{"https://b.example/"}));
    EXPECT_EQ(model.mountedIDs(), (Ids{"a"}));
    EXPECT_EQ(model.switchHistory().current, "a");

    model.openBeside(harness.service("c"), false);
    EXPECT_EQ(model.secondaryID(), "c");
    EXPECT_EQ(harness.pauses("b"), 1);
    EXPECT_EQ(harness.pauses("a"), 0);
}

TEST_F(Split, OnTheLeftTheCurrentServiceMovesRightWithoutPausing)
{
    harness.activate("a");
    model.openBeside(harness.service("b"), true);
    EXPECT_EQ(model.selectedID(), "b");
    EXPECT_EQ(model.secondaryID(), "a");
    EXPECT_EQ(model.focusedPaneID(), "b");
    EXPECT_EQ(harness.pauses("a"), 0);
    // The new selection is shown without being mounted.
    EXPECT_EQ(model.mountedIDs(), (Ids{"a"}));
}

TEST_F(Split, OnTheLeftWithTheSecondPaneServiceSwapsBothPanesWithoutPausing)
{
    harness.activate("a");
    model.openBeside(harness.service("b"), false);
    model.openBeside(harness.service("b"), true);
    EXPECT_EQ(model.selectedID(), "b");
    EXPECT_EQ(model.secondaryID(), "a");
    EXPECT_EQ(harness.pauses("a"), 0);
    EXPECT_EQ(harness.pauses("b"), 0);
}

TEST_F(Split, ClosingPausesTheSecondPaneAndFocusesThePrimary)
{
    harness.activate("a");
    model.openBeside(harness.service("b"), false);
    model.closeSplit();
    EXPECT_FALSE(model.secondaryID());
    EXPECT_EQ(model.focusedPaneID(), "a");
    EXPECT_EQ(harness.pauses("b"), 1);

    model.setFocusedPaneID(std::nullopt);
    model.closeSplit();
    EXPECT_EQ(model.focusedPaneID(), "a");
    EXPECT_EQ(harness.pauses("a"), 0);
}

}  // namespace
}  // namespace meridavolt
