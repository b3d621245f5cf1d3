// The whole program as a person runs it: the built binary with three services
// on three local sites (127.0.0.1, .2 and .3, each a page of about 0.5 MB with
// scripts and images, served here), opened with Ctrl+1..3 after the start-up
// animation. Prints, as medians over interleaved runs:
//   - exec to the window mapped;
//   - PSS of the whole process tree (UI, web and network processes, from
//     /proc/PID/smaps_rollup) with 1 service and with 3, each 10 s after its
//     pages reported loaded, and the UI process's share;
// for the renderer the program chooses on this display and for the toolkit's
// defaults (GSK_RENDERER=gl, WEBKIT_DISABLE_COMPOSITING_MODE=0), the way the
// program drew before it chose.
// Then, idle with one animated page (a box moved every animation frame) on a
// desktop with a window manager (openbox): the UI process's CPU and page
// faults a second over 10 s, PSS, and which processes map Mesa's GL driver;
// for this build and, given --baseline, for another build of the program (an
// older commit), interleaved.
//
//   bench_whole_program [--runs=N] [--starts=N] [--idle-runs=N] [--baseline=PATH]
#include "../tests/app/window/ApplicationProcess.h"
#include "../tests/app/window/DesktopProbe.h"
#include "ProcessMemory.h"
#include "fakes/TemporaryFolder.h"
#include "model/LibraryRepository.h"
#include "platform/SettingsFile.h"
#include "platform/gdk/DisplayGLProbe.h"
#include "support/LocalHttpServer.h"
#include "support/WindowManager.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace meridavolt {
namespace {

using namespace std::chrono_literals;
using Steady = std::chrono::steady_clock;

// --- The sites

std::string noisePNG(int width, int height, unsigned seed)
{
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, width, height);
    const int stride = gdk_pixbuf_get_rowstride(pixbuf);
    guchar* pixels = gdk_pixbuf_get_pixels(pixbuf);
    std::mt19937 random(seed);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width * 3; ++x) pixels[y * stride + x] = static_cast<guchar>(random() & 0xff);
    }
    gchar* buffer = nullptr;
    gsize size = 0;
    gdk_pixbuf_save_to_buffer(pixbuf, &buffer, &size, "png", nullptr, nullptr);
    g_object_unref(pixbuf);
    std::string bytes(buffer, size);
    g_free(buffer);
    return bytes;
}

// About 200 KB of script that builds a list of cards, as a web application's bundle does.
std::string script(int site)
{
    std::string data = "var items = [\n";
    for (int i = 0; i < 2500; ++i) {
        data += "  {id: " + std::to_string(i) + ", title: 'Item " + std::to_string(i) + " of site " +
                std::to_string(site) + "', text: 'Lorem ipsum dolor sit amet, consectetur adipiscing elit.'},\n";
    }
    data += "];\n"
            "function render() {\n"
            "  var list = document.getElementById('list');\n"
            "  items.forEach(function (item) {\n"
            "    var card = document.createElement('div'); card.className = 'card';\n"
            "    card.innerHTML = '<h3>' + item.title + '</h3><p>' + item.text + '</p>';\n"
            "    list.appendChild(card);\n"
            "  });\n"
            "}\n"
            "document.addEventListener('DOMContentLoaded', render);\n"
            "window.addEventListener('load', function () { setTimeout(function () { fetch('/loaded'); }, 0); });\n";
    return data;
}

std::string page(int site)
{
    std::string html = "<!doctype html><html><head><meta charset=utf-8><title>Site " + std::to_string(site) +
                       "</title><style>.card{border:1px solid #ccc;margin:4px;padding:4px;border-radius:6px;"
                       "box-shadow:0 1px 3px #0003}img{width:300px}</style>"
                       "<script src=/app.js></script></head><body><h1>Site " + std::to_string(site) + "</h1>"
                       "<img src=/a.png><img src=/b.png><img src=/c.png><div id=list></div>";
    for (int i = 0; i < 200; ++i) {
        html += "<p>Paragraph " + std::to_string(i) +
                ": the quick brown fox jumps over the lazy dog, and the page goes on.</p>";
    }
    return html + "</body></html>";
}

struct Site {
    explicit Site(int number) : server(0, "127.0.0." + std::to_string(number))
    {
        server.serve("/", page(number));
        server.serve("/app.js", testing::HttpResponse{200, "text/javascript", script(number), {}});
        int seed = number * 10;
        for (const char* image : {"/a.png", "/b.png", "/c.png"}) {
            server.serve(image, testing::HttpResponse{200, "image/png", noisePNG(220, 130, seed++), {}});
        }
        server.serve("/loaded", testing::HttpResponse{204, "text/plain", "", {}});
    }
    bool loaded() const { return server.requestCount("/loaded") > 0; }
    testing::LocalHttpServer server;
};

// A page that moves a box on every animation frame, and nothing else.
struct AnimatedSite {
    AnimatedSite()
    {
        server.serve("/", "<!doctype html><html><head><meta charset=utf-8><title>Animated</title>"
                          "<style>#box{position:absolute;top:100px;width:200px;height:200px;background:#d22}</style>"
                          "</head><body><div id=box></div><script>"
                          "let x = 0;"
                          "function step() { x = (x + 3) % 600; box.style.left = x + 'px'; requestAnimationFrame(step); }"
                          "requestAnimationFrame(step);"
                          "window.addEventListener('load', function () { fetch('/loaded'); });"
                          "</script></body></html>");
        server.serve("/loaded", testing::HttpResponse{204, "text/plain", "", {}});
    }
    bool loaded() const { return server.requestCount("/loaded") > 0; }
    testing::LocalHttpServer server{0, "127.0.0.4"};
};

// --- Memory of a process tree

std::vector<pid_t> processTree(pid_t root)
{
    std::map<pid_t, pid_t> parents;
    if (DIR* proc = opendir("/proc")) {
        while (dirent* entry = readdir(proc)) {
            const pid_t pid = static_cast<pid_t>(std::atoi(entry->d_name));
            if (pid <= 0) continue;
            std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
            std::string content((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
            const auto end = content.rfind(')');
            if (end == std::string::npos) continue;
            std::istringstream fields(content.substr(end + 2));
            std::string state;
            pid_t parent = 0;
            fields >> state >> parent;
            parents[pid] = parent;
        }
        closedir(proc);
    }
    std::vector<pid_t> tree{root};
    for (std::size_t i = 0; i < tree.size(); ++i) {
        for (const auto& [pid, parent] : parents) {
            if (parent == tree[i]) tree.push_back(pid);
        }
    }
    return tree;
}

struct Memory {
    double tree = 0;
    double ui = 0;
};

std::string fileText(const std::string& path)
{
    std::ifstream file(path);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// Whether `pid` maps Mesa's GL driver.
bool mapsGLDriver(pid_t pid)
{
    const std::string maps = fileText("/proc/" + std::to_string(pid) + "/maps");
    return maps.find("swrast_dri") != std::string::npos || maps.find("libLLVM") != std::string::npos;
}

// The processes of the tree that do real work, by name: the sandbox's
// helpers (bwrap, xdg-dbus-proxy) are left out.
std::vector<std::pair<std::string, pid_t>> namedProcesses(pid_t root)
{
    std::vector<std::pair<std::string, pid_t>> named;
    for (pid_t pid : processTree(root)) {
        std::string name = fileText("/proc/" + std::to_string(pid) + "/comm");
        if (!name.empty() && name.back() == '\n') name.pop_back();
        if (pid == root) name = "UI";
        else if (name.rfind("WebKitWebProces", 0) == 0) name = "web";
        else if (name.rfind("WebKitNetworkPr", 0) == 0) name = "network";
        else continue;
        named.emplace_back(name, pid);
    }
    return named;
}

// CPU time (user and system) and minor page faults of one process so far.
struct Usage {
    double cpuSeconds = 0;
    double minorFaults = 0;
};

Usage usageOf(pid_t pid)
{
    const std::string stat = fileText("/proc/" + std::to_string(pid) + "/stat");
    const auto end = stat.rfind(')');
    if (end == std::string::npos) return {};
    // Fields after the name, from the third (state): minflt is the 10th, utime and stime the 14th and 15th.
    std::istringstream fields(stat.substr(end + 2));
    std::vector<std::string> values;
    std::string value;
    while (fields >> value && values.size() < 13) values.push_back(value);
    if (values.size() < 13) return {};
    const double ticks = static_cast<double>(sysconf(_SC_CLK_TCK));
    return Usage{(std::stod(values[11]) + std::stod(values[12])) / ticks, std::stod(values[7])};
}

Memory memoryOf(pid_t root)
{
    Memory memory;
    for (pid_t pid : processTree(root)) memory.tree += bench::pssMegabytes(std::to_string(pid));
    memory.ui = bench::pssMegabytes(std::to_string(root));
    return memory;
}

// --- Watching the window appear

// Waits for the program's top-level window to be mapped, watching the X
// server's map events from before the program starts; the time it was seen.
// The window is told by its class (the program file's name), not by
// _NET_WM_PID: the toolkit leaves the pid out when it believes itself in a
// sandbox. One program runs at a time. Under a window manager the map seen
// is the frame's, with the window inside.
class MapWatch {
public:
    MapWatch() : display_(XOpenDisplay(nullptr))
    {
        if (!display_) throw std::runtime_error("no X display");
        XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
        XSync(display_, False);
    }
    ~MapWatch() { XCloseDisplay(display_); }

    std::optional<Steady::time_point> waitForWindow(std::chrono::seconds timeout)
    {
        const auto end = Steady::now() + timeout;
        while (Steady::now() < end) {
            while (XPending(display_)) {
                XEvent event;
                XNextEvent(display_, &event);
                if (event.type != MapNotify) continue;
                if (const Window window = programWindowIn(event.xmap.window)) {
                    window_ = window;
                    return Steady::now();
                }
            }
            pollfd fd{ConnectionNumber(display_), POLLIN, 0};
            ::poll(&fd, 1, 20);
        }
        return std::nullopt;
    }
    unsigned long window() const { return window_; }

private:
    // The program's window: `window` itself or, when a window manager maps
    // its frame around it, a window inside that frame; 0 when neither.
    Window programWindowIn(Window window, int depth = 0)
    {
        if (isProgramWindow(window)) return window;
        if (depth == 2) return 0;
        Window root = 0, parent = 0, found = 0;
        Window* children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(display_, window, &root, &parent, &children, &count)) return 0;
        for (unsigned i = 0; i < count && !found; ++i) found = programWindowIn(children[i], depth + 1);
        if (children) XFree(children);
        return found;
    }

    bool isProgramWindow(Window window)
    {
        XClassHint hint{};
        if (!XGetClassHint(display_, window, &hint)) return false;
        const bool program = hint.res_name && programName_ == hint.res_name;
        if (hint.res_name) XFree(hint.res_name);
        if (hint.res_class) XFree(hint.res_class);
        return program;
    }

    Display* display_;
    // The toolkit names the window's class after the program's file.
    const std::string programName_ = testing::ApplicationProcess::programPath().filename().string();
    Window window_ = 0;
};

// --- One run

struct Mode {
    const char* name;
    std::map<std::string, std::string> environment;
};

struct RunFigures {
    double mappedMilliseconds = 0;
    Memory oneService;
    Memory threeServices;
};

void storeLibrary(const fakes::TemporaryFolder& home, const std::vector<std::string>& addresses)
{
    ServiceLibrary library;
    for (std::size_t i = 0; i < addresses.size(); ++i) {
        Service service;
        service.id = "site" + std::to_string(i + 1);
        service.name = "Site " + std::to_string(i + 1);
        service.symbol = "globe";
        service.url = addresses[i];
        library.services.push_back(service);
    }
    JSONLibraryRepository(testing::dataFolder(home) / "services.json").save(library);
    SettingsFile settings(testing::configFolder(home) / "settings.json");
    settings.setBool("embeddedYouTubeDefault.v1", true);
    settings.setBool("canvaEmbeddedMigration.v1", true);
}

bool waitFor(const std::function<bool()>& condition, std::chrono::seconds timeout)
{
    const auto end = Steady::now() + timeout;
    while (!condition()) {
        if (Steady::now() > end) return false;
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

// Starts the program and waits for its window; the time from exec to the map.
std::optional<double> startOnly(const Mode& mode)
{
    fakes::TemporaryFolder home;
    testing::PrivateSessionBus bus;
    MapWatch watch;
    const auto started = Steady::now();
    testing::ApplicationProcess app(home, bus.address(), mode.environment);
    auto mapped = watch.waitForWindow(30s);
    if (!mapped) return std::nullopt;
    return std::chrono::duration<double, std::milli>(*mapped - started).count();
}

std::optional<RunFigures> fullRun(const Mode& mode)
{
    Site one(1), two(2), three(3);
    fakes::TemporaryFolder home;
    storeLibrary(home, {one.server.url("/"), two.server.url("/"), three.server.url("/")});
    testing::PrivateSessionBus bus;
    testing::DesktopProbe probe;
    MapWatch watch;
    RunFigures figures;
    const auto started = Steady::now();
    testing::ApplicationProcess app(home, bus.address(), mode.environment);
    auto mapped = watch.waitForWindow(30s);
    if (!mapped) {
        std::fprintf(stderr, "no window: %s\n", app.errorOutput().c_str());
        return std::nullopt;
    }
    figures.mappedMilliseconds = std::chrono::duration<double, std::milli>(*mapped - started).count();
    const auto window = watch.window();

    // The start-up animation runs about four seconds, then opens the first service.
    std::this_thread::sleep_for(5s);
    probe.pressKeys(window, "ctrl+1");
    if (!waitFor([&] { return one.loaded(); }, 60s)) {
        std::fprintf(stderr, "site 1 never loaded: %s\n", app.errorOutput().c_str());
        return std::nullopt;
    }
    std::this_thread::sleep_for(10s);
    figures.oneService = memoryOf(app.pid());

    probe.pressKeys(window, "ctrl+2");
    waitFor([&] { return two.loaded(); }, 60s);
    probe.pressKeys(window, "ctrl+3");
    if (!waitFor([&] { return two.loaded() && three.loaded(); }, 60s)) return std::nullopt;
    std::this_thread::sleep_for(10s);
    figures.threeServices = memoryOf(app.pid());
    return figures;
}

struct IdleFigures {
    double cpuPercent = 0;
    double faultsPerSecond = 0;
    Memory memory;
    std::string glDriverMapped;  // "UI no, network no, web yes"
};

// The program with one service on the animated page, left alone once the
// page runs, on a desktop with a window manager as a user has (without one
// the toolkit asks the X server every frame what the manager supports);
// `program` is the build to run (empty: this build).
std::optional<IdleFigures> idleRun(const std::string& program)
{
    if (program.empty()) unsetenv("MERIDAVOLT_PROGRAM");
    else setenv("MERIDAVOLT_PROGRAM", program.c_str(), 1);
    testing::WindowManager manager;
    if (!manager.start()) {
        std::fprintf(stderr, "openbox did not start (bash scripts/install-deps.sh)\n");
        return std::nullopt;
    }
    AnimatedSite site;
    fakes::TemporaryFolder home;
    storeLibrary(home, {site.server.url("/")});

    testing::PrivateSessionBus bus;
    testing::DesktopProbe probe;
    MapWatch watch;
    testing::ApplicationProcess app(home, bus.address());
    if (!watch.waitForWindow(30s)) {
        std::fprintf(stderr, "no window: %s\n", app.errorOutput().c_str());
        return std::nullopt;
    }
    std::this_thread::sleep_for(5s);
    probe.pressKeys(watch.window(), "ctrl+1");
    if (!waitFor([&] { return site.loaded(); }, 60s)) {
        std::fprintf(stderr, "the animated page never loaded: %s\n", app.errorOutput().c_str());
        return std::nullopt;
    }
    std::this_thread::sleep_for(3s);

    constexpr double seconds = 10;
    const Usage before = usageOf(app.pid());
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    const Usage after = usageOf(app.pid());
    IdleFigures figures;
    figures.cpuPercent = (after.cpuSeconds - before.cpuSeconds) / seconds * 100;
    figures.faultsPerSecond = (after.minorFaults - before.minorFaults) / seconds;
    figures.memory = memoryOf(app.pid());
    for (const auto& [name, pid] : namedProcesses(app.pid())) {
        if (!figures.glDriverMapped.empty()) figures.glDriverMapped += ", ";
        figures.glDriverMapped += name + (mapsGLDriver(pid) ? " yes" : " no");
    }
    return figures;
}

std::string range(std::vector<double> values, const char* format)
{
    if (values.empty()) return "-";
    std::sort(values.begin(), values.end());
    char text[96];
    std::snprintf(text, sizeof text, format, values[values.size() / 2], values.front(), values.back());
    return text;
}

std::string textOption(int argc, char** argv, const char* name)
{
    const std::string prefix = std::string("--") + name + "=";
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], prefix.c_str(), prefix.size()) == 0) return argv[i] + prefix.size();
    }
    return "";
}

int option(int argc, char** argv, const char* name, int fallback)
{
    const std::string text = textOption(argc, argv, name);
    return text.empty() ? fallback : std::atoi(text.c_str());
}

void idleComparison(int runs, const std::string& baseline)
{
    std::vector<std::pair<std::string, std::string>> builds{{"this build", ""}};
    if (!baseline.empty()) builds.emplace_back("baseline", baseline);
    std::map<std::string, std::vector<double>> cpu, faults, pss, pssUI;
    std::map<std::string, std::string> glDriver;
    for (int i = 0; i < runs; ++i) {
        for (const auto& [name, program] : builds) {
            auto figures = idleRun(program);
            if (!figures) {
                std::printf("%s: an idle run did not finish\n", name.c_str());
                continue;
            }
            cpu[name].push_back(figures->cpuPercent);
            faults[name].push_back(figures->faultsPerSecond);
            pss[name].push_back(figures->memory.tree);
            pssUI[name].push_back(figures->memory.ui);
            glDriver[name] = figures->glDriverMapped;
        }
    }
    std::printf("idle, one animated page (median, min-max; UI process unless said)\n");
    std::printf("%-12s %-20s %-26s %-20s %-20s %s\n", "", "CPU", "page faults/s", "PSS all", "PSS UI",
                "GL driver mapped");
    for (const auto& [name, program] : builds) {
        std::printf("%-12s %-20s %-26s %-20s %-20s %s\n", name.c_str(),
                    range(cpu[name], "%.1f %% (%.1f-%.1f)").c_str(),
                    range(faults[name], "%.0f (%.0f-%.0f)").c_str(),
                    range(pss[name], "%.0f MB (%.0f-%.0f)").c_str(),
                    range(pssUI[name], "%.0f MB (%.0f-%.0f)").c_str(), glDriver[name].c_str());
    }
}

}  // namespace
}  // namespace meridavolt

int main(int argc, char** argv)
{
    using namespace meridavolt;
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const int runs = option(argc, argv, "runs", 3);
    const int starts = option(argc, argv, "starts", 7);
    const int idleRuns = option(argc, argv, "idle-runs", 3);

    const DisplayGL gl = probeDisplayGL();
    const RendererChoice choice = chooseRenderer(gl, rendererEnvironment());
    std::printf("display GL: %s; renderer chosen: %s; web views: %s\n",
                gl == DisplayGL::software ? "software" : "hardware",
                choice.gskRenderer ? choice.gskRenderer->c_str() : "toolkit default",
                choice.webAccelerationNever ? "WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER" : "toolkit default");

    const std::vector<Mode> modes{
        {"chosen", {}},
        {"toolkit defaults", {{"GSK_RENDERER", "gl"}, {"WEBKIT_DISABLE_COMPOSITING_MODE", "0"}}},
    };
    std::map<std::string, std::vector<double>> mapped, one, three, oneUI, threeUI;
    // Interleaved, so that a busy moment of the machine weighs on both alike.
    for (int i = 0; i < starts; ++i) {
        for (const auto& mode : modes) {
            if (auto time = startOnly(mode)) mapped[mode.name].push_back(*time);
        }
    }
    for (int i = 0; i < runs; ++i) {
        for (const auto& mode : modes) {
            auto figures = fullRun(mode);
            if (!figures) {
                std::printf("%s: a run did not finish\n", mode.name);
                continue;
            }
            mapped[mode.name].push_back(figures->mappedMilliseconds);
            one[mode.name].push_back(figures->oneService.tree);
            oneUI[mode.name].push_back(figures->oneService.ui);
            three[mode.name].push_back(figures->threeServices.tree);
            threeUI[mode.name].push_back(figures->threeServices.ui);
        }
    }
    std::printf("%-18s %-22s %-22s %-22s %-22s %s\n", "(median, min-max)", "exec->window mapped", "PSS 1 service",
                "  of which UI", "PSS 3 services", "  of which UI");
    for (const auto& mode : modes) {
        std::printf("%-18s %-22s %-22s %-22s %-22s %s\n", mode.name,
                    range(mapped[mode.name], "%.0f ms (%.0f-%.0f)").c_str(),
                    range(one[mode.name], "%.0f MB (%.0f-%.0f)").c_str(),
                    range(oneUI[mode.name], "%.0f MB (%.0f-%.0f)").c_str(),
                    range(three[mode.name], "%.0f MB (%.0f-%.0f)").c_str(),
                    range(threeUI[mode.name], "%.0f MB (%.0f-%.0f)").c_str());
    }
    std::printf("targets: 3 services at most 350 MB, exec to window mapped at most 300 ms (runs: %d full, %d starts)\n",
                runs, starts);
    if (idleRuns > 0) idleComparison(idleRuns, textOption(argc, argv, "baseline"));
    return 0;
}
