#include "fakes/FakeScheduler.h"
#include "platform/Signal.h"

#include <gtest/gtest.h>

using namespace meridavolt;
using namespace std::chrono_literals;

TEST(FakeScheduler, RunsTimersInTimeOrderAndRepeats)
{
    fakes::FakeScheduler scheduler;
    std::vector<std::string> log;
    auto late = scheduler.after(300ms, [&] { log.push_back("late"); });
    auto tick = scheduler.every(100ms, [&] { log.push_back("tick"); });
    scheduler.advance(250ms);
    EXPECT_EQ(log, (std::vector<std::string>{"tick", "tick"}));
    tick->cancel();
    scheduler.advance(100ms);
    EXPECT_EQ(log, (std::vector<std::string>{"tick", "tick", "late"}));
}

TEST(FakeScheduler, DroppingTheHandleCancels)
{
    fakes::FakeScheduler scheduler;
    int fired = 0;
    { auto timer = scheduler.after(10ms, [&] { ++fired; }); }
    scheduler.post([&] { fired += 10; });
    scheduler.advance(20ms);
    EXPECT_EQ(fired, 10);
}

TEST(Signal, DisconnectedObserversAreNotCalledEvenDuringAnEmission)
{
    Signal<int> signal;
    int first = 0, second = 0;
    Connection secondConnection;
    auto firstConnection = signal.connect([&](int value) {
        first += value;
        secondConnection.disconnect();
    });
    secondConnection = signal.connect([&](int value) { second += value; });
    signal.emit(1);
    signal.emit(1);
    EXPECT_EQ(first, 2);
    EXPECT_EQ(second, 0);
    {
        auto scoped = signal.connect([&](int) { ++second; });
    }
    signal.emit(1);
    EXPECT_EQ(second, 0);
}
