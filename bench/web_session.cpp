// Web session figures: the time from creating a session to its first page
// finished on a local server, and the memory of this process plus its WebKit
// web and network processes with one and with three sessions loaded.
#include "ProcessMemory.h"
#include "fakes/MemorySettings.h"
#include "fakes/TemporaryFolder.h"
#include "platform/gdk/DisplayGLProbe.h"
#include "platform/glib/MainLoopScheduler.h"
#include "web/webkit/WebKitEngine.h"
#include "web/webkit/WebKitEngineFactory.h"
#include "support/LocalHttpServer.h"
#include "support/MainLoopWait.h"
#include "web/WebSession.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using namespace meridavolt;
using namespace std::chrono;

namespace {

const char* const page = R"HTML(<!doctype html><html><head><title>bench</title>
<style>body { font: 16px sans-serif; } .card { margin: 8px; padding: 8px; border: 1px solid #ccc; }</style>
</head><body><h1>Local page</h1>
<script>for (let i = 0; i < 200; i++) document.write('<div class=card>Card ' + i + ' テキスト</div>');</script>
</body></html>)HTML";

std::map<int, int> parentsByPid()
{
    std::map<int, int> parents;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const auto name = entry.path().filename().string();
        if (!std::all_of(name.begin(), name.end(), ::isdigit)) continue;
        std::ifstream stat(entry.path() / "stat");
        std::string content((std::istreambuf_iterator<char>(stat)), {});
        const auto close = content.rfind(')');
        if (close == std::string::npos) continue;
        std::istringstream rest(content.substr(close + 2));
        std::string state;
        int parent = 0;
        rest >> state >> parent;
        parents[std::stoi(name)] = parent;
    }
    return parents;
}

std::string commandName(int pid)
{
    std::ifstream comm("/proc/" + std::to_string(pid) + "/comm");
    std::string name;
    std::getline(comm, name);
    return name;
}

// This process and every WebKit process below it (sandbox launchers are skipped).
struct MemoryFigure {
    long totalKilobytes = 0;
    std::vector<std::string> parts;
};

MemoryFigure processTreeMemory()
{
    const int self = ::getpid();
    const auto parents = parentsByPid();
    MemoryFigure figure;
    for (const auto& [pid, parent] : parents) {
        int ancestor = pid;
        while (ancestor > 1 && ancestor != self) {
            auto found = parents.find(ancestor);
            ancestor = found == parents.end() ? 0 : found->second;
        }
        if (ancestor != self) continue;
        const auto name = commandName(pid);
        if (pid != self && name.rfind("WebKit", 0) != 0) continue;
        const long pss = bench::processMemory(std::to_string(pid)).pss;
        figure.totalKilobytes += pss;
        figure.parts.push_back(name + " " + std::to_string(pss / 1024) + " MB");
    }
    return figure;
}

bool loaded(WebSession& session, const std::string& url)
{
    return !session.loading() && session.engine().currentAddress() == url;
}

void printMemory(const char* label)
{
    testing::runMainLoopFor(seconds(2));  // let the processes settle
    const auto figure = processTreeMemory();
    std::printf("%s: %ld MB PSS (", label, figure.totalKilobytes / 1024);
    for (std::size_t i = 0; i < figure.parts.size(); ++i) std::printf("%s%s", i ? ", " : "", figure.parts[i].c_str());
    std::printf(")\n");
}

}  // namespace

int main()
{
    // Drawn as the program draws on this display.
    const auto webAcceleration = fitRendererToDisplay().webAccelerationNever ? WebKitEngineFactory::Acceleration::never
                                                                            : WebKitEngineFactory::Acceleration::toolkitDefault;
    gtk_init();
    fakes::TemporaryFolder folder;
    fakes::MemorySettings settings;
    testing::LocalHttpServer server;
    for (int i = 0; i < 3; ++i) server.serve("/page" + std::to_string(i), page);
    WebKitEngineFactory factory({folder / "data", folder / "cache", folder / "filters"}, webAcceleration);
    GtkWindow* window = GTK_WINDOW(gtk_window_new());
    gtk_window_set_default_size(window, 1120, 780);
    GtkWidget* stack = gtk_stack_new();
    gtk_window_set_child(window, stack);
    gtk_window_present(window);

    // Time to first page: the first session also starts the web and network processes.
    std::vector<double> milliseconds;
    std::vector<std::unique_ptr<WebSession>> sessions;
    for (int round = 0; round < 6; ++round) {
        const auto url = server.url("/page0");
        const auto start = steady_clock::now();
        auto session = std::make_unique<WebSession>(url, factory.makeEngine(), settings, MainLoopScheduler::shared());
        gtk_stack_add_child(GTK_STACK(stack), WebKitEngine::widgetOf(session->engine()));
        if (!testing::waitUntil([&] { return loaded(*session, url); }, seconds(30))) {
            std::printf("page did not load\n");
            return 1;
        }
        milliseconds.push_back(duration<double, std::milli>(steady_clock::now() - start).count());
        gtk_stack_remove(GTK_STACK(stack), WebKitEngine::widgetOf(session->engine()));
    }
    std::printf("session created to first load finished: first %.0f ms", milliseconds[0]);
    std::sort(milliseconds.begin() + 1, milliseconds.end());
    std::printf(", later sessions median %.0f ms (min %.0f, max %.0f)\n", milliseconds[3], milliseconds[1],
                milliseconds.back());

    testing::runMainLoopFor(seconds(2));  // the measured sessions' processes go away
    for (int count = 1; count <= 3; ++count) {
        const auto url = server.url("/page" + std::to_string(count - 1));
        sessions.push_back(
            std::make_unique<WebSession>(url, factory.makeEngine(), settings, MainLoopScheduler::shared()));
        GtkWidget* view = WebKitEngine::widgetOf(sessions.back()->engine());
        gtk_stack_add_child(GTK_STACK(stack), view);
        gtk_stack_set_visible_child(GTK_STACK(stack), view);
        testing::waitUntil([&] { return loaded(*sessions.back(), url); }, seconds(30));
        if (count == 1 || count == 3) {
            const std::string label = std::to_string(count) + (count == 1 ? " session loaded" : " sessions loaded");
            printMemory(label.c_str());
        }
    }
    for (auto& session : sessions) gtk_stack_remove(GTK_STACK(stack), WebKitEngine::widgetOf(session->engine()));
    sessions.clear();
    gtk_window_destroy(window);
    return 0;
}
