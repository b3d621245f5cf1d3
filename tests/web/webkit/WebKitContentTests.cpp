#include "WebKitTestFixture.h"

#include "web/AdBlockingRules.h"

#include <cmath>
#include <cstdint>

using namespace meridavolt;
using namespace meridavolt::testing;

namespace {

// A mono 16-bit WAV of a 440 Hz tone.
std::string toneWAV(double seconds)
{
    const std::uint32_t rate = 8000;
    const auto samples = static_cast<std::uint32_t>(rate * seconds);
    std::string wav;
    auto put = [&](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) wav.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
    };
    wav += "RIFF";
    put(36 + samples * 2, 4);
    wav += "WAVEfmt ";
    put(16, 4);
    put(1, 2);  // PCM
    put(1, 2);  // mono
    put(rate, 4);
    put(rate * 2, 4);
    put(2, 2);
    put(16, 2);
    wav += "data";
    put(samples * 2, 4);
    for (std::uint32_t i = 0; i < samples; ++i) {
        const auto sample = static_cast<std::int16_t>(8000 * std::sin(2 * M_PI * 440 * i / rate));
        put(static_cast<std::uint16_t>(sample), 2);
    }
    return wav;
}

HttpResponse resource(const std::string& contentType, const std::string& body)
{
    HttpResponse response;
    response.contentType = contentType;
    response.body = body;
    return response;
}

}  // namespace

TEST_F(WebKitTest, CompiledAdRulesBlockRequestsAndHideAdElements)
{
    // The test server stands in for the video site ("localhost") and an ad network ("127.0.0.1").
    const std::string port = std::to_string(server_.port());
    const AdRuleHosts hosts{"localhost:" + port, {"127.0.0.1:" + port, "ads.invalid"}};
    server_.serve("/watch", "<!doctype html><html><body>"
                            "<div id=player-ads>ad</div><ytd-display-ad-renderer id=slot>ad</ytd-display-ad-renderer>"
                            "<div id=content>video</div>"
                            "<script src='" + server_.url("/network.js") + "'></script>"
                            "<img src='/pagead/pixel.gif'><img src='/api/stats/ads?x=1'>"
                            "<script src='/site.js'></script>"
                            "</body></html>");
    server_.serve("/site.js", resource("text/javascript", "window.siteScript = true;"));

    WebSession& session = openSession("about:blank");
    bool compiled = false;
    std::shared_ptr<ContentRuleList> rules;
    session.engine().compileContentRuleList(adRuleListIdentifier, adBlockingRuleList(hosts),
                                            [&](std::shared_ptr<ContentRuleList> list, std::optional<std::string>) {
                                                rules = std::move(list);
                                                compiled = true;
                                            });
    ASSERT_TRUE(waitUntil([&] { return compiled; }));
    ASSERT_TRUE(rules);
    session.engine().attachContentRuleList(rules);

    const std::string page = server_.urlOnHost("localhost", "/watch");
    session.load(page);
    ASSERT_TRUE(waitForPage(session, page));
    ASSERT_TRUE(waitUntil([&] { return server_.requestCount("/site.js") == 1; }));
    EXPECT_EQ(server_.requestCount("/network.js"), 0);
    EXPECT_EQ(server_.requestCount("/pagead/pixel.gif"), 0);
    EXPECT_EQ(server_.requestCount("/api/stats/ads"), 0);
    EXPECT_EQ(evaluateText(session,
                           "return ['player-ads', 'slot', 'content'].map(id => "
                           "getComputedStyle(document.getElementById(id)).display).join(',');"),
              "none,none,block");

    // Detached, the same page loads everything again.
    session.engine().detachContentRuleList(rules);
    session.reload();
    ASSERT_TRUE(waitUntil([&] { return server_.requestCount("/network.js") == 1; }));
    EXPECT_EQ(evaluateText(session, "return getComputedStyle(document.getElementById('player-ads')).display;"),
              "block");
}

TEST_F(WebKitTest, TheVideoSiteRulesCompile)
{
    WebSession& session = openSession("about:blank");
    std::optional<std::string> error;
    std::shared_ptr<ContentRuleList> rules;
    bool compiled = false;
    session.engine().compileContentRuleList(adRuleListIdentifier, adBlockingRuleList(videoSiteAdRuleHosts()),
                                            [&](std::shared_ptr<ContentRuleList> list, std::optional<std::string> e) {
                                                rules = std::move(list);
                                                error = std::move(e);
                                                compiled = true;
                                            });
    ASSERT_TRUE(waitUntil([&] { return compiled; }));
    EXPECT_TRUE(rules);
    EXPECT_FALSE(error) << *error;
    EXPECT_TRUE(std::filesystem::exists(folder_ / "filters"));
}

TEST_F(WebKitTest, PausingMediaStopsPlaybackInThePageAndItsFrames)
{
    server_.serve("/tone.wav", resource("audio/wav", toneWAV(30)));
    // A frame of another origin reports its playback to the server. It plays
    // muted, since nothing there is started by a user gesture.
    server_.serve("/frame", "<!doctype html><audio id=a loop muted src='/tone.wav'></audio><script>"
                            "const a = document.getElementById('a');"
                            "a.addEventListener('playing', () => fetch('/frame-playing'));"
                            "a.addEventListener('pause', () => fetch('/frame-paused'));"
                            "a.play().catch(() => fetch('/frame-refused'));"
                            "</script>");
    server_.serve("/frame-playing", "");
    server_.serve("/frame-paused", "");
    server_.serve("/player", "<!doctype html><audio id=a loop src='/tone.wav'></audio>"
                             "<iframe src='" + server_.urlOnHost("localhost", "/frame") + "'></iframe>");
    WebSession& session = openSession(server_.url("/player"));
    ASSERT_TRUE(waitForPage(session, server_.url("/player")));
    runScript(session, "document.getElementById('a').play(); return true;");
    ASSERT_TRUE(waitUntil([&] {
        return runScript(session, "const a = document.getElementById('a'); return !a.paused && a.currentTime > 0;") ==
               true;
    })) << "the audio element never played";
    ASSERT_TRUE(waitUntil([&] { return server_.requestCount("/frame-playing") > 0; }))
        << "the frame's audio never played (refused: " << server_.requestCount("/frame-refused") << ")";

    session.pauseAllMediaPlayback();
    EXPECT_TRUE(waitUntil([&] { return runScript(session, "return document.getElementById('a').paused;") == true; }));
    EXPECT_TRUE(waitUntil([&] { return server_.requestCount("/frame-paused") > 0; }));
}
