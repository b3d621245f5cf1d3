#include "PaneTestFixture.h"

#include "platform/glib/MainLoopScheduler.h"
#include "web/webkit/WebKitEngine.h"
#include "web/webkit/WebKitEngineFactory.h"
#include "support/LocalHttpServer.h"

#include <webkit/webkit.h>

using namespace meridavolt;
using namespace meridavolt::testing;

// Panes over real WebKitGTK pages.
class WebSurfaceTest : public PaneTest {
protected:
    void SetUp() override
    {
        PaneTest::SetUp();
        factory_ = std::make_unique<WebKitEngineFactory>(
            WebKitEngineFactory::Folders{folder_ / "data", folder_ / "cache", folder_ / "filters"});
        server_.serve("/long", "<!doctype html><body style='height:5000px'><input id=field></body>");
    }

    void TearDown() override
    {
        PaneTest::TearDown();
        factory_.reset();
    }

    void openPage(const std::string& url)
    {
        session_ = std::make_unique<WebSession>(url, factory_->makeEngine(), settings_, MainLoopScheduler::shared());
        showPane();
        ASSERT_TRUE(waitUntil([&] { return !session_->loading() && session_->engine().currentAddress() == url; }));
    }

    GtkWidget* view() { return WebKitEngine::widgetOf(session_->engine()); }

    std::optional<bool> runScript(const std::string& body)
    {
        std::optional<bool> answer;
        bool done = false;
        session_->engine().runScript(body, {}, [&](std::optional<bool> result) {
            answer = result;
            done = true;
        });
        waitUntil([&] { return done; });
        return answer;
    }

    fakes::TemporaryFolder folder_;
    LocalHttpServer server_;
    std::unique_ptr<WebKitEngineFactory> factory_;
};

TEST_F(WebSurfaceTest, AnInactivePaneGivesUpTheFocusAndKeepsItsPage)
{
    openPage(server_.url("/long"));
    ASSERT_EQ(runScript("document.getElementById('field').focus({preventScroll: true}); window.scrollTo(0, 1200);"
                        " return window.scrollY === 1200;"),
              true);
    gtk_widget_grab_focus(view());
    ASSERT_TRUE(waitUntil([&] { return gtk_widget_has_focus(view()); }));

    pane_->setActive(false);
    EXPECT_FALSE(gtk_widget_has_focus(view()));
    EXPECT_EQ(gtk_root_get_focus(GTK_ROOT(window_->gobj())), nullptr);
    EXPECT_FALSE(gtk_widget_get_visible(view()));

    pane_->setActive(true);
    EXPECT_TRUE(gtk_widget_get_visible(view()));
    EXPECT_EQ(runScript("return window.scrollY === 1200;"), true);
    EXPECT_EQ(server_.requestCount("/long"), 1);
}

TEST_F(WebSurfaceTest, ARebuiltPaneTakesTheSameViewWithoutReloading)
{
    openPage(server_.url("/long"));
    GtkWidget* firstView = view();
    auto oldPane = std::move(pane_);
    window_->unset_child();
    showPane();  // a new pane for the same session, while the old one still exists
    EXPECT_EQ(gtk_widget_get_parent(firstView), findNamed(*pane_, "page")->gobj());
    oldPane.reset();
    EXPECT_EQ(gtk_widget_get_parent(firstView), findNamed(*pane_, "page")->gobj());
    EXPECT_EQ(server_.requestCount("/long"), 1);
}

TEST_F(WebSurfaceTest, AFailureCoversThePageAndItsReloadRequestsTheAddressAnew)
{
    const auto port = LocalHttpServer::unusedPort();
    const std::string url = "http://127.0.0.1:" + std::to_string(port) + "/";
    session_ = std::make_unique<WebSession>(url, factory_->makeEngine(), settings_, MainLoopScheduler::shared());
    showPane();
    ASSERT_TRUE(waitUntil([&] { return session_->failure().has_value(); }));
    EXPECT_TRUE(part("failurePanel").get_visible());
    EXPECT_FALSE(part("page").get_can_target());  // clicks never reach the page under the panel

    LocalHttpServer late(port);
    late.serve("/", "<!doctype html>back");
    click("failureReload");
    ASSERT_TRUE(waitUntil([&] { return late.requestCount("/") == 1 && !session_->loading(); }));
    EXPECT_FALSE(part("failurePanel").get_visible());
    EXPECT_TRUE(part("page").get_can_target());
}
