#include "WebSessionTestFixture.h"

using namespace meridavolt;
using namespace meridavolt::testing;
using namespace std::chrono_literals;

using Decision = NavigationDecision;

// --- navigation policy ---

TEST_F(WebSessionTest, WebAndPageInternalSchemesStayInThePage)
{
    open("https://example.com");
    for (const char* address : {"http://a.test/", "https://a.test/x", "HTTPS://A.TEST/", "Http://a.test",
                                "about:blank", "ABOUT:srcdoc", "blob:https://a.test/1234"}) {
        EXPECT_EQ(delegate().decideNavigation({address}), Decision::allow) << address;
    }
    EXPECT_FALSE(session_->externalRequest());
}

TEST_F(WebSessionTest, ApplicationSchemesAreCancelledAndOfferedToTheUser)
{
    open("https://example.com");
    for (const char* address : {"mailto:someone@example.com", "tel:+81-3-0000-0000", "line://msg/text/hi",
                                "twitter://post", "x://compose", "MAILTO:SOMEONE@EXAMPLE.COM", "Tel:110"}) {
        changeCount_ = 0;
        EXPECT_EQ(delegate().decideNavigation({address}), Decision::cancel) << address;
        EXPECT_EQ(session_->externalRequest(), address);
        EXPECT_EQ(changeCount_, 1);
    }
    session_->dismissExternalRequest();
    EXPECT_FALSE(session_->externalRequest());
}

TEST_F(WebSessionTest, OtherSchemesAndMissingAddressesDoNothing)
{
    open("https://example.com");
    for (const char* address : {"ftp://files.test/a", "javascript:alert(1)", "file:///etc/passwd", "data:text/html,hi",
                                "example.com/no-scheme", "//example.com/relative", "sms:123", ""}) {
        EXPECT_EQ(delegate().decideNavigation({address}), Decision::cancel) << address;
    }
    EXPECT_EQ(delegate().decideNavigation({std::nullopt}), Decision::cancel);
    EXPECT_FALSE(session_->externalRequest());
    EXPECT_EQ(changeCount_, 0);
}

// --- new windows ---

TEST_F(WebSessionTest, NewWindowsWithWebAddressesLoadInTheSameSession)
{
    open("https://example.com");
    delegate().newWindowRequested({"https://example.com/popup"});
    delegate().newWindowRequested({"HTTP://other.test/"});
    EXPECT_EQ(engine_->loads,
              (std::vector<std::string>{"https://example.com", "https://example.com/popup", "HTTP://other.test/"}));
    EXPECT_EQ(session_->currentURL(), "HTTP://other.test/");
}

TEST_F(WebSessionTest, NewWindowsWithOtherSchemesAreDropped)
{
    open("https://example.com");
    for (const char* address : {"mailto:a@b.test", "about:blank", "javascript:void(0)", "ftp://a.test/"}) {
        delegate().newWindowRequested({address});
    }
    delegate().newWindowRequested({std::nullopt});
    EXPECT_EQ(engine_->loads.size(), 1u);
    EXPECT_FALSE(session_->externalRequest());
    EXPECT_EQ(session_->currentURL(), "https://example.com");
}

// --- load events and failures ---

TEST_F(WebSessionTest, CreatingASessionLoadsItsAddress)
{
    auto& session = open("https://example.com/start");
    EXPECT_EQ(engine_->loads, std::vector<std::string>{"https://example.com/start"});
    EXPECT_EQ(session.currentURL(), "https://example.com/start");
    EXPECT_FALSE(session.loading());
    EXPECT_FALSE(session.failure());
}

TEST_F(WebSessionTest, FailuresBecomeTextsAndCancelledLoadsShowNothing)
{
    auto& session = open("https://example.com");
    delegate().loadStarted();
    delegate().loadingChanged(true);
    engine_->fail(LoadError::Kind::cancelled, "cancelled");
    EXPECT_TRUE(session.loading());
    EXPECT_FALSE(session.failure());

    engine_->fail(LoadError::Kind::other, "Could not connect: Connection refused");
    EXPECT_FALSE(session.loading());
    EXPECT_EQ(session.failure(), "Could not connect: Connection refused");

    delegate().loadStarted();
    EXPECT_FALSE(session.failure());
    engine_->fail(LoadError::Kind::interruptedByPolicyChange, "Frame load was interrupted");
    EXPECT_EQ(session.failure(), WebSession::interruptedText);

    // A cancellation after a failure leaves the failure showing.
    engine_->fail(LoadError::Kind::cancelled);
    EXPECT_EQ(session.failure(), WebSession::interruptedText);
}

TEST_F(WebSessionTest, AnEndedWebProcessAsksForAReload)
{
    auto& session = open("https://example.com");
    delegate().loadingChanged(true);
    delegate().webProcessTerminated();
    EXPECT_FALSE(session.loading());
    EXPECT_EQ(session.failure(), WebSession::processEndedText);
}

TEST_F(WebSessionTest, ASupersededLoadThatFinishesLeavesTheNewLoadRunning)
{
    auto& session = open("https://example.com");
    delegate().loadStarted();
    delegate().loadingChanged(true);
    engine_->fail(LoadError::Kind::cancelled);
    delegate().loadFinished();
    EXPECT_TRUE(session.loading());
}

TEST_F(WebSessionTest, ARequestWithoutAnswerTimesOutAfterSixtySeconds)
{
    auto& session = open("https://slow.test");
    delegate().loadStarted();
    delegate().loadingChanged(true);
    scheduler_.advance(59s);
    EXPECT_EQ(engine_->stopCount, 0);
    scheduler_.advance(1s);
    EXPECT_EQ(engine_->stopCount, 1);
    EXPECT_FALSE(session.loading());
    EXPECT_EQ(session.failure(), WebSession::timedOutText);
    // Stopping reports a cancelled load, which must not hide the text.
    engine_->fail(LoadError::Kind::cancelled);
    EXPECT_EQ(session.failure(), WebSession::timedOutText);
}

TEST_F(WebSessionTest, TheTimeoutEndsWithTheResponseOrAFailure)
{
    open("https://example.com");
    delegate().loadStarted();
    delegate().loadingChanged(true);
    delegate().loadCommitted();
    scheduler_.advance(120s);
    EXPECT_EQ(engine_->stopCount, 0);

    session_->load("https://example.com/a");
    delegate().loadStarted();
    scheduler_.advance(45s);
    engine_->fail(LoadError::Kind::other, "refused");
    scheduler_.advance(60s);
    EXPECT_EQ(engine_->stopCount, 0);
    EXPECT_EQ(session_->failure(), "refused");
}

TEST_F(WebSessionTest, ANewRequestGetsItsOwnSixtySecondsWhateverTheReplacedLoadReports)
{
    auto& session = open("https://slow.test/a");
    delegate().loadStarted();
    delegate().loadingChanged(true);
    scheduler_.advance(30s);
    session.load("https://slow.test/b");
    // The replaced load reports its end before the new request starts.
    delegate().loadFinished();
    engine_->fail(LoadError::Kind::cancelled);
    delegate().loadStarted();
    scheduler_.advance(59s);
    EXPECT_EQ(engine_->stopCount, 0);
    scheduler_.advance(1s);
    EXPECT_EQ(engine_->stopCount, 1);
    EXPECT_EQ(session.failure(), WebSession::timedOutText);
}

TEST_F(WebSessionTest, ARequestThatEndsWithoutAResponseLeavesNothingToStop)
{
    auto& session = open("https://slow.test/a");
    // Turned away on a redirect: the load ends without a response or a failure.
    delegate().loadStarted();
    delegate().loadingChanged(true);
    delegate().loadFinished();
    delegate().loadingChanged(false);
    scheduler_.advance(60s);
    EXPECT_EQ(engine_->stopCount, 0);
    EXPECT_FALSE(session.failure());
}

TEST_F(WebSessionTest, ChangesArePublishedOncePerEvent)
{
    auto& session = open("https://example.com");
    delegate().loadStarted();
    EXPECT_EQ(changeCount_, 1);
    delegate().loadingChanged(true);
    EXPECT_EQ(changeCount_, 1);  // already loading: nothing changed
    engine_->fail(LoadError::Kind::other, "x");
    EXPECT_EQ(changeCount_, 2);
    session.load("https://example.com/next");  // clears the failure and sets the address
    EXPECT_EQ(changeCount_, 3);
}

// --- refresh ---

TEST_F(WebSessionTest, EngineChangesRefreshTheHistoryAndWebAddressLater)
{
    auto& session = open("https://example.com");
    engine_->address = "https://example.com/inner";
    engine_->setHistory(true, false);
    EXPECT_FALSE(session.canGoBack());  // the refresh runs as a separate main-loop task
    scheduler_.runPending();
    EXPECT_TRUE(session.canGoBack());
    EXPECT_FALSE(session.canGoForward());
    EXPECT_EQ(session.currentURL(), "https://example.com/inner");
}

TEST_F(WebSessionTest, BlankAndBlobPagesKeepTheLastWebAddress)
{
    auto& session = open("https://example.com/page");
    for (const char* address : {"about:blank", "blob:https://example.com/1", "data:text/html,x"}) {
        engine_->navigate(address);
        scheduler_.runPending();
        EXPECT_EQ(session.currentURL(), "https://example.com/page") << address;
    }
    engine_->address.reset();
    session.refresh();
    EXPECT_EQ(session.currentURL(), "https://example.com/page");
    engine_->navigate("HTTP://EXAMPLE.COM/UPPER");
    EXPECT_EQ(session.currentURL(), "HTTP://EXAMPLE.COM/UPPER");
}

// --- reload ---

TEST_F(WebSessionTest, ReloadAsksTheEngineWhileAPageShows)
{
    auto& session = open("https://example.com");
    engine_->navigate("https://example.com/");
    session.reload();
    EXPECT_EQ(engine_->reloadCount, 1);
    EXPECT_EQ(engine_->loads.size(), 1u);
}

TEST_F(WebSessionTest, ReloadAfterAFailureRequestsTheAddressAnew)
{
    auto& session = open("https://example.com/a");
    engine_->navigate("https://example.com/a");
    session.load("https://example.com/b");
    engine_->fail(LoadError::Kind::other, "refused");
    session.reload();
    EXPECT_EQ(engine_->reloadCount, 0);
    EXPECT_EQ(engine_->loads.back(), "https://example.com/b");
    EXPECT_FALSE(session.failure());
}

TEST_F(WebSessionTest, ReloadOnABlankPageOrWithNoPageRequestsTheAddressAnew)
{
    auto& session = open("https://example.com/a");
    session.reload();  // nothing loaded yet
    EXPECT_EQ(engine_->loads.size(), 2u);
    engine_->navigate("about:blank");
    session.reload();
    EXPECT_EQ(engine_->loads.size(), 3u);
    EXPECT_EQ(engine_->loads.back(), "https://example.com/a");
    EXPECT_EQ(engine_->reloadCount, 0);
}

// --- the video site ---

TEST_F(WebSessionTest, VideoSiteAddressesAreTheDomainAndItsSubdomains)
{
    for (const char* address : {"https://youtube.com", "https://www.youtube.com/watch?v=1", "https://m.youtube.com/",
                                "https://music.youtube.com", "HTTPS://WWW.YOUTUBE.COM/", "http://a.b.youtube.com:8080/"}) {
        EXPECT_TRUE(WebSession::isYouTubeURL(std::string(address))) << address;
    }
    for (const char* address : {"https://notyoutube.com", "https://youtube.com.evil.test/", "https://youtube.co",
                                "https://evil.test/youtube.com", "mailto:a@youtube.com", "youtube.com", ""}) {
        EXPECT_FALSE(WebSession::isYouTubeURL(std::string(address))) << address;
    }
    EXPECT_FALSE(WebSession::isYouTubeURL(std::nullopt));
}

TEST_F(WebSessionTest, AHostThatTheEngineReadsAsAnotherSiteIsNotTheVideoSite)
{
    // The engine loads evil.test for each of these; GLib alone would read a video-site host.
    for (const char* address : {"https://evil.test\\.youtube.com/", "https://evil.test%5C.youtube.com/",
                                "https://a\\b@www.youtube.com/", "https://evil.test%2F.youtube.com/"}) {
        EXPECT_FALSE(WebSession::isYouTubeURL(std::string(address))) << address;
    }
    EXPECT_TRUE(WebSession::isYouTubeURL(std::string("https://www.youtube.com/results?q=a%5Cb\\c")));
}

// --- addresses loaded through the session ---

TEST_F(WebSessionTest, OnlyAddressesThePolicyAllowsReachTheEngine)
{
    // A services file edited by hand can hold a script address as a service's address.
    auto& session = open("javascript:fetch('/beacon?'+document.cookie)");
    for (const char* address : {"JavaScript:alert(1)", " javascript:alert(1)", "java\tscript:alert(1)",
                                "file:///etc/passwd", "data:text/html,<script>alert(1)</script>"}) {
        session.load(address);
    }
    session.reload();
    EXPECT_TRUE(engine_->loads.empty());
    EXPECT_FALSE(session.currentURL());
    EXPECT_EQ(changeCount_, 0);
    for (const char* address : {"HTTP://a.test/", "about:blank", "blob:https://a.test/1"}) session.load(address);
    EXPECT_EQ(engine_->loads, (std::vector<std::string>{"HTTP://a.test/", "about:blank", "blob:https://a.test/1"}));
    // An application link is offered, as the engine's policy offers it.
    session.load("mailto:someone@example.com");
    EXPECT_EQ(engine_->loads.size(), 3u);
    EXPECT_EQ(session.externalRequest(), "mailto:someone@example.com");
    EXPECT_EQ(session.currentURL(), "blob:https://a.test/1");
}
