#include "desktop/StartupMarkGeometry.h"
#include "desktop/StartupSequence.h"
#include "fakes/FakeScheduler.h"

#include <gtest/gtest.h>

using namespace meridavolt;
using namespace std::chrono_literals;

namespace {

const std::vector<std::string> catalogueSymbols{"safari", "play.rectangle.fill", "xmark", "camera", "music.note",
                                                "square.and.pencil", "message.fill", "sparkle", "folder",
                                                "circle.hexagongrid", "paintpalette", "character.bubble", "cart"};

struct StartupSequenceTest : ::testing::Test {
    fakes::FakeScheduler scheduler;
    bool hasShownStartup = false;
    bool selected = false;
    bool reduceMotion = false;
    std::vector<std::chrono::milliseconds> finishTimes;
    std::vector<std::pair<std::chrono::milliseconds, std::string>> flashes;
    std::vector<std::pair<StartupChange, std::chrono::milliseconds>> changes;

    std::unique_ptr<StartupSequence> makeSequence(std::vector<std::string> symbols = catalogueSymbols)
    {
        auto sequence = std::make_unique<StartupSequence>(
            scheduler, std::move(symbols),
            StartupSequence::Hooks{[this] { return hasShownStartup; }, [this] { hasShownStartup = true; },
                                   [this] { return selected; }, [this] { return reduceMotion; },
                                   [this] { finishTimes.push_back(scheduler.now()); },
                                   [this] { return scheduler.now(); }});
        connection = sequence->changed.connect(
            [this, raw = sequence.get()](StartupChange what, std::chrono::milliseconds duration) {
                changes.emplace_back(what, duration);
                if (what == StartupChange::flashingSymbol && raw->state().flashingSymbol)
                    flashes.emplace_back(scheduler.now(), *raw->state().flashingSymbol);
            });
        return sequence;
    }

    Connection connection;
};

}  // namespace

TEST_F(StartupSequenceTest, SixteenSymbolsFlashThenTheFirstServiceOpensAtThreeSeconds)
{
    auto sequence = makeSequence();
    sequence->start();
    EXPECT_TRUE(hasShownStartup);
    EXPECT_TRUE(sequence->state().arrived);
    EXPECT_TRUE(sequence->state().captionVisible);
    scheduler.advance(10s);

    ASSERT_EQ(flashes.size(), 16u);
    for (std::size_t i = 0; i < flashes.size(); ++i) {
        EXPECT_EQ(flashes[i].first, 100ms + 75ms * static_cast<int>(i)) << i;
        EXPECT_EQ(flashes[i].second, catalogueSymbols[i % 13]) << i;
    }
    EXPECT_EQ(flashes[13].second, "safari");
    EXPECT_EQ(finishTimes, (std::vector<std::chrono::milliseconds>{3000ms}));
    EXPECT_FALSE(sequence->state().flashingSymbol);
    EXPECT_FALSE(sequence->state().captionVisible);
    EXPECT_FALSE(sequence->isRunning());
}

TEST_F(StartupSequenceTest, TheArrivalAndTheFinalFadeAreAnimatedEaseOut)
{
    auto sequence = makeSequence();
    sequence->start();
    scheduler.advance(10s);
    ASSERT_GE(changes.size(), 2u);
    EXPECT_EQ(changes[0], std::pair(StartupChange::arrived, 900ms));
    EXPECT_EQ(changes[1], std::pair(StartupChange::captionVisible, 120ms));
    EXPECT_EQ(changes.back(), std::pair(StartupChange::captionVisible, 600ms));
}

TEST_F(StartupSequenceTest, UnderReducedMotionNothingFlashesOrMovesAndItEndsAtThreeSeconds)
{
    reduceMotion = true;
    auto sequence = makeSequence();
    sequence->start();
    scheduler.advance(10s);
    EXPECT_TRUE(flashes.empty());
    EXPECT_EQ(finishTimes, (std::vector<std::chrono::milliseconds>{3000ms}));
    for (const auto& change : changes) EXPECT_EQ(change.second, 0ms);
    EXPECT_EQ(startup::tileScale(StartupMarkState{}, true), 1);
    EXPECT_EQ(startup::taglineBlur(StartupMarkState{}, true), 0);
}

TEST_F(StartupSequenceTest, ReducedMotionTurnedOnDuringTheFlashesStopsThemAndTheFadeIsInstant)
{
    auto sequence = makeSequence();
    sequence->start();
    scheduler.advance(300ms);  // flashes at 100, 175, 250
    reduceMotion = true;
    scheduler.advance(10s);
    EXPECT_EQ(flashes.size(), 3u);
    EXPECT_EQ(changes.back(), std::pair(StartupChange::captionVisible, 0ms));
    EXPECT_EQ(finishTimes, (std::vector<std::chrono::milliseconds>{325ms + 1100ms + 600ms}));
}

TEST_F(StartupSequenceTest, AChoiceDuringTheFlashesEndsItAtTheNextStepWithoutOpening)
{
    auto sequence = makeSequence();
    sequence->start();
    scheduler.advance(200ms);
    selected = true;
    scheduler.advance(10s);
    EXPECT_EQ(flashes.size(), 2u);
    EXPECT_TRUE(finishTimes.empty());
    EXPECT_FALSE(sequence->state().captionVisible);
    EXPECT_FALSE(sequence->state().flashingSymbol);
    EXPECT_EQ(changes.back(), std::pair(StartupChange::captionVisible, 0ms));
    EXPECT_FALSE(sequence->isRunning());
}

TEST_F(StartupSequenceTest, RemovingTheMarkCancelsAtOnceWithoutAnimationOrOpening)
{
    auto sequence = makeSequence();
    sequence->start();
    scheduler.advance(400ms);
    ASSERT_TRUE(sequence->state().flashingSymbol);
    changes.clear();
    sequence->cancel();
    EXPECT_FALSE(sequence->state().flashingSymbol);
    EXPECT_FALSE(sequence->state().captionVisible);
    for (const auto& change : changes) EXPECT_EQ(change.second, 0ms);
    scheduler.advance(10s);
    EXPECT_TRUE(finishTimes.empty());
    EXPECT_EQ(scheduler.pendingCount(), 0u);
}

TEST_F(StartupSequenceTest, DestroyingTheMarkDuringTheHoldNeverOpensAService)
{
    auto sequence = makeSequence();
    sequence->start();
    scheduler.advance(2000ms);
    sequence.reset();
    scheduler.advance(10s);
    EXPECT_TRUE(finishTimes.empty());
}

TEST_F(StartupSequenceTest, ItPlaysOncePerApplicationState)
{
    auto first = makeSequence();
    first->start();
    first->cancel();
    first.reset();

    auto second = makeSequence();
    changes.clear();
    second->start();
    scheduler.advance(10s);
    EXPECT_TRUE(second->state().arrived);
    EXPECT_FALSE(second->state().captionVisible);
    EXPECT_EQ(changes, (std::vector<std::pair<StartupChange, std::chrono::milliseconds>>{{StartupChange::arrived, 0ms}}));
    EXPECT_TRUE(finishTimes.empty());
}

TEST_F(StartupSequenceTest, StartingAnArrivedMarkAgainDoesNothing)
{
    auto sequence = makeSequence();
    sequence->start();
    scheduler.advance(10s);
    sequence->start();
    scheduler.advance(10s);
    EXPECT_EQ(finishTimes.size(), 1u);
}

TEST_F(StartupSequenceTest, AnEmptyCatalogueSkipsTheFlashesAndStillOpens)
{
    auto sequence = makeSequence({});
    sequence->start();
    scheduler.advance(10s);
    EXPECT_TRUE(flashes.empty());
    EXPECT_EQ(finishTimes, (std::vector<std::chrono::milliseconds>{100ms + 1100ms + 600ms}));
}

TEST_F(StartupSequenceTest, OpeningTheFirstServiceMayDestroyTheSequence)
{
    std::unique_ptr<StartupSequence> sequence;
    sequence = std::make_unique<StartupSequence>(
        scheduler, catalogueSymbols,
        StartupSequence::Hooks{[] { return false; }, [] {}, [] { return false; }, [] { return false; },
                               [&] { sequence.reset(); }, [&] { return scheduler.now(); }});
    sequence->start();
    scheduler.advance(10s);
    EXPECT_EQ(sequence, nullptr);
}

TEST_F(StartupSequenceTest, ALateTimerDoesNotPushBackTheEnd)
{
    std::chrono::milliseconds lag{0};
    auto sequence = std::make_unique<StartupSequence>(
        scheduler, catalogueSymbols,
        StartupSequence::Hooks{[this] { return hasShownStartup; }, [this] { hasShownStartup = true; },
                               [] { return false; }, [] { return false; },
                               [this] { finishTimes.push_back(scheduler.now()); },
                               [&] { return scheduler.now() + lag; }});
    sequence->start();
    scheduler.advance(500ms);
    lag = 40ms;  // the main loop was busy: this step runs 40 ms after it was due
    scheduler.advance(5s);
    EXPECT_EQ(finishTimes, (std::vector<std::chrono::milliseconds>{3000ms - 40ms}));
}

TEST(StartupMarkGeometry, TheTaglineGrowsOnePointPerSevenPointsOfWidthBetweenItsLimits)
{
    EXPECT_EQ(startup::taglineFontSize(100), 26);
    EXPECT_EQ(startup::taglineFontSize(222), 26);
    EXPECT_EQ(startup::taglineFontSize(229), 27);
    EXPECT_EQ(startup::taglineFontSize(348), 44);
    EXPECT_EQ(startup::taglineFontSize(2000), 44);
    EXPECT_EQ(startup::taglineWidth(10), 1);
}

TEST(StartupMarkGeometry, TheTileRisesWhileTheTaglineShowsAndShrinksOnArrival)
{
    StartupMarkState state;
    EXPECT_EQ(startup::tileScale(state, false), 8);
    state.arrived = true;
    state.captionVisible = true;
    EXPECT_EQ(startup::tileScale(state, false), 1);
    EXPECT_EQ(startup::tileCentre(state, Size{400, 600}).y, 300 - 108);
    EXPECT_EQ(startup::taglineBlur(state, false), 0);
    state.captionVisible = false;
    EXPECT_EQ(startup::tileCentre(state, Size{400, 600}).y, 300);
    EXPECT_EQ(startup::taglineBlur(state, false), 7);
}
