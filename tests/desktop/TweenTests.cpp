#include "desktop/Tween.h"

#include <gtest/gtest.h>

using namespace meridavolt;

TEST(EaseOut, StartsFastAndEndsExactlyAtItsTarget)
{
    EXPECT_EQ(easeOut(0), 0);
    EXPECT_EQ(easeOut(1), 1);
    EXPECT_EQ(easeOut(-3), 0);
    EXPECT_EQ(easeOut(7), 1);
    // An ease-out curve covers more than half its way in the first half of its time.
    EXPECT_GT(easeOut(0.5), 0.6);
    EXPECT_LT(easeOut(0.5), 0.9);
    for (double p = 0.05; p < 1; p += 0.05) EXPECT_LT(easeOut(p - 0.05), easeOut(p)) << p;
}

TEST(Tween, AnAnimationRunsFromTheCurrentValueAndHoldsItsTargetAfterwards)
{
    Tween scale(8);
    scale.animate(1, 0.9, 10.0);
    EXPECT_EQ(scale.value(10.0), 8);
    EXPECT_LT(scale.value(10.45), 8);
    EXPECT_GT(scale.value(10.45), 1);
    EXPECT_TRUE(scale.isAnimating(10.89));
    EXPECT_EQ(scale.value(10.9), 1);
    EXPECT_FALSE(scale.isAnimating(10.9));
}

TEST(Tween, RetargetingMidwayStartsFromWhereTheValueIs)
{
    Tween opacity(0);
    opacity.animate(1, 1.0, 0.0);
    const double midway = opacity.value(0.5);
    opacity.animate(0, 1.0, 0.5);
    EXPECT_DOUBLE_EQ(opacity.value(0.5), midway);
    opacity.animate(0.25, 0, 0.7);
    EXPECT_EQ(opacity.value(0.7), 0.25);
}
