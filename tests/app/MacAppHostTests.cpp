#include "app/MacAppHost.h"

#include "../state/AppModelHarness.h"

#include <gtest/gtest.h>

namespace meridavolt {
namespace {

TEST(MacAppHost, CreatesTheStateOnceHoweverOftenTheWindowAppears)
{
    testing::AppModelHarness harness;
    int created = 0;
    MacAppHost host(std::make_unique<MacDistribution>(std::nullopt, 1, MacDistribution::Services{}), [&] {
        ++created;
        harness.start();
        return std::move(harness.model);
    });
    int published = 0;
    auto connection = host.modelChanged.connect([&] { ++published; });
    EXPECT_EQ(host.model(), nullptr);

    host.start();
    AppModel* first = host.model();
    ASSERT_NE(first, nullptr);
    first->activate(first->library().services.front());
    host.start();
    host.start();
    EXPECT_EQ(host.model(), first);
    EXPECT_EQ(created, 1);
    EXPECT_EQ(published, 1);
    EXPECT_EQ(host.model()->selectedID(), "a");
}

}  // namespace
}  // namespace meridavolt
