// Links that another program drops on the real web view, over the real X11
// drag protocol, against a page whose cookie a script address would send.

#include "WebKitTestFixture.h"

#include "clipboard/window/HelperProgram.h"

#include <fstream>
#include <regex>

// Last: Xlib's macros would clash with the headers above.
#include <gdk/x11/gdkx.h>

using namespace meridavolt;
using namespace meridavolt::testing;
using namespace std::chrono_literals;

namespace {

void xdotool(const std::string& arguments)
{
    g_spawn_command_line_sync(("xdotool " + arguments).c_str(), nullptr, nullptr, nullptr, nullptr);
}

}  // namespace

class WebKitDropTest : public WebKitTest {
protected:
    void SetUp() override
    {
        WebKitTest::SetUp();
        server_.serve("/start", "<!doctype html><script>document.cookie = 'secret=kept'</script>"
                                "<body style='margin:0; height:100vh'><p>drop here</p></body>");
        server_.serve("/next", "<!doctype html><p>arrived</p>");
        session_ = &openSession(server_.url("/start"));
        ASSERT_TRUE(waitForPage(*session_, server_.url("/start")));
    }

    // Another program drags the list from its window onto the middle of the
    // web view, as a hand does. It stays to answer the view's reads.
    std::unique_ptr<DragHelper> dropList(const std::string& list)
    {
        const auto file = folder_ / "list.txt";
        std::ofstream(file, std::ios::binary) << list;
        auto owner = std::make_unique<DragHelper>(std::vector<std::string>{"uris", file.string()});
        DragHelper& helper = *owner;
        EXPECT_NE(helper.windowID(), "0");
        xdotool("windowmove --sync " + helper.windowID() + " 900 100");
        runMainLoopFor(200ms);
        xdotool("mousemove --window " + helper.windowID() + " 150 100");
        runMainLoopFor(100ms);
        xdotool("mousedown 1");
        for (int step = 1; step <= 4; ++step) {
            xdotool("mousemove --window " + helper.windowID() + " " + std::to_string(150 - step * 10) + " 100");
            runMainLoopFor(40ms);
        }
        const auto ourWindow = std::to_string(gdk_x11_surface_get_xid(gtk_native_get_surface(GTK_NATIVE(window_))));
        for (int step = 0; step < 6; ++step) {
            xdotool("mousemove --window " + ourWindow + " " + std::to_string(400 - step) + " 300");
            runMainLoopFor(60ms);
        }
        xdotool("mouseup 1");
        return owner;
    }

    WebSession* session_ = nullptr;
};

TEST_F(WebKitDropTest, ADroppedScriptAddressDoesNothingWhileAWebAddressStillOpens)
{
    for (const std::string list : {"javascript:void fetch('/beacon?' + document.cookie)\r\n",
                                   "JavaScript:void fetch('/beacon?' + document.cookie)\r\n",
                                   "# a comment first\r\njavascript:void fetch('/beacon?' + document.cookie)\r\n",
                                   " javascript:void fetch('/beacon?' + document.cookie)\r\n"}) {
        auto helper = dropList(list);
        // The drop is over for the other program too.
        EXPECT_TRUE(helper->line("drag-end")) << list << helper->transcript();
        // The page stays, and is still there to answer, after any request the drop could have made.
        runMainLoopFor(500ms);
        EXPECT_EQ(evaluateText(*session_, "return location.pathname;", nullptr), "/start") << list;
    }
    EXPECT_FALSE(session_->failure());
    auto helper = dropList(server_.url("/next") + "\r\n");
    EXPECT_TRUE(waitForPage(*session_, server_.url("/next")));
    EXPECT_EQ(server_.requestCount("/beacon"), 0) << server_.lastRequest("/beacon").target;
}

// In a split view, one page drags a script address of its own making onto
// the other page, whose origin and cookie it must not reach; its plain link
// still opens there.
TEST_F(WebKitDropTest, APageCannotDropAScriptAddressOnAnotherPage)
{
    server_.serve("/source", std::regex_replace(R"HTML(<!doctype html><body style='margin:0'>
        <a id=script href="/harmless" style="display:block; height:100px">script</a>
        <a href="http://127.0.0.1:PORT/next" style="display:block; height:100px">plain</a>
        <script>document.getElementById('script').addEventListener('dragstart', (event) => {
            event.dataTransfer.setData('text/uri-list', "javascript:void fetch('/beacon?' + document.cookie)");
        });</script></body>)HTML", std::regex("PORT"), std::to_string(server_.port())));
    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0);
    gtk_box_set_homogeneous(GTK_BOX(box), TRUE);
    gtk_window_set_child(window_, box);
    // Another site, without the other page's cookie.
    sessions_.push_back(std::make_unique<WebSession>(server_.urlOnHost("localhost", "/source"),
                                                     factory().makeEngine(), settings_, MainLoopScheduler::shared()));
    WebSession& source = *sessions_.back();
    for (WebSession* session : {&source, session_}) {
        GtkWidget* view = WebKitEngine::widgetOf(session->engine());
        if (gtk_widget_get_parent(view)) gtk_widget_unparent(view);
        gtk_box_append(GTK_BOX(box), view);
    }
    ASSERT_TRUE(waitForPage(source, server_.urlOnHost("localhost", "/source")));
    runMainLoopFor(300ms);
    const auto ourWindow = std::to_string(gdk_x11_surface_get_xid(gtk_native_get_surface(GTK_NATIVE(window_))));
    // From a link on the left half to the middle of the right half.
    const auto drag = [&](int y) {
        xdotool("mousemove --window " + ourWindow + " 100 " + std::to_string(y));
        runMainLoopFor(100ms);
        xdotool("mousedown 1");
        for (int step = 1; step <= 30; ++step) {
            xdotool("mousemove --window " + ourWindow + " " + std::to_string(100 + step * 20) + " " +
                    std::to_string(y + step * 5));
            runMainLoopFor(40ms);
        }
        xdotool("mouseup 1");
    };
    drag(50);
    runMainLoopFor(1s);
    EXPECT_EQ(evaluateText(*session_, "return location.pathname;", nullptr), "/start");
    EXPECT_EQ(server_.requestCount("/beacon"), 0) << server_.lastRequest("/beacon").target;
    drag(150);
    EXPECT_TRUE(waitForPage(*session_, server_.url("/next")));
    EXPECT_EQ(server_.requestCount("/beacon"), 0);
}
