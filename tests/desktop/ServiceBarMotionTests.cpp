#include "desktop/ServiceBarMotion.h"

#include <gtest/gtest.h>

using namespace meridavolt;

namespace {

// Three tiles of a standing bar, 64 points apart.
std::map<std::string, Rect> column(const std::vector<std::string>& ids)
{
    std::map<std::string, Rect> frames;
    for (std::size_t i = 0; i < ids.size(); ++i) frames[ids[i]] = Rect{4, 4 + 64.0 * double(i), 74, 60};
    return frames;
}

}  // namespace

TEST(ServiceBarMotion, TheHighlightSlidesFromTheOldTileToTheNewOne)
{
    ServiceBarMotion motion;
    const auto frames = column({"a", "b", "c"});
    motion.place(frames, "a", true, 1.0);
    EXPECT_DOUBLE_EQ(motion.highlight(1.0)->y, 4);

    motion.place(frames, "c", true, 2.0);
    EXPECT_DOUBLE_EQ(motion.highlight(2.0)->y, 4);
    const double midway = motion.highlight(2.07)->y;
    EXPECT_GT(midway, 4);
    EXPECT_LT(midway, 132);
    // Ease-out: more than half the way in the first half of the time.
    EXPECT_GT(midway, 68);
    EXPECT_TRUE(motion.isMoving(2.1));
    EXPECT_DOUBLE_EQ(motion.highlight(2.14)->y, 132);
    EXPECT_FALSE(motion.isMoving(2.14));
}

TEST(ServiceBarMotion, WithReducedMotionTheHighlightJumps)
{
    ServiceBarMotion motion;
    const auto frames = column({"a", "b"});
    motion.place(frames, "a", false, 1.0);
    motion.place(frames, "b", false, 2.0);
    EXPECT_DOUBLE_EQ(motion.highlight(2.0)->y, 68);
    EXPECT_FALSE(motion.isMoving(2.0));
}

TEST(ServiceBarMotion, AFirstSelectionAppearsInPlaceAndNoneHidesTheHighlight)
{
    ServiceBarMotion motion;
    const auto frames = column({"a", "b"});
    motion.place(frames, std::nullopt, true, 1.0);
    EXPECT_FALSE(motion.highlight(1.0));
    motion.place(frames, "b", true, 2.0);
    EXPECT_DOUBLE_EQ(motion.highlight(2.0)->y, 68);
    motion.place(frames, std::nullopt, true, 3.0);
    EXPECT_FALSE(motion.highlight(3.0));
}

TEST(ServiceBarMotion, AfterADropTheTilesGlideFromWhereTheyWereAndTheHighlightFollows)
{
    ServiceBarMotion motion;
    motion.place(column({"a", "b", "c"}), "c", true, 1.0);
    motion.glideIntoNextPlacement();
    // The selection is placed again before the layout has moved anything.
    motion.place(column({"a", "b", "c"}), "c", true, 1.5);
    EXPECT_FALSE(motion.isMoving(1.5));

    motion.place(column({"c", "a", "b"}), "c", true, 2.0);
    // Each tile is still drawn where it was...
    EXPECT_DOUBLE_EQ(motion.offset("c", 2.0).y, 128);
    EXPECT_DOUBLE_EQ(motion.offset("a", 2.0).y, -64);
    EXPECT_DOUBLE_EQ(motion.highlight(2.0)->y, 132);
    // ...on its way midway, the highlight with its tile...
    const double midway = motion.offset("c", 2.07).y;
    EXPECT_GT(midway, 0);
    EXPECT_LT(midway, 128);
    EXPECT_DOUBLE_EQ(motion.highlight(2.07)->y, 4 + midway);
    // ...and in its new place after 0.14 s.
    EXPECT_DOUBLE_EQ(motion.offset("c", 2.14).y, 0);
    EXPECT_DOUBLE_EQ(motion.offset("b", 2.14).y, 0);
    EXPECT_DOUBLE_EQ(motion.highlight(2.14)->y, 4);
    EXPECT_FALSE(motion.isMoving(2.14));
}

TEST(ServiceBarMotion, OtherLayoutChangesAndReducedMotionDropsMoveAtOnce)
{
    ServiceBarMotion motion;
    motion.place(column({"a", "b"}), "b", true, 1.0);
    // The context menu's move to the top, or a library edit: no glide.
    motion.place(column({"b", "a"}), "b", true, 2.0);
    EXPECT_DOUBLE_EQ(motion.offset("b", 2.0).y, 0);
    EXPECT_DOUBLE_EQ(motion.highlight(2.0)->y, 4);
    EXPECT_FALSE(motion.isMoving(2.0));

    motion.glideIntoNextPlacement();
    motion.place(column({"a", "b"}), "b", false, 3.0);
    EXPECT_DOUBLE_EQ(motion.offset("b", 3.0).y, 0);
    EXPECT_DOUBLE_EQ(motion.highlight(3.0)->y, 68);
    // The glide asked for was spent on that placement.
    motion.place(column({"b", "a"}), "b", true, 4.0);
    EXPECT_FALSE(motion.isMoving(4.0));
}
