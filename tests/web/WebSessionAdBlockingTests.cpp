#include "WebSessionTestFixture.h"

#include "web/AdBlockingRules.h"

#include <nlohmann/json.hpp>

using namespace meridavolt;
using namespace meridavolt::testing;

namespace {
const std::string video = "https://www.youtube.com/watch?v=abc";
}

TEST_F(WebSessionTest, TheFirstVideoSiteLoadWaitsForTheRules)
{
    auto& session = open(video);
    EXPECT_TRUE(engine_->loads.empty());
    EXPECT_TRUE(session.adBlockingPreparing());
    EXPECT_EQ(session.currentURL(), video);
    ASSERT_EQ(engine_->compilations.size(), 1u);
    EXPECT_EQ(engine_->compilations[0].identifier, "meridavolt-youtube-ads-v1");
    EXPECT_EQ(engine_->compilations[0].json, adBlockingRuleList(videoSiteAdRuleHosts()));

    engine_->finishCompilation(0, true);
    EXPECT_FALSE(session.adBlockingPreparing());
    EXPECT_EQ(engine_->attached.size(), 1u);
    EXPECT_EQ(engine_->loads, std::vector<std::string>{video});
    EXPECT_FALSE(session.adBlockingError());
}

TEST_F(WebSessionTest, AddressesRequestedDuringCompilationReplaceTheParkedOne)
{
    auto& session = open(video);
    session.load("https://example.com/first");
    session.load("https://example.com/second");
    EXPECT_TRUE(engine_->loads.empty());
    EXPECT_EQ(session.currentURL(), "https://example.com/second");
    engine_->finishCompilation(0, true);
    EXPECT_EQ(engine_->loads, std::vector<std::string>{"https://example.com/second"});
    EXPECT_EQ(session.currentURL(), "https://example.com/second");
}

TEST_F(WebSessionTest, ParkedLoadsAlsoTimeOut)
{
    auto& session = open(video);
    engine_->finishCompilation(0, true);
    delegate().loadStarted();
    delegate().loadingChanged(true);
    scheduler_.advance(WebSession::requestTimeout);
    EXPECT_EQ(engine_->stopCount, 1);
    EXPECT_EQ(session.failure(), WebSession::timedOutText);
}

TEST_F(WebSessionTest, EachSessionCompilesOnceForItsLife)
{
    auto& session = open(video);
    engine_->finishCompilation(0, true);
    session.load("https://m.youtube.com/");
    session.load("https://example.com/");
    session.load("https://music.youtube.com/");
    EXPECT_EQ(engine_->compilations.size(), 1u);
    EXPECT_EQ(engine_->loads.size(), 4u);

    // A second session compiles anew.
    open("https://youtube.com/");
    EXPECT_EQ(engine_->compilations.size(), 1u);
    EXPECT_TRUE(engine_->loads.empty());
}

TEST_F(WebSessionTest, OtherSitesNeverCompile)
{
    open("https://example.com/");
    session_->load("https://notyoutube.com/");
    EXPECT_TRUE(engine_->compilations.empty());
    EXPECT_EQ(engine_->loads.size(), 2u);
}

TEST_F(WebSessionTest, AStoredFalseTurnsAdBlockingOffForNewSessions)
{
    settings_.setBool("youtubeAdBlocking", false);
    auto& session = open(video);
    EXPECT_FALSE(session.adBlockingEnabled());
    EXPECT_TRUE(engine_->compilations.empty());
    EXPECT_EQ(engine_->loads, std::vector<std::string>{video});

    settings_.setText("youtubeAdBlocking", "no");  // not a truth value: the default applies
    EXPECT_TRUE(open(video).adBlockingEnabled());
}

TEST_F(WebSessionTest, AFailedCompilationLoadsThePageWithANotice)
{
    auto& session = open(video);
    engine_->finishCompilation(0, false);
    EXPECT_EQ(session.adBlockingError(), WebSession::adBlockingFailedText);
    EXPECT_TRUE(engine_->attached.empty());
    EXPECT_EQ(engine_->loads, std::vector<std::string>{video});
    // The notice stays until the next toggle.
    session.load("https://www.youtube.com/feed/history");
    EXPECT_EQ(session.adBlockingError(), WebSession::adBlockingFailedText);
    EXPECT_EQ(engine_->compilations.size(), 1u);
}

TEST_F(WebSessionTest, TogglingSwitchesTheCompiledRulesWithoutCompilingAgain)
{
    auto& session = open(video);
    engine_->finishCompilation(0, true);
    const auto rules = engine_->attached.at(0);

    session.toggleAdBlocking();
    EXPECT_FALSE(session.adBlockingEnabled());
    EXPECT_EQ(settings_.boolValue("youtubeAdBlocking"), false);
    EXPECT_TRUE(engine_->attached.empty());
    EXPECT_EQ(engine_->loads.size(), 2u);  // the page reloads without the rules

    session.toggleAdBlocking();
    EXPECT_TRUE(session.adBlockingEnabled());
    EXPECT_EQ(settings_.boolValue("youtubeAdBlocking"), true);
    EXPECT_EQ(engine_->attached, std::vector<std::shared_ptr<ContentRuleList>>{rules});
    EXPECT_EQ(engine_->compilations.size(), 1u);
    EXPECT_EQ(engine_->loads.size(), 3u);
}

TEST_F(WebSessionTest, TurningOnAfterAFailureCompilesAgainOnTheReload)
{
    auto& session = open(video);
    engine_->finishCompilation(0, false);
    session.toggleAdBlocking();  // off: no rules, nothing to compile
    EXPECT_FALSE(session.adBlockingError());
    EXPECT_EQ(engine_->compilations.size(), 1u);
    session.toggleAdBlocking();  // on: the reload prepares again
    EXPECT_EQ(engine_->compilations.size(), 2u);
    EXPECT_TRUE(session.adBlockingPreparing());
    engine_->finishCompilation(1, true);
    EXPECT_EQ(engine_->attached.size(), 1u);
    EXPECT_EQ(engine_->loads.back(), video);
}

TEST_F(WebSessionTest, TheToggleWaitsWhileRulesCompile)
{
    auto& session = open(video);
    session.toggleAdBlocking();
    EXPECT_TRUE(session.adBlockingEnabled());
    EXPECT_FALSE(settings_.boolValue("youtubeAdBlocking"));
}

TEST_F(WebSessionTest, TurningOffBeforeTheFirstVideoPageSkipsCompiling)
{
    auto& session = open("https://example.com/");
    session.toggleAdBlocking();
    session.load(video);
    EXPECT_TRUE(engine_->compilations.empty());
    EXPECT_EQ(engine_->loads.back(), video);
    EXPECT_EQ(engine_->loads.size(), 3u);  // start, the toggle's reload, the video page
}

TEST(AdBlockingRules, FiveRulesActOnlyInTheVideoSitePages)
{
    const auto rules = nlohmann::json::parse(adBlockingRuleList(videoSiteAdRuleHosts()));
    ASSERT_EQ(rules.size(), 5u);
    const nlohmann::json hosts = {"youtube.com", "www.youtube.com", "m.youtube.com", "music.youtube.com"};
    for (const auto& rule : rules) EXPECT_EQ(rule["trigger"]["if-domain"], hosts);

    const nlohmann::json networkTypes = {"image", "style-sheet", "script", "font", "raw", "media", "popup"};
    const nlohmann::json sitePathTypes = {"image", "script", "raw"};
    const std::string prefix = "^https?://([a-z0-9-]+\\.)*";
    const std::pair<std::string, nlohmann::json> blocks[] = {
        {prefix + "doubleclick\\.net/", networkTypes},
        {prefix + "googlesyndication\\.com/", networkTypes},
        {prefix + "youtube\\.com/pagead/", sitePathTypes},
        {prefix + "youtube\\.com/api/stats/ads", sitePathTypes},
    };
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(rules[i]["trigger"]["url-filter"], blocks[i].first) << i;
        EXPECT_EQ(rules[i]["trigger"]["resource-type"], blocks[i].second) << i;
        EXPECT_EQ(rules[i]["action"], nlohmann::json({{"type", "block"}})) << i;
    }
    EXPECT_EQ(rules[4]["trigger"]["url-filter"], ".*");
    EXPECT_FALSE(rules[4]["trigger"].contains("resource-type"));
    EXPECT_EQ(rules[4]["action"]["type"], "css-display-none");
    EXPECT_EQ(rules[4]["action"]["selector"],
              "ytd-ad-slot-renderer, ytd-display-ad-renderer, ytd-promoted-sparkles-web-renderer, "
              "ytd-promoted-video-renderer, ytd-in-feed-ad-layout-renderer, ytd-banner-promo-renderer, "
              "ytm-promoted-sparkles-web-renderer, ytm-companion-ad-renderer, #player-ads, .ytp-ad-overlay-container");
}

TEST(AdBlockingRules, AHostWithAPortKeepsThePortOutOfThePageHosts)
{
    const auto rules = nlohmann::json::parse(adBlockingRuleList({"localhost:8080", {"127.0.0.1:8080", "ads.test"}}));
    EXPECT_EQ(rules[0]["trigger"]["if-domain"][0], "localhost");
    EXPECT_EQ(rules[0]["trigger"]["url-filter"], "^https?://([a-z0-9-]+\\.)*127\\.0\\.0\\.1:8080/");
    EXPECT_EQ(rules[2]["trigger"]["url-filter"], "^https?://([a-z0-9-]+\\.)*localhost:8080/pagead/");
}
