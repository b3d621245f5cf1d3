// Start-up and switching times of the real application, in this process:
//   - from the process start to the window mapped (the state then exists);
//   - from an activation to the next frame painted with the service's pane,
//     for a service not mounted yet (its web view is created) and for one
//     already mounted (target: within one 60 Hz frame, 16 ms).
// Pages are served on 127.0.0.1; the data folders are temporary.
#include "app/view/MeridavoltApplication.h"
#include "web/view/BrowserPane.h"
#include "fakes/TemporaryFolder.h"
#include "model/LibraryRepository.h"
#include "platform/SettingsFile.h"
#include "platform/gdk/DisplayGLProbe.h"
#include "support/LocalHttpServer.h"

#include <gtk/gtk.h>
#include <glibmm/main.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <unistd.h>
#include <vector>

namespace {

using namespace meridavolt;
using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;

constexpr int switchRounds = 40;

// Milliseconds since this process started, from the kernel's start time.
double millisecondsSinceProcessStart()
{
    std::ifstream stat("/proc/self/stat");
    std::string content((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::istringstream fields(content.substr(content.rfind(')') + 2));
    std::string field;
    for (int index = 3; index <= 22; ++index) fields >> field;  // field 22: start time in clock ticks
    const double startSeconds = std::stod(field) / static_cast<double>(::sysconf(_SC_CLK_TCK));
    timespec now{};
    ::clock_gettime(CLOCK_BOOTTIME, &now);
    return (static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9 - startSeconds) * 1000.0;
}

void prepareData(const fakes::TemporaryFolder& home, const testing::LocalHttpServer& server, int count)
{
    ServiceLibrary library;
    for (int i = 0; i < count; ++i) {
        Service service;
        service.id = "local" + std::to_string(i);
        service.name = "Local " + std::to_string(i);
        service.symbol = "globe";
        service.url = server.url("/page" + std::to_string(i));
        library.services.push_back(service);
    }
    JSONLibraryRepository(home / "data/MERIDAVOLT/services.json").save(library);
    SettingsFile settings(home / "config/MERIDAVOLT/settings.json");
    settings.setBool("embeddedYouTubeDefault.v1", true);
    settings.setBool("canvaEmbeddedMigration.v1", true);
}

struct Figures {
    std::vector<double> activation;
    std::vector<long> frames;
    std::vector<double> values;
    void add(double value) { values.push_back(value); }
    double median()
    {
        std::sort(values.begin(), values.end());
        return values.empty() ? 0 : values[values.size() / 2];
    }
    double worst() { return values.empty() ? 0 : *std::max_element(values.begin(), values.end()); }
    double worstActivation() { return activation.empty() ? 0 : *std::max_element(activation.begin(), activation.end()); }
    double medianActivation()
    {
        std::vector<double> sorted = activation;
        std::sort(sorted.begin(), sorted.end());
        return sorted.empty() ? 0 : sorted[sorted.size() / 2];
    }
    long mostFrames() { return frames.empty() ? 0 : *std::max_element(frames.begin(), frames.end()); }
    void record(double shown, double inside, long frameCount)
    {
        add(shown);
        activation.push_back(inside);
        frames.push_back(frameCount);
    }
};

// Activates a service and measures until the frame that shows its pane has been painted.
class SwitchTimer {
public:
    SwitchTimer(MacRootView& window, AppModel& model) : window_(window), model_(model) {}

    // done(milliseconds until painted, milliseconds inside activate(), frames until painted)
    void measure(const std::string& id, std::function<void(double, double, long)> done)
    {
        const auto& services = model_.library().services;
        const Service service =
            *std::find_if(services.begin(), services.end(), [&](const Service& s) { return s.id == id; });
        id_ = id;
        done_ = std::move(done);
        clock_ = gtk_widget_get_frame_clock(GTK_WIDGET(window_.gobj()));
        startFrame_ = gdk_frame_clock_get_frame_counter(clock_);
        start_ = Clock::now();
        model_.activate(service);
        activation_ = Milliseconds(Clock::now() - start_).count();
        handler_ = g_signal_connect(clock_, "after-paint", G_CALLBACK(afterPaint), this);
        window_.queue_draw();
    }

private:
    // Whatever the layout, a mapped pane showing the service's session.
    static bool showsSession(Gtk::Widget& widget, const WebSession* session)
    {
        if (!widget.get_mapped()) return false;
        if (auto* pane = dynamic_cast<BrowserPane*>(&widget); pane && &pane->session() == session) return true;
        for (Gtk::Widget* child = widget.get_first_child(); child; child = child->get_next_sibling()) {
            if (showsSession(*child, session)) return true;
        }
        return false;
    }

    static void afterPaint(GdkFrameClock*, gpointer data)
    {
        auto* self = static_cast<SwitchTimer*>(data);
        const auto& sessions = self->model_.sessions();
        auto session = sessions.find(self->id_);
        if (session == sessions.end() || !showsSession(self->window_, session->second.get())) return;
        g_signal_handler_disconnect(self->clock_, self->handler_);
        const long frames = static_cast<long>(gdk_frame_clock_get_frame_counter(self->clock_) - self->startFrame_);
        self->done_(Milliseconds(Clock::now() - self->start_).count(), self->activation_, frames);
    }

    MacRootView& window_;
    AppModel& model_;
    std::string id_;
    std::function<void(double, double, long)> done_;
    Clock::time_point start_;
    double activation_ = 0;
    gint64 startFrame_ = 0;
    GdkFrameClock* clock_ = nullptr;
    gulong handler_ = 0;
};

}  // namespace

int main()
{
    const double launchedAt = millisecondsSinceProcessStart();
    fakes::TemporaryFolder home;
    testing::LocalHttpServer server;
    for (int i = 0; i < 12; ++i) server.serve("/page" + std::to_string(i), "<html><body>page</body></html>");
    prepareData(home, server, 12);
    ::setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
    ::setenv("XDG_CACHE_HOME", (home / "cache").c_str(), 1);
    ::setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + (home / "no-bus").string()).c_str(), 1);
    ::setenv("NO_AT_BRIDGE", "1", 1);
    ::setenv("GTK_A11Y", "none", 1);

    // Drawn as the program draws on this display.
    auto application = MeridavoltApplication::create(fitRendererToDisplay());
    application->register_application();
    double windowMapped = 0;
    Figures newService;
    Figures mountedService;

    // Runs the measurements one after another once the window is on screen.
    std::unique_ptr<SwitchTimer> timer;
    std::function<void(int)> next;
    next = [&](int step) {
        if (!timer) timer = std::make_unique<SwitchTimer>(*application->window(), *application->host()->model());
        if (step < 10) {
            // Services 0 to 9 in turn: each one's web view is new.
            timer->measure("local" + std::to_string(step), [&, step](double ms, double inside, long frames) {
                newService.record(ms, inside, frames);
                Glib::signal_timeout().connect_once([&, step] { next(step + 1); }, 200);
            });
        } else if (step < 10 + switchRounds) {
            // Services 8 and 9 are mounted: switch between them.
            timer->measure(step % 2 ? "local8" : "local9", [&, step](double ms, double inside, long frames) {
                mountedService.record(ms, inside, frames);
                Glib::signal_timeout().connect_once([&, step] { next(step + 1); }, 50);
            });
        } else {
            application->quit();
        }
    };

    // Presenting the window maps it at once, which creates the state.
    application->signal_activate().connect(
        [&] {
            if (windowMapped == 0 && application->window()->get_mapped()) {
                windowMapped = millisecondsSinceProcessStart();
                Glib::signal_timeout().connect_once([&] { next(0); }, 500);
            }
        },
        true);
    application->run();

    std::printf("process start to window mapped:          %8.1f ms (benchmark set-up before the toolkit: %.1f ms)\n",
                windowMapped, launchedAt);
    std::printf("activation to pane shown, new service:   median %6.2f ms, worst %6.2f ms; inside activate() median "
                "%6.2f ms, worst %6.2f ms; at most %ld frame(s) (%zu runs)\n",
                newService.median(), newService.worst(), newService.medianActivation(), newService.worstActivation(),
                newService.mostFrames(), newService.values.size());
    std::printf("activation to pane shown, mounted:       median %6.2f ms, worst %6.2f ms; inside activate() median "
                "%6.2f ms, worst %6.2f ms; at most %ld frame(s) (%zu runs; target: the next frame, 16 ms)\n",
                mountedService.median(), mountedService.worst(), mountedService.medianActivation(),
                mountedService.worstActivation(), mountedService.mostFrames(), mountedService.values.size());
    return 0;
}
