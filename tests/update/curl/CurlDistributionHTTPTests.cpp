#include "ReleaseServerFixture.h"

#include <algorithm>

namespace meridavolt::testing {
namespace {

using Reason = FetchFailure::Reason;
using Framing = TlsResponse::Framing;

class CurlFetch : public ReleaseServerFixture {
protected:
    struct PendingFetch {
        std::shared_ptr<CurlDistributionHTTP> http;
        std::unique_ptr<FetchTask> task;
        std::shared_ptr<std::optional<FetchResult>> result;
    };

    // A manifest fetch that the server has received and will never answer,
    // with time-outs far beyond the test.
    PendingFetch startUnansweredFetch()
    {
        server.serve("/meridavolt/releases.json", {.stallBeforeHead = true});
        PendingFetch pending{makeHTTP({std::chrono::seconds(5), std::chrono::seconds(30), std::chrono::seconds(60)}),
                             nullptr, std::make_shared<std::optional<FetchResult>>()};
        pending.task = pending.http->fetch(*ReleaseAddress::parse(releaseFeedAddress), 64'000,
                                           [result = pending.result](FetchResult answer) { *result = std::move(answer); });
        EXPECT_TRUE(waitUntil([&] { return server.requestCount("/meridavolt/releases.json") == 1; }));
        return pending;
    }

    std::shared_ptr<CurlDistributionHTTP> http = makeHTTP();
};

TEST_F(CurlFetch, ReturnsTheStatusAndTheWholeBody)
{
    server.serve("/meridavolt/releases.json", {.body = "{\"payload\":\"\"}"});
    const auto result = fetch(*http, "releases.json", 64'000);
    ASSERT_NE(responseOf(result), nullptr);
    EXPECT_EQ(responseOf(result)->statusCode, 200);
    EXPECT_EQ(responseOf(result)->body, "{\"payload\":\"\"}");
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0].head.rfind("GET /meridavolt/releases.json HTTP/1.1\r\n", 0), 0u);
    EXPECT_NE(server.requests()[0].head.find("Host: " + std::string(releaseHost) + "\r\n"), std::string::npos);
}

TEST_F(CurlFetch, ANotFoundAnswerComesBackWithItsStatusAndBody)
{
    const auto result = fetch(*http, "missing.json", 64'000);
    ASSERT_NE(responseOf(result), nullptr);
    EXPECT_EQ(responseOf(result)->statusCode, 404);
    EXPECT_EQ(responseOf(result)->body, "not here");
}

TEST_F(CurlFetch, ARedirectIsReturnedAndNeverFollowed)
{
    server.serve("/meridavolt/releases.json",
                 {.status = 302, .headers = {{"Location", fakes::releaseURL("elsewhere.json")}}, .body = "moved"});
    server.serve("/meridavolt/old.json",
                 {.status = 301, .headers = {{"Location", "http://" + std::string(releaseHost) + "/meridavolt/elsewhere.json"}}});
    server.serve("/meridavolt/elsewhere.json", {.body = "the redirect's target"});

    const auto found = fetch(*http, "releases.json", 64'000);
    ASSERT_NE(responseOf(found), nullptr);
    EXPECT_EQ(responseOf(found)->statusCode, 302);
    EXPECT_EQ(responseOf(found)->body, "moved");
    const auto moved = fetch(*http, "old.json", 64'000);
    ASSERT_NE(responseOf(moved), nullptr);
    EXPECT_EQ(responseOf(moved)->statusCode, 301);

    runMainLoopFor(std::chrono::milliseconds(200));
    EXPECT_EQ(server.requestCount("/meridavolt/elsewhere.json"), 0);
}

TEST_F(CurlFetch, ABodyOfExactlyTheLimitIsReturnedWhateverItsFraming)
{
    const std::string body(10'000, 'x');
    for (auto framing : {Framing::contentLength, Framing::chunked, Framing::closeDelimited}) {
        SCOPED_TRACE(static_cast<int>(framing));
        server.serve("/meridavolt/image.dmg", {.body = body, .framing = framing});
        const auto result = fetch(*http, "image.dmg", body.size());
        ASSERT_NE(responseOf(result), nullptr);
        EXPECT_EQ(responseOf(result)->body, body);
    }
}

TEST_F(CurlFetch, OneByteOverTheLimitFailsWhateverItsFraming)
{
    const std::string body(10'001, 'x');
    for (auto framing : {Framing::contentLength, Framing::chunked, Framing::closeDelimited}) {
        SCOPED_TRACE(static_cast<int>(framing));
        server.serve("/meridavolt/image.dmg", {.body = body, .framing = framing});
        EXPECT_EQ(failureOf(fetch(*http, "image.dmg", 10'000)), Reason::invalidRelease);
    }
}

TEST_F(CurlFetch, ALengthUnderstatedByTheServerIsStillCounted)
{
    // A connection-delimited body longer than the limit, whatever the server claims in between.
    server.serve("/meridavolt/image.dmg", {.body = std::string(5'000, 'x'), .framing = Framing::closeDelimited});
    EXPECT_EQ(failureOf(fetch(*http, "image.dmg", 4'999)), Reason::invalidRelease);
}

TEST_F(CurlFetch, AnAnnouncedLengthOverTheLimitFailsBeforeTheBody)
{
    // The server announces 1,001 bytes and then sends nothing: only a check of the
    // announced length ends this fetch before the idle time-out.
    server.serve("/meridavolt/image.dmg", {.body = std::string(1'001, 'x'), .stallAfterBodyBytes = 0});
    EXPECT_EQ(failureOf(fetch(*makeHTTP({std::chrono::seconds(5), std::chrono::seconds(30), std::chrono::seconds(60)}),
                              "image.dmg", 1'000)),
              Reason::invalidRelease);
}

TEST_F(CurlFetch, ALimitOfZeroAcceptsOnlyAnEmptyBody)
{
    server.serve("/meridavolt/empty", {.body = ""});
    server.serve("/meridavolt/one", {.body = "1"});
    const auto empty = fetch(*http, "empty", 0);
    ASSERT_NE(responseOf(empty), nullptr);
    EXPECT_EQ(responseOf(empty)->body, "");
    EXPECT_EQ(failureOf(fetch(*http, "one", 0)), Reason::invalidRelease);
}

TEST_F(CurlFetch, ACookieSetByTheServerIsNeverSentBack)
{
    server.serve("/meridavolt/releases.json",
                 {.headers = {{"Set-Cookie", "session=secret; Path=/; Secure"}}, .body = "{}"});
    fetch(*http, "releases.json", 64'000);
    fetch(*http, "releases.json", 64'000);
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    for (const auto& request : requests) {
        std::string head = request.head;
        std::transform(head.begin(), head.end(), head.begin(), [](unsigned char c) { return std::tolower(c); });
        EXPECT_EQ(head.find("cookie"), std::string::npos) << request.head;
    }
}

TEST_F(CurlFetch, AServerThatSaysNothingHitsTheIdleTimeout)
{
    server.serve("/meridavolt/releases.json", {.stallBeforeHead = true});
    EXPECT_EQ(failureOf(fetch(*http, "releases.json", 64'000)), Reason::timedOut);
}

TEST_F(CurlFetch, AServerThatStopsMidBodyHitsTheIdleTimeout)
{
    server.serve("/meridavolt/image.dmg", {.body = std::string(50'000, 'x'), .stallAfterBodyBytes = 20'000});
    EXPECT_EQ(failureOf(fetch(*http, "image.dmg", 100'000)), Reason::timedOut);
}

TEST_F(CurlFetch, ASlowHandshakeAndASlowButSteadyHeadAreNotIdle)
{
    // The idle limit is 1 s: the handshake takes 1.5 s (the connect limit governs
    // it), then the head arrives a line every 0.4 s, 2.4 s in all.
    server.delayHandshakes(std::chrono::milliseconds(1'500));
    server.serve("/meridavolt/releases.json", {.headers = {{"X-One", "1"}, {"X-Two", "2"}},
                                               .body = "{}",
                                               .headTrickle = std::chrono::milliseconds(400)});
    const auto result = fetch(*http, "releases.json", 64'000);
    ASSERT_NE(responseOf(result), nullptr) << std::get<FetchFailure>(result).description;
    EXPECT_EQ(responseOf(result)->body, "{}");
}

TEST_F(CurlFetch, AHandshakeThatOutlastsTheConnectLimitTimesOut)
{
    server.delayHandshakes(std::chrono::milliseconds(2'500));
    server.serve("/meridavolt/releases.json", {.body = "{}"});
    auto impatient = makeHTTP({std::chrono::seconds(1), std::chrono::seconds(30), std::chrono::seconds(60)});
    EXPECT_EQ(failureOf(fetch(*impatient, "releases.json", 64'000)), Reason::timedOut);
}

TEST_F(CurlFetch, ATrickleThatNeverIdlesStillHitsTheTotalTimeout)
{
    server.serve("/meridavolt/image.dmg",
                 {.body = std::string(100, 'x'), .trickle = std::chrono::milliseconds(200)});
    auto slowHTTP = makeHTTP({std::chrono::seconds(5), std::chrono::seconds(2), std::chrono::milliseconds(1'500)});
    EXPECT_EQ(failureOf(fetch(*slowHTTP, "image.dmg", 1'000)), Reason::timedOut);
}

TEST_F(CurlFetch, CancellingStopsTheTransfer)
{
    auto pending = startUnansweredFetch();
    pending.task->cancel();
    ASSERT_TRUE(waitUntil([&] { return pending.result->has_value(); }, std::chrono::seconds(5)));
    EXPECT_EQ(failureOf(**pending.result), Reason::cancelled);
}

TEST_F(CurlFetch, TheCompletionRunsOnTheMainLoopAfterFetchReturns)
{
    server.serve("/meridavolt/releases.json", {.body = "{}"});
    bool answered = false;
    auto task = http->fetch(*ReleaseAddress::parse(releaseFeedAddress), 64'000, [&](FetchResult) { answered = true; });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the transfer is over by now
    EXPECT_FALSE(answered);                                        // yet only the main loop delivers it
    EXPECT_TRUE(waitUntil([&] { return answered; }));
}

TEST_F(CurlFetch, DestroyingTheFetcherStopsItsTransfers)
{
    auto pending = startUnansweredFetch();
    pending.http.reset();  // returns once the transfer has stopped, long before its time-outs
    ASSERT_TRUE(waitUntil([&] { return pending.result->has_value(); }));
    EXPECT_EQ(failureOf(**pending.result), Reason::cancelled);
}

class UntrustedServer : public ReleaseServerFixture {
protected:
    fakes::TemporaryFolder otherFolder;
    TestCertificates otherAuthority{std::string(releaseHost), otherFolder / "other.pem"};
    TlsTestServer impostor{otherAuthority.serverKey(), otherAuthority.serverCertificate()};
};

TEST_F(UntrustedServer, ACertificateFromAnotherAuthorityIsRefused)
{
    impostor.serve("/meridavolt/releases.json", {.body = "{}"});
    auto http = std::make_shared<CurlDistributionHTTP>(
        MainLoopScheduler::shared(), quickTimeouts(),
        CurlTestRoute{std::string(releaseHost) + ":443:127.0.0.1:" + std::to_string(impostor.port()),
                      certificates.authorityFile().string()});
    EXPECT_EQ(failureOf(fetch(*http, "releases.json", 64'000)), Reason::transport);
    EXPECT_EQ(impostor.requestCount("/meridavolt/releases.json"), 0);
}

TEST_F(UntrustedServer, ACertificateForAnotherHostIsRefused)
{
    fakes::TemporaryFolder wrongFolder;
    TestCertificates wrongHost{"cdn." + std::string(releaseHost), wrongFolder / "wrong.pem"};
    TlsTestServer wrongServer{wrongHost.serverKey(), wrongHost.serverCertificate()};
    wrongServer.serve("/meridavolt/releases.json", {.body = "{}"});
    auto http = std::make_shared<CurlDistributionHTTP>(
        MainLoopScheduler::shared(), quickTimeouts(),
        CurlTestRoute{std::string(releaseHost) + ":443:127.0.0.1:" + std::to_string(wrongServer.port()),
                      wrongHost.authorityFile().string()});
    EXPECT_EQ(failureOf(fetch(*http, "releases.json", 64'000)), Reason::transport);
    EXPECT_EQ(wrongServer.requestCount("/meridavolt/releases.json"), 0);
}

}  // namespace
}  // namespace meridavolt::testing
