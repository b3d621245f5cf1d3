// The desktop workspace's two timing promises, measured on the real window:
// - the start-up animation hands over to the first service at its end, 3.0 s
//   after it appears, never later;
// - a click on a mounted service shows its pane within one frame (16 ms),
//   measured from the click event to the pane mapped and to the next frame.
// Run under a virtual display (scripts/bench.sh does).
#include "BenchSupport.h"
#include "desktop/view/DesktopContentView.h"
#include "fakes/TemporaryFolder.h"
#include "model/LibraryRepository.h"
#include "platform/SettingsFile.h"
#include "platform/gdk/DisplayGLProbe.h"
#include "platform/glib/MainLoopScheduler.h"
#include "web/webkit/WebKitEngineFactory.h"
#include "support/LocalHttpServer.h"
#include "support/MainLoopWait.h"

#include <gdk/x11/gdkx.h>
#include <gdkmm/frameclock.h>
#include <gtkmm/gestureclick.h>
#include <gtkmm/window.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <vector>

using namespace meridavolt;
using namespace std::chrono;
using namespace std::chrono_literals;

namespace {

using bench::NoWorkspace;

// One launch: the state over a temporary data folder and the window on screen.
struct Launch {
    Launch(fakes::TemporaryFolder& folder, WebKitEngineFactory& engines)
        : settings(SettingsFile::defaultPath()),
          model(AppModelServices{nullptr, nullptr, settings, SystemClock::shared(), MainLoopScheduler::shared(),
                                 workspace,
                                 [this, &engines] {
                                     // The first web view is asked for as the start-up hands over.
                                     if (firstEngine == steady_clock::time_point{}) firstEngine = steady_clock::now();
                                     return engines.makeEngine();
                                 },
                                 [&] { return testing::makeFakeClipboardStore(settings, folder / "pins.json"); },
                                 nullptr})
    {
        window.set_default_size(1120, 780);
        view = std::make_unique<DesktopContentView>(model, settings, MainLoopScheduler::shared());
        window.set_child(*view);
    }
    ~Launch()
    {
        window.unset_child();
        view.reset();
        window.destroy();
        testing::runMainLoopFor(20ms);
    }

    steady_clock::time_point firstEngine{};
    SettingsFile settings;
    NoWorkspace workspace;
    AppModel model;
    Gtk::Window window;
    std::unique_ptr<DesktopContentView> view;
};

// Timers fire on whole milliseconds of the main loop: a figure within that of its target meets it.
constexpr double timerResolution = 2;

void measureStartup(fakes::TemporaryFolder& folder, WebKitEngineFactory& engines)
{
    std::vector<double> handOvers, selections;
    for (int run = 0; run < 3; ++run) {
        Launch launch(folder, engines);
        steady_clock::time_point shown{}, opened{};
        auto* mark = launch.view->workspace().startupMark();
        mark->signal_map().connect([&] { shown = steady_clock::now(); }, false);
        auto selection = launch.model.selectedIDChanged.connect([&] {
            if (launch.model.selectedID() && opened == steady_clock::time_point{}) opened = steady_clock::now();
        });
        launch.window.present();
        testing::waitUntil([&] { return opened != steady_clock::time_point{}; }, 10s);
        handOvers.push_back(bench::elapsedMilliseconds(launch.firstEngine - shown));
        selections.push_back(bench::elapsedMilliseconds(opened - shown));
    }
    bench::printFigures("start-up animation: shown -> hand-over", handOvers, 3000, timerResolution);
    std::printf("%-44s median %.2f ms  (hand-over plus building the first web view)\n",
                "start-up animation: shown -> service shown", selections[selections.size() / 2]);
}

void measureSwitch(fakes::TemporaryFolder& folder, WebKitEngineFactory& engines)
{
    Launch launch(folder, engines);
    launch.window.present();
    testing::waitUntil([&] { return launch.view->get_mapped() && launch.view->get_width() > 0; });
    for (const auto& service : launch.model.library().services) launch.model.activate(service);
    testing::waitUntil([&] {
        for (const auto& [id, session] : launch.model.sessions())
            if (session->loading()) return false;
        return launch.model.sessions().size() == 3;
    });
    testing::runMainLoopFor(300ms);

    // The moment GTK delivers the click's release, before the button sees it.
    steady_clock::time_point clicked{};
    auto probe = Gtk::GestureClick::create();
    probe->set_propagation_phase(Gtk::PropagationPhase::CAPTURE);
    probe->signal_released().connect([&](int, double, double) { clicked = steady_clock::now(); });
    launch.window.add_controller(probe);

    const std::string windowID = std::to_string(gdk_x11_surface_get_xid(launch.window.get_surface()->gobj()));
    double surfaceX = 0, surfaceY = 0;
    gtk_native_get_surface_transform(GTK_NATIVE(launch.window.gobj()), &surfaceX, &surfaceY);

    std::vector<double> toMapped, toFrame;
    const std::vector<std::string> order{"one", "two", "three"};
    for (int round = 0; round < 30; ++round) {
        const auto& id = order[round % order.size()];
        if (launch.model.selectedID() == id) continue;
        auto* pane = launch.view->workspace().primaryPane(id);
        auto& tile = launch.view->serviceBar().button(id)->tile();
        steady_clock::time_point mapped{}, painted{};
        auto mapConnection = pane->signal_map().connect([&] { mapped = steady_clock::now(); }, false);
        struct Frame {
            steady_clock::time_point* mapped;
            steady_clock::time_point* painted;
        } frame{&mapped, &painted};
        auto* frameClock = launch.window.get_frame_clock()->gobj();
        const gulong paintHandler = g_signal_connect(
            frameClock, "after-paint", G_CALLBACK(+[](GdkFrameClock*, gpointer data) {
                auto* f = static_cast<Frame*>(data);
                if (*f->mapped != steady_clock::time_point{} && *f->painted == steady_clock::time_point{})
                    *f->painted = steady_clock::now();
            }),
            &frame);
        double x = 0, y = 0;
        tile.translate_coordinates(launch.window, tile.get_width() / 2.0, tile.get_height() / 2.0, x, y);
        const std::string command = "xdotool mousemove --window " + windowID + " " + std::to_string(int(x + surfaceX)) +
                                    " " + std::to_string(int(y + surfaceY)) + " click 1";
        clicked = {};
        g_spawn_command_line_sync(command.c_str(), nullptr, nullptr, nullptr, nullptr);
        testing::waitUntil([&] { return painted != steady_clock::time_point{}; }, 2s);
        mapConnection.disconnect();
        g_signal_handler_disconnect(frameClock, paintHandler);
        if (clicked == steady_clock::time_point{} || mapped == steady_clock::time_point{}) continue;
        toMapped.push_back(bench::elapsedMilliseconds(mapped - clicked));
        toFrame.push_back(bench::elapsedMilliseconds(painted - clicked));
    }
    if (toMapped.empty()) {
        std::printf("switch: no click reached the window\n");
        return;
    }
    bench::printFigures("switch: click -> pane mapped", toMapped, 16, timerResolution);
    // For the record: this adds the wait for the display's next frame (60 Hz) and drawing the page.
    bench::printFigures("switch: click -> next frame painted", toFrame, std::nullopt);
}

}  // namespace

int main()
{
    fakes::TemporaryFolder folder;
    const auto webAcceleration = bench::webAcceleration(bench::startProcess(folder));

    testing::LocalHttpServer server;
    ServiceLibrary library;
    for (const char* id : {"one", "two", "three"}) {
        server.serve(std::string("/") + id, std::string("<!doctype html><h1>") + id + "</h1>");
        library.services.push_back(
            Service{id, id, "globe", server.url(std::string("/") + id), LaunchMode::embedded, std::nullopt, {}});
    }
    JSONLibraryRepository().save(library);
    {
        SettingsFile settings(SettingsFile::defaultPath());
        testing::markMigrationsDone(settings);
    }
    WebKitEngineFactory engines(WebKitEngineFactory::defaultFolders(), webAcceleration);
    measureStartup(folder, engines);
    measureSwitch(folder, engines);
    return 0;
}
