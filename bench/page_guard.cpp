// What the guard of script addresses costs a click: on a link nested 200 and
// 25 elements deep that fills the view, the time from a real click to the
// page's own bubbling listener and to the start of the link's navigation, and
// the time of a click the page's script makes; on a page of 10,000 links, the
// time of a scripted click. Every figure is taken inside the page, from the
// event's own time stamp.
#include "BenchSupport.h"
#include "fakes/MemorySettings.h"
#include "fakes/TemporaryFolder.h"
#include "support/LocalHttpServer.h"
#include "support/MainLoopWait.h"
#include "web/WebSession.h"
#include "web/webkit/WebKitEngine.h"

#include <gdk/x11/gdkx.h>
#include <webkit/webkit.h>

#include <cstdlib>
#include <sstream>

using namespace meridavolt;
using namespace std::chrono;

namespace {

// A link `depth` elements deep over the whole view. Its bubbling listener
// keeps the latency of real clicks; `beforeunload` keeps that of the
// navigation they start; a scripted click is stopped by the page itself.
std::string deepPage(int depth)
{
    std::string page = "<!doctype html><html><head><style>body { margin: 0 } div, a { display: block; "
                       "height: 100vh }</style></head><body>";
    for (int level = 0; level < depth - 1; ++level) page += "<div>";
    page += "<a id=link href='/arrived'>deep link</a>";
    for (int level = 0; level < depth - 1; ++level) page += "</div>";
    return page + R"HTML(<script>
const link = document.getElementById('link');
let clickTime = 0;
window.scripted = false;
link.addEventListener('click', (event) => {
  if (window.scripted) return event.preventDefault();
  clickTime = event.timeStamp;
  sessionStorage.listener = performance.now() - event.timeStamp;
});
addEventListener('beforeunload', () => { sessionStorage.navigation = performance.now() - clickTime; });
</script></body></html>)HTML";
}

std::string manyLinksPage()
{
    std::string page = "<!doctype html><html><body>";
    for (int index = 0; index < 10000; ++index) page += "<a href='/arrived'>link " + std::to_string(index) + "</a> ";
    return page + R"HTML(<script>
document.addEventListener('click', (event) => event.preventDefault());
</script></body></html>)HTML";
}

// Average milliseconds of one scripted click, in the page's own world.
const char* const scriptedClicks = R"JS(
window.scripted = true;
const links = document.querySelectorAll('a');
const target = links[links.length >> 1];
const start = performance.now();
for (let round = 0; round < 20; round++) target.click();
return String((performance.now() - start) / 20);
)JS";

std::string evaluate(WebSession& session, const std::string& body)
{
    struct Result {
        bool done = false;
        std::string text;
    } result;
    webkit_web_view_call_async_javascript_function(
        static_cast<WebKitEngine&>(session.engine()).webView(), body.c_str(), -1, nullptr, nullptr, nullptr, nullptr,
        [](GObject* view, GAsyncResult* async, gpointer data) {
            auto* result = static_cast<Result*>(data);
            if (JSCValue* value =
                    webkit_web_view_call_async_javascript_function_finish(WEBKIT_WEB_VIEW(view), async, nullptr)) {
                gchar* text = jsc_value_to_string(value);
                result->text = text;
                g_free(text);
                g_object_unref(value);
            }
            result->done = true;
        },
        &result);
    // The answer writes into this frame: without it there is no going on.
    if (!testing::waitUntil([&] { return result.done; }, minutes(5))) std::abort();
    return result.text;
}

bool showsPage(WebSession& session, const std::string& url)
{
    return testing::waitUntil(
        [&] { return !session.loading() && session.engine().currentAddress() == url; }, seconds(30));
}

void clickMiddleOf(GtkWindow* window)
{
    const auto xid = gdk_x11_surface_get_xid(gtk_native_get_surface(GTK_NATIVE(window)));
    const std::string command = "xdotool mousemove --window " + std::to_string(xid) + " 400 300 click 1";
    g_spawn_command_line_sync(command.c_str(), nullptr, nullptr, nullptr, nullptr);
}

void measureDeepPage(int depth, WebSession& session, GtkWindow* window, testing::LocalHttpServer& server)
{
    const std::string path = "/deep" + std::to_string(depth);
    server.serve(path, deepPage(depth));
    std::vector<double> listener, navigation, scripted;
    for (int round = 0; round < 15; ++round) {
        session.load(server.url(path));
        if (!showsPage(session, server.url(path))) return;
        testing::runMainLoopFor(milliseconds(100));  // laid out and drawn
        scripted.push_back(std::atof(evaluate(session, scriptedClicks).c_str()));
        evaluate(session, "window.scripted = false; return 'ready';");
        clickMiddleOf(window);
        if (!showsPage(session, server.url("/arrived"))) return;
        listener.push_back(std::atof(evaluate(session, "return sessionStorage.listener;").c_str()));
        navigation.push_back(std::atof(evaluate(session, "return sessionStorage.navigation;").c_str()));
    }
    const std::string deep = std::to_string(depth) + " deep: ";
    bench::printFigures((deep + "real click to the page's listener").c_str(), listener, std::nullopt);
    bench::printFigures((deep + "real click to its navigation").c_str(), navigation, std::nullopt);
    bench::printFigures((deep + "scripted click").c_str(), scripted, std::nullopt);
}

}  // namespace

int main()
{
    fakes::TemporaryFolder home;
    const auto acceleration = bench::webAcceleration(bench::startProcess(home));
    fakes::MemorySettings settings;
    testing::LocalHttpServer server;
    server.serve("/arrived", "<!doctype html><p>arrived</p>");
    server.serve("/links", manyLinksPage());
    WebKitEngineFactory factory({home / "data", home / "cache", home / "filters"}, acceleration);
    GtkWindow* window = GTK_WINDOW(gtk_window_new());
    gtk_window_set_default_size(window, 800, 600);
    WebSession session(server.url("/arrived"), factory.makeEngine(), settings, MainLoopScheduler::shared());
    gtk_window_set_child(window, WebKitEngine::widgetOf(session.engine()));
    gtk_window_present(window);
    if (!showsPage(session, server.url("/arrived"))) {
        std::printf("the page did not load\n");
        return 1;
    }
    measureDeepPage(200, session, window, server);
    measureDeepPage(25, session, window, server);

    std::vector<double> scripted;
    for (int round = 0; round < 5; ++round) {
        session.load(server.url("/links"));
        if (!showsPage(session, server.url("/links"))) return 1;
        scripted.push_back(std::atof(evaluate(session, scriptedClicks).c_str()));
    }
    bench::printFigures("10,000 links: scripted click", scripted, std::nullopt);
    gtk_window_set_child(window, nullptr);
    gtk_window_destroy(window);
    return 0;
}
