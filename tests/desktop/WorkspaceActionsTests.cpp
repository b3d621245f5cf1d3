#include "AppModelHarness.h"
#include "desktop/ServiceDragText.h"
#include "desktop/WorkspaceActions.h"

#include <gtest/gtest.h>

using namespace meridavolt;
using desktoptest::AppModelHarness;

namespace {

struct WorkspaceActionsTest : ::testing::Test {
    AppModelHarness harness{{AppModelHarness::service("a"), AppModelHarness::service("b"),
                             AppModelHarness::service("c"), AppModelHarness::service("ext", LaunchMode::external)}};
    AppModel& model = *harness.model;

    const Service& service(const std::string& id)
    {
        for (const auto& candidate : model.library().services)
            if (candidate.id == id) return candidate;
        throw std::runtime_error("no service " + id);
    }
};

}  // namespace

TEST_F(WorkspaceActionsTest, ReorderingMovesTheServiceAndSavesTheLibraryOnce)
{
    EXPECT_TRUE(actions::reorderService(model, "c", std::string("a")));
    EXPECT_EQ(harness.libraryIDs(), (std::vector<std::string>{"c", "a", "b", "ext"}));
    EXPECT_EQ(harness.repository->saves, 1);
    EXPECT_EQ(harness.repository->stored->services.front().id, "c");
}

TEST_F(WorkspaceActionsTest, AReorderOntoItsOwnPlaceChangesAndWritesNothing)
{
    EXPECT_FALSE(actions::reorderService(model, "b", std::string("c")));
    EXPECT_FALSE(actions::reorderService(model, "ext", std::nullopt));
    EXPECT_FALSE(actions::reorderService(model, "gone", std::string("a")));
    EXPECT_EQ(harness.libraryIDs(), (std::vector<std::string>{"a", "b", "c", "ext"}));
    EXPECT_EQ(harness.repository->saves, 0);
}

TEST_F(WorkspaceActionsTest, MovingToTheTopMakesTheServiceTheStartupService)
{
    actions::performMenuItem(model, service("c"), serviceContextMenu(service("c"), false).back());
    EXPECT_EQ(harness.libraryIDs().front(), "c");
    EXPECT_EQ(harness.repository->saves, 1);
}

TEST_F(WorkspaceActionsTest, ADraggedServiceOpensBesideOnTheSideOfItsStrip)
{
    actions::clickService(model, service("a"), {}, false);
    actions::openDraggedService(model, serviceDragText("b"), false);
    EXPECT_EQ(model.selectedID(), "a");
    EXPECT_EQ(model.secondaryID(), "b");

    actions::openDraggedService(model, serviceDragText("c"), true);
    EXPECT_EQ(model.selectedID(), "c");
    EXPECT_EQ(model.secondaryID(), "a");
}

TEST_F(WorkspaceActionsTest, DraggedTextsThatNameNoServiceDoNothing)
{
    actions::clickService(model, service("a"), {}, false);
    for (const char* text : {"meridavolt-service:", "meridavolt-service:zz", "Meridavolt-service:b", "b"}) {
        actions::openDraggedService(model, text, false);
        EXPECT_EQ(model.secondaryID(), std::nullopt) << text;
    }
    EXPECT_EQ(model.error(), std::nullopt);
}

TEST_F(WorkspaceActionsTest, AltClickShowsTheQuickActionsWithoutOpeningAndControlClickDoesNothing)
{
    actions::clickService(model, service("b"), {.control = true, .alt = false}, false);
    EXPECT_EQ(model.selectedID(), std::nullopt);
    EXPECT_EQ(model.quickService(), std::nullopt);

    actions::clickService(model, service("b"), {.control = false, .alt = true}, false);
    EXPECT_EQ(model.selectedID(), std::nullopt);
    ASSERT_TRUE(model.quickService());
    EXPECT_EQ(model.quickService()->id, "b");
    EXPECT_FALSE(model.startupSelection().pending);
}

TEST_F(WorkspaceActionsTest, HomeClosesTheSplitEmptiesTheWorkspaceAndKeepsThePanesMounted)
{
    actions::clickService(model, service("a"), {}, false);
    actions::clickService(model, service("b"), {}, false);
    actions::performMenuItem(model, service("c"), {ServiceMenuItem::Kind::openRight, "", std::nullopt, true});
    ASSERT_EQ(model.secondaryID(), "c");

    actions::goHome(model);
    EXPECT_EQ(model.secondaryID(), std::nullopt);
    EXPECT_EQ(model.selectedID(), std::nullopt);
    EXPECT_EQ(model.focusedPaneID(), std::nullopt);
    EXPECT_EQ(model.mountedIDs(), (std::vector<std::string>{"a", "b"}));
}

TEST_F(WorkspaceActionsTest, HomeDuringTheStartupAnimationKeepsItsEndFromOpeningAService)
{
    actions::goHome(model);
    model.finishStartup();
    EXPECT_EQ(model.selectedID(), std::nullopt);
}

TEST_F(WorkspaceActionsTest, BackReturnsToThePreviousService)
{
    actions::returnToPreviousService(model);
    EXPECT_EQ(model.selectedID(), std::nullopt);
    actions::clickService(model, service("a"), {}, false);
    actions::clickService(model, service("b"), {}, false);
    actions::returnToPreviousService(model);
    EXPECT_EQ(model.selectedID(), "a");
}

TEST_F(WorkspaceActionsTest, OpeningASheetCancelsThePendingStartupChoice)
{
    actions::showWorkSets(model);
    EXPECT_TRUE(model.showingWorkSets());
    EXPECT_FALSE(model.startupSelection().pending);
    model.finishStartup();
    EXPECT_EQ(model.selectedID(), std::nullopt);
}
