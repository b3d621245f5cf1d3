#include "WebKitTestFixture.h"

#include "fakes/FakeScheduler.h"

#include <atomic>
#include <thread>

using namespace meridavolt;
using namespace meridavolt::testing;

namespace {

std::string linkPage(const std::string& body) { return "<!doctype html><html><body>" + body + "</body></html>"; }

}  // namespace

TEST_F(WebKitTest, LoadedPagesUpdateTheAddressAndHistoryFlags)
{
    server_.serve("/one", linkPage("<a id=next href='/two'>two</a>"));
    server_.serve("/two", linkPage("two"));
    WebSession& session = openSession(server_.url("/one"));
    ASSERT_TRUE(waitForPage(session, server_.url("/one")));
    EXPECT_FALSE(session.canGoBack());
    EXPECT_FALSE(session.failure());

    ASSERT_EQ(runScript(session, "document.getElementById('next').click(); return true;"), true);
    ASSERT_TRUE(waitForPage(session, server_.url("/two")));
    ASSERT_TRUE(waitUntil([&] { return session.canGoBack(); }));
    EXPECT_FALSE(session.canGoForward());

    session.goBack();
    ASSERT_TRUE(waitForPage(session, server_.url("/one")));
    EXPECT_TRUE(waitUntil([&] { return session.canGoForward() && !session.canGoBack(); }));
}

TEST_F(WebKitTest, NewWindowsOpenInTheSameViewAndBackReturns)
{
    server_.serve("/start", linkPage("<a id=blank target=_blank href='/blank'>blank</a>"
                                     "<button id=open onclick=\"window.open('/opened')\">open</button>"));
    server_.serve("/blank", linkPage("blank"));
    server_.serve("/opened", linkPage("opened"));
    WebSession& session = openSession(server_.url("/start"));
    ASSERT_TRUE(waitForPage(session, server_.url("/start")));

    runScript(session, "document.getElementById('blank').click(); return true;");
    ASSERT_TRUE(waitForPage(session, server_.url("/blank")));
    session.goBack();
    ASSERT_TRUE(waitForPage(session, server_.url("/start")));

    runScript(session, "document.getElementById('open').click(); return true;");
    ASSERT_TRUE(waitForPage(session, server_.url("/opened")));
    ASSERT_TRUE(waitUntil([&] { return session.canGoBack(); }));
    session.goBack();
    EXPECT_TRUE(waitForPage(session, server_.url("/start")));
    EXPECT_EQ(server_.requestCount("/opened"), 1);

    // A script opens a window with no click behind it.
    server_.serve("/timer", linkPage("<script>setTimeout(() => window.open('/popped'), 10)</script>"));
    server_.serve("/popped", linkPage("popped"));
    session.load(server_.url("/timer"));
    EXPECT_TRUE(waitForPage(session, server_.url("/popped")));
}

TEST_F(WebKitTest, ApplicationLinksWaitForTheUserAndOtherSchemesDoNothing)
{
    server_.serve("/start", linkPage("<a id=tel href='tel:0120-000-000'>call</a><a id=ftp href='ftp://a.test/'>f</a>"));
    WebSession& session = openSession(server_.url("/start"));
    ASSERT_TRUE(waitForPage(session, server_.url("/start")));

    runScript(session, "document.getElementById('ftp').click(); return true;");
    runMainLoopFor(std::chrono::milliseconds(200));
    EXPECT_FALSE(session.externalRequest());

    runScript(session, "document.getElementById('tel').click(); return true;");
    ASSERT_TRUE(waitUntil([&] { return session.externalRequest().has_value(); }));
    EXPECT_EQ(session.externalRequest(), "tel:0120-000-000");
    EXPECT_EQ(session.engine().currentAddress(), server_.url("/start"));
    EXPECT_FALSE(session.failure());
}

TEST_F(WebKitTest, ScriptLinksDoNothingInThePageOrItsFramesAndThePagesHandlersStillRun)
{
    server_.serve("/start", linkPage(
        "<a id=plain href=\"javascript:document.body.dataset.ran='plain'\">plain</a>"
        "<a id=disguised href=\" JavaScript:document.body.dataset.ran='disguised'\"><span id=inside>inside</span></a>"
        "<a id=handled href=\"javascript:document.body.dataset.ran='handled'\""
        " onclick=\"document.body.dataset.clicked='yes'\">handled</a>"
        "<svg><a id=drawn href=\"javascript:document.body.dataset.ran='drawn'\"><text y=10>drawn</text></a></svg>"
        // Its own handler turns it into a script and keeps the event from going further.
        "<a id=stopped href='/never' onclick=\"this.href='javascript:document.body.dataset.ran=1'; event.stopPropagation()\">"
        "stopped</a>"
        "<iframe id=frame src='/frame'></iframe>"));
    server_.serve("/frame", linkPage("<a id=inner href=\"javascript:parent.document.body.dataset.ran='frame'\">in</a>"));
    WebSession& session = openSession(server_.url("/start"));
    ASSERT_TRUE(waitForPage(session, server_.url("/start")));
    ASSERT_TRUE(waitUntil([&] {
        return evaluateText(session, "return String(!!document.getElementById('frame').contentDocument"
                                     "?.getElementById('inner'));", nullptr) == "true";
    }));

    // Clicked by the page itself, reaching our world as a click of the user does.
    evaluateText(session,
                 "for (const id of ['plain', 'inside', 'handled', 'stopped']) document.getElementById(id).click();"
                 "document.getElementById('drawn').dispatchEvent(new MouseEvent('click', {bubbles: true, cancelable: true}));"
                 "document.getElementById('frame').contentDocument.getElementById('inner').click();"
                 "return 'clicked';",
                 nullptr);
    runMainLoopFor(std::chrono::milliseconds(300));
    EXPECT_EQ(evaluateText(session, "return String(document.body.dataset.ran);", nullptr), "undefined");
    EXPECT_EQ(evaluateText(session, "return String(document.body.dataset.clicked);", nullptr), "yes");
    EXPECT_EQ(session.engine().currentAddress(), server_.url("/start"));
    EXPECT_EQ(server_.requestCount("/never"), 0);
    EXPECT_FALSE(session.failure());
}

TEST_F(WebKitTest, ARefusedConnectionShowsAFailureAndReloadRecovers)
{
    const auto port = LocalHttpServer::unusedPort();
    const std::string url = "http://127.0.0.1:" + std::to_string(port) + "/";
    WebSession& session = openSession(url);
    ASSERT_TRUE(waitUntil([&] { return session.failure().has_value(); }));
    EXPECT_FALSE(session.failure()->empty());
    EXPECT_FALSE(session.loading());
    EXPECT_EQ(session.currentURL(), url);

    LocalHttpServer late(port);
    late.serve("/", linkPage("up now"));
    session.reload();
    ASSERT_TRUE(waitForPage(session, url));
    EXPECT_FALSE(session.failure());
    EXPECT_EQ(late.requestCount("/"), 1);
}

TEST_F(WebKitTest, AnEndedWebProcessAsksForAReloadThatRecovers)
{
    server_.serve("/", linkPage("alive"));
    WebSession& session = openSession(server_.url("/"));
    ASSERT_TRUE(waitForPage(session, server_.url("/")));
    webkit_web_view_terminate_web_process(static_cast<WebKitEngine&>(session.engine()).webView());
    ASSERT_TRUE(waitUntil([&] { return session.failure().has_value(); }));
    EXPECT_EQ(session.failure(), WebSession::processEndedText);

    session.reload();
    ASSERT_TRUE(waitUntil([&] { return server_.requestCount("/") == 2 && !session.loading(); }));
    EXPECT_FALSE(session.failure());
    EXPECT_EQ(runScript(session, "return document.body.textContent === 'alive';"), true);
}

TEST_F(WebKitTest, ARequestReplacingAnUnansweredOneTimesOutOnItsOwn)
{
    using namespace std::chrono_literals;
    auto answer = std::make_shared<std::atomic<bool>>(false);
    auto unanswered = [answer](const HttpRequest&) {
        for (int i = 0; i < 1000 && !*answer; ++i) std::this_thread::sleep_for(10ms);
        return HttpResponse{};
    };
    server_.handle("/first", unanswered);
    server_.handle("/second", unanswered);
    fakes::FakeScheduler scheduler;
    WebSession session(server_.url("/first"), factory().makeEngine(), settings_, scheduler);
    gtk_window_set_child(window_, WebKitEngine::widgetOf(session.engine()));
    ASSERT_TRUE(waitUntil([&] { return server_.requestCount("/first") == 1; }));
    scheduler.advance(30s);

    session.load(server_.url("/second"));
    ASSERT_TRUE(waitUntil([&] { return server_.requestCount("/second") == 1; }));
    runMainLoopFor(200ms);  // the replaced load reports its end
    scheduler.advance(59s);
    EXPECT_FALSE(session.failure());
    scheduler.advance(1s);
    EXPECT_EQ(session.failure(), WebSession::timedOutText);
    runMainLoopFor(200ms);  // the stopped load reports its end
    EXPECT_EQ(session.failure(), WebSession::timedOutText);
    EXPECT_FALSE(session.loading());

    *answer = true;
    gtk_window_set_child(window_, nullptr);
}

TEST_F(WebKitTest, NoResponseIsDownloaded)
{
    HttpResponse binary;
    binary.contentType = "application/octet-stream";
    binary.body = std::string(1024, '\x01');
    server_.serve("/file.bin", binary);
    HttpResponse attachment;
    attachment.contentType = "text/plain; charset=utf-8";
    attachment.body = "attached notes";
    attachment.headers.push_back({"Content-Disposition", "attachment; filename=notes.txt"});
    server_.serve("/notes.txt", attachment);

    WebSession& session = openSession(server_.url("/file.bin"));
    WebKitNetworkSession* network =
        webkit_web_view_get_network_session(static_cast<WebKitEngine&>(session.engine()).webView());
    int downloads = 0;
    const auto handler = g_signal_connect(network, "download-started",
                                          G_CALLBACK(+[](WebKitNetworkSession*, WebKitDownload*, int* count) {
                                              ++*count;
                                          }),
                                          &downloads);
    ASSERT_TRUE(waitUntil([&] { return session.failure().has_value(); }));
    EXPECT_EQ(session.failure(), WebSession::interruptedText);

    // What the view can show is shown, even when sent as an attachment.
    session.load(server_.url("/notes.txt"));
    EXPECT_TRUE(waitForPage(session, server_.url("/notes.txt")));
    EXPECT_EQ(runScript(session, "return document.body.textContent.includes('attached notes');"), true);
    EXPECT_FALSE(session.failure());
    EXPECT_EQ(downloads, 0);
    g_signal_handler_disconnect(network, handler);
}

TEST_F(WebKitTest, CookiesSurviveClosingAndReopeningTheSessionStore)
{
    HttpResponse setter;
    setter.body = linkPage("signed in");
    setter.headers.push_back({"Set-Cookie", "signin=yes; Max-Age=86400; Path=/"});
    server_.serve("/signin", setter);
    server_.serve("/check", linkPage("check"));
    {
        WebSession& session = openSession(server_.url("/signin"));
        ASSERT_TRUE(waitForPage(session, server_.url("/signin")));
        ASSERT_EQ(runScript(session, "document.cookie = 'script=set; max-age=86400; path=/'; return true;"), true);
    }
    closeSessions();
    factory_.reset();
    runMainLoopFor(std::chrono::milliseconds(300));

    WebSession& session = openSession(server_.url("/check"));
    ASSERT_TRUE(waitForPage(session, server_.url("/check")));
    const auto cookie = server_.lastRequest("/check").headers["cookie"];
    EXPECT_NE(cookie.find("signin=yes"), std::string::npos) << cookie;
    EXPECT_NE(cookie.find("script=set"), std::string::npos) << cookie;
}
