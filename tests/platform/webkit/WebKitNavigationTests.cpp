#include "WebKitTestFixture.h"

#include <filesystem>

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

TEST_F(WebKitTest, AResponseThatCannotBeShownIsNotDownloaded)
{
    HttpResponse binary;
    binary.contentType = "application/octet-stream";
    binary.body = std::string(1024, '\x01');
    server_.serve("/file.bin", binary);
    WebSession& session = openSession(server_.url("/file.bin"));
    ASSERT_TRUE(waitUntil([&] { return session.failure().has_value(); }));
    EXPECT_EQ(session.failure(), WebSession::interruptedText);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder_.path())) {
        EXPECT_NE(entry.path().filename(), "file.bin") << entry.path();
    }
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
