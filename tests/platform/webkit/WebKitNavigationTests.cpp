#include "WebKitTestFixture.h"

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
