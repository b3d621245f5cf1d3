#include "platform/UserEnvironment.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace meridavolt {
namespace {

TEST(UserEnvironment, RemembersTheValueBeforeTheFirstChangeAndSetsTheNewOne)
{
    ::setenv("MERIDAVOLT_TEST_SET", "user", 1);
    ::unsetenv("MERIDAVOLT_TEST_UNSET");
    UserEnvironment environment;
    environment.replace("MERIDAVOLT_TEST_SET", "ours");
    environment.replace("MERIDAVOLT_TEST_SET", "ours again");
    environment.replace("MERIDAVOLT_TEST_UNSET", "ours");

    EXPECT_STREQ(std::getenv("MERIDAVOLT_TEST_SET"), "ours again");
    EXPECT_STREQ(std::getenv("MERIDAVOLT_TEST_UNSET"), "ours");
    EXPECT_EQ(environment.replaced(), (UserEnvironment::Values{{"MERIDAVOLT_TEST_SET", "user"},
                                                               {"MERIDAVOLT_TEST_UNSET", std::nullopt}}));
    ::unsetenv("MERIDAVOLT_TEST_SET");
    ::unsetenv("MERIDAVOLT_TEST_UNSET");
}

}  // namespace
}  // namespace meridavolt
