// Memory of the window's process while a page adds history entries of its own
// (history.pushState), each with a different picture on screen, after the
// session has left that page and after the sessions are closed: with the back
// and forward swipe on, as sessions have it, and with it off; then with more
// entries than a history keeps, in two sessions one after the other. Each
// configuration runs in a process of its own.
#include "BenchSupport.h"
#include "ProcessMemory.h"
#include "fakes/MemorySettings.h"
#include "fakes/TemporaryFolder.h"
#include "platform/glib/MainLoopScheduler.h"
#include "web/webkit/WebKitEngine.h"
#include "web/webkit/WebKitEngineFactory.h"
#include "support/LocalHttpServer.h"
#include "support/MainLoopWait.h"
#include "web/WebSession.h"

#include <gtk/gtk.h>
#include <malloc.h>
#include <webkit/webkit.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

using namespace meridavolt;
using namespace std::chrono;

namespace {

int entries = 90;
int sessionCount = 1;

// Fills the window with a new picture, lets it reach the screen, then adds a
// history entry, slowly enough for the engine, which refuses entries added
// faster than about ten a second; the title says how far it got.
const char* const historyPage = R"HTML(<!doctype html><html><head><title>0</title>
<style>body { margin: 0 } canvas { display: block }</style></head><body><canvas></canvas><script>
const canvas = document.querySelector('canvas');
canvas.width = innerWidth;
canvas.height = innerHeight;
const context = canvas.getContext('2d');
const draw = (step) => {
  for (let y = 0; y < canvas.height; y += 40) {
    for (let x = 0; x < canvas.width; x += 40) {
      context.fillStyle = 'hsl(' + ((x + y + step * 37) % 360) + ', 70%, ' + (30 + (x * step + y) % 40) + '%)';
      context.fillRect(x, y, 40, 40);
    }
  }
  context.fillStyle = 'black';
  context.font = '48px sans-serif';
  context.fillText('entry ' + step, 40, 80);
};
const next = (step) => {
  draw(step);
  requestAnimationFrame(() => requestAnimationFrame(() => setTimeout(() => {
    history.pushState({ step }, '', '?entry=' + step);
    document.title = String(step);
    if (step < %ENTRIES%) next(step + 1);
  }, 120)));
};
next(1);
</script></body></html>)HTML";

void printMemory(const char* when)
{
    testing::runMainLoopFor(seconds(3));  // let the engine settle
    const bench::ProcessMemory memory = bench::processMemory();
    std::printf("  %-34s RSS %4ld MB  PSS %4ld MB  private %4ld MB\n", when, memory.rss / 1024, memory.pss / 1024,
                memory.privateKilobytes / 1024);
}

bool pageDone(WebSession& session)
{
    const char* title = webkit_web_view_get_title(static_cast<WebKitEngine&>(session.engine()).webView());
    return title && std::to_string(entries) == title;
}

int measure(bool gestures)
{
    // Not on a home of its own: the accessibility bus that the first run
    // starts stays announced on the display for the runs after it.
    const auto webAcceleration = bench::webAcceleration(fitRendererToDisplay());
    gtk_init();
    fakes::TemporaryFolder folder;
    fakes::MemorySettings settings;
    testing::LocalHttpServer server;
    std::string page = historyPage;
    page.replace(page.find("%ENTRIES%"), std::strlen("%ENTRIES%"), std::to_string(entries));
    server.serve("/history", page);
    server.serve("/elsewhere", "<!doctype html><p>elsewhere</p>");
    WebKitEngineFactory factory({folder / "data", folder / "cache", folder / "filters"}, webAcceleration);
    GtkWindow* window = GTK_WINDOW(gtk_window_new());
    gtk_window_set_default_size(window, 1120, 780);
    gtk_window_present(window);

    std::printf("back and forward swipe %s:\n", gestures ? "on (as sessions have it)" : "off");
    std::vector<std::unique_ptr<WebSession>> sessions;
    for (int count = 1; count <= sessionCount; ++count) {
        sessions.push_back(std::make_unique<WebSession>(server.url("/elsewhere"), factory.makeEngine(), settings,
                                                        MainLoopScheduler::shared()));
        WebSession& session = *sessions.back();
        WebKitWebView* view = static_cast<WebKitEngine&>(session.engine()).webView();
        webkit_settings_set_enable_back_forward_navigation_gestures(webkit_web_view_get_settings(view), gestures);
        gtk_window_set_child(window, GTK_WIDGET(view));
        testing::waitUntil([&] { return !session.loading() && session.engine().currentAddress(); }, seconds(30));
        if (count == 1) printMemory("first page loaded");

        session.load(server.url("/history"));
        if (!testing::waitUntil([&] { return pageDone(session); }, seconds(180))) {
            std::printf("the page did not add its entries\n");
            return 1;
        }
        const std::string added = std::to_string(entries) + " entries added in session " + std::to_string(count);
        printMemory(added.c_str());

        session.load(server.url("/elsewhere"));
        testing::waitUntil([&] { return !session.loading(); }, seconds(30));
        printMemory(("page left in session " + std::to_string(count)).c_str());
    }
    gtk_window_set_child(window, nullptr);
    sessions.clear();
    printMemory("sessions closed");
    malloc_trim(0);
    printMemory("freed memory given back (malloc_trim)");
    gtk_window_destroy(window);
    return 0;
}

}  // namespace

// Options: --gestures or --no-gestures, then how many entries each page adds
// and in how many sessions one after another. Without options it runs both
// with 90 entries in one session, then the swipe on with 150 entries in two.
int main(int argc, char** argv)
{
    if (argc == 4) {
        entries = std::atoi(argv[2]);
        sessionCount = std::atoi(argv[3]);
        return measure(std::strcmp(argv[1], "--gestures") == 0);
    }
    int failures = 0;
    const std::vector<std::vector<std::string>> runs = {
        {"--gestures", "90", "1"}, {"--no-gestures", "90", "1"}, {"--gestures", "150", "2"}};
    for (const auto& run : runs) {
        std::vector<char*> child = {argv[0]};
        for (const auto& option : run) child.push_back(const_cast<char*>(option.c_str()));
        child.push_back(nullptr);
        int status = 0;
        if (!g_spawn_sync(nullptr, child.data(), nullptr, G_SPAWN_CHILD_INHERITS_STDIN, nullptr, nullptr, nullptr,
                          nullptr, &status, nullptr) ||
            !g_spawn_check_wait_status(status, nullptr)) {
            ++failures;
        }
    }
    return failures;
}
