#include "desktop/PaneSet.h"

#include <gtest/gtest.h>

using namespace meridavolt;

namespace {

const std::vector<std::string> library{"a", "b", "c", "d"};

}  // namespace

TEST(PaneSet, WithNoSelectionTheStartupMarkShowsAndEveryMountedPaneIsHidden)
{
    const auto set = PaneSet::from(std::nullopt, std::nullopt, {"b", "a"}, library);
    EXPECT_TRUE(set.showsStartupMark);
    ASSERT_EQ(set.primary.size(), 2u);
    for (const auto& pane : set.primary) EXPECT_FALSE(pane.visible) << pane.serviceID;
    EXPECT_EQ(set.visiblePrimaryID(), std::nullopt);
}

TEST(PaneSet, MountedPanesFollowTheLibraryOrderAndOnlyTheSelectedOneShows)
{
    const auto set = PaneSet::from("c", std::nullopt, {"c", "a", "d"}, library);
    EXPECT_FALSE(set.showsStartupMark);
    EXPECT_EQ(set.primary, (std::vector<PrimaryPane>{{"a", false, false}, {"c", true, false}, {"d", false, false}}));
}

TEST(PaneSet, ASwitchBetweenMountedServicesKeepsTheSamePanes)
{
    const auto before = PaneSet::from("a", std::nullopt, {"a", "b"}, library);
    const auto after = PaneSet::from("b", std::nullopt, {"a", "b"}, library);
    ASSERT_EQ(before.primary.size(), after.primary.size());
    for (std::size_t i = 0; i < before.primary.size(); ++i)
        EXPECT_EQ(before.primary[i].serviceID, after.primary[i].serviceID);
    EXPECT_EQ(after.visiblePrimaryID(), "b");
}

TEST(PaneSet, AnUnmountedSelectionShowsAsOneExtraPane)
{
    const auto set = PaneSet::from("d", "a", {"a", "b"}, library);
    EXPECT_EQ(set.primary, (std::vector<PrimaryPane>{{"b", false, false}, {"d", true, true}}));
    EXPECT_EQ(set.secondaryID, "a");
}

TEST(PaneSet, TheSecondaryServiceIsNeverAlsoInThePrimaryStack)
{
    const auto set = PaneSet::from("a", "b", {"a", "b", "c"}, library);
    EXPECT_EQ(set.secondaryID, "b");
    for (const auto& pane : set.primary) EXPECT_NE(pane.serviceID, "b");
    EXPECT_EQ(set.visiblePrimaryID(), "a");
}

TEST(PaneSet, ASecondaryIdOutsideTheLibraryShowsNoRightPaneButStaysOutOfTheStack)
{
    const auto set = PaneSet::from("a", "gone", {"a", "gone"}, {"a", "gone-not"});
    EXPECT_EQ(set.secondaryID, std::nullopt);
    EXPECT_EQ(set.primary, (std::vector<PrimaryPane>{{"a", true, false}}));
}

TEST(PaneSet, IdsMissingFromTheLibraryGetNoPane)
{
    const auto set = PaneSet::from("zz", std::nullopt, {"zz", "a"}, library);
    EXPECT_EQ(set.primary, (std::vector<PrimaryPane>{{"a", false, false}}));
    EXPECT_FALSE(set.showsStartupMark);
    EXPECT_EQ(set.visiblePrimaryID(), std::nullopt);
}
