#include "fakes/FakeScheduler.h"
#include "platform/KeptWhileUsed.h"

#include <gtest/gtest.h>

namespace meridavolt {
namespace {

using namespace std::chrono_literals;

// An engine that counts how many of its kind live.
struct Engine {
    explicit Engine(int& alive) : alive(alive) { ++alive; }
    ~Engine() { --alive; }
    int& alive;
};

class KeptEngine : public ::testing::Test {
protected:
    int made = 0;
    int alive = 0;
    fakes::FakeScheduler scheduler;
    KeptWhileUsed<Engine> kept{scheduler, 60s, [this] {
                                   ++made;
                                   return std::make_unique<Engine>(alive);
                               }};

    Engine* useOnce()
    {
        Engine* seen = kept.use([](Engine* engine) { return engine; });
        scheduler.runPending();  // the end of the use reaches the main thread
        return seen;
    }
};

TEST_F(KeptEngine, NothingIsMadeBeforeTheFirstUse)
{
    scheduler.advance(10min);
    EXPECT_EQ(made, 0);
    EXPECT_FALSE(kept.holding());
}

TEST_F(KeptEngine, UsesWithinAMinuteShareOneEngineThatGoesAMinuteAfterTheLast)
{
    Engine* first = useOnce();
    ASSERT_NE(first, nullptr);
    scheduler.advance(50s);
    EXPECT_EQ(useOnce(), first);
    scheduler.advance(50s);  // 100 s after the first use, 50 s after the last
    EXPECT_EQ(useOnce(), first);
    EXPECT_EQ(made, 1);

    scheduler.advance(59s);
    EXPECT_TRUE(kept.holding());
    scheduler.advance(1s);
    EXPECT_FALSE(kept.holding());
    EXPECT_EQ(alive, 0);

    // The next use pays the start again, once.
    EXPECT_NE(useOnce(), nullptr);
    EXPECT_EQ(made, 2);
    EXPECT_EQ(alive, 1);
}

TEST_F(KeptEngine, AReleaseDueDuringAUseWaitsForTheUseToEnd)
{
    useOnce();
    kept.use([&](Engine* engine) {
        // A minute passes on the main thread while this use runs.
        scheduler.advance(61s);
        EXPECT_NE(engine, nullptr);
        EXPECT_TRUE(kept.holding());
        EXPECT_EQ(alive, 1);
        return 0;
    });
    scheduler.runPending();
    scheduler.advance(59s);
    EXPECT_TRUE(kept.holding());
    scheduler.advance(1s);
    EXPECT_FALSE(kept.holding());
}

TEST_F(KeptEngine, AnEngineThatCannotBeMadeIsTriedAgainNextTime)
{
    bool fails = true;
    KeptWhileUsed<Engine> flaky(scheduler, 60s, [&]() -> std::unique_ptr<Engine> {
        ++made;
        return fails ? nullptr : std::make_unique<Engine>(alive);
    });
    EXPECT_EQ(flaky.use([](Engine* engine) { return engine; }), nullptr);
    fails = false;
    EXPECT_NE(flaky.use([](Engine* engine) { return engine; }), nullptr);
    EXPECT_EQ(made, 2);
}

TEST_F(KeptEngine, ATimerOutlivingItsKeeperDoesNothing)
{
    {
        KeptWhileUsed<Engine> shortLived(scheduler, 60s, [&] { return std::make_unique<Engine>(alive); });
        shortLived.use([](Engine*) { return 0; });
        scheduler.runPending();
        EXPECT_EQ(alive, 1);
    }
    EXPECT_EQ(alive, 0);
    scheduler.advance(2min);
    EXPECT_EQ(alive, 0);
}

}  // namespace
}  // namespace meridavolt
