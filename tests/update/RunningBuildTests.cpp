#include "update/RunningBuild.h"

#include <gtest/gtest.h>

namespace meridavolt {
namespace {

TEST(RunningBuild, ReadsADecimalIntegerWithAnOptionalSign)
{
    EXPECT_EQ(parseBuildNumber("41"), 41);
    EXPECT_EQ(parseBuildNumber("+41"), 41);
    EXPECT_EQ(parseBuildNumber("-3"), -3);
    EXPECT_EQ(parseBuildNumber("0041"), 41);
    EXPECT_EQ(parseBuildNumber("9223372036854775807"), INT64_MAX);
}

TEST(RunningBuild, CountsAnythingElseAsBuildZero)
{
    for (const char* text : {"", "1.2.3", "41a", " 41", "41 ", "+", "-", "+-4", "0x10", "9223372036854775808", "４１"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(parseBuildNumber(text), 0);
    }
}

}  // namespace
}  // namespace meridavolt
