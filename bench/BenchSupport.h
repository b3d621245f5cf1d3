#pragma once

#include "clipboard/view/SystemClipboardStore.h"
#include "platform/SettingsFile.h"
#include "platform/gdk/DisplayGLProbe.h"
#include "platform/glib/MainLoopScheduler.h"
#include "web/webkit/WebKitEngineFactory.h"
#include "state/AppModel.h"
#include "state/Workspace.h"
#include "support/InProcessState.h"

#include <gtk/gtk.h>
#include <gtkmm/init.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace meridavolt::bench {

// The benchmarks open nothing outside the window.
class NoWorkspace final : public Workspace {
public:
    bool openURL(const std::string&) override { return true; }
    bool hasApplication(ExternalApplication) override { return false; }
    void launchApplication(ExternalApplication, const std::vector<std::string>&, LaunchCompletion done) override
    {
        done(std::nullopt);
    }
};

inline double elapsedMilliseconds(std::chrono::steady_clock::duration duration)
{
    return std::chrono::duration_cast<std::chrono::microseconds>(duration).count() / 1000.0;
}

// Prints a measurement in one aligned line: how many, the median and the
// maximum, and whether the maximum stays within the target (give timers the
// tolerance of their resolution).
inline void printFigures(const char* what, std::vector<double> values, std::optional<double> target,
                         double tolerance = 0)
{
    if (values.empty()) {
        std::printf("%-52s no measurement\n", what);
        return;
    }
    std::sort(values.begin(), values.end());
    std::printf("%-52s n=%zu  median %.2f ms  max %.2f ms", what, values.size(), values[values.size() / 2],
                values.back());
    if (target) std::printf("  (target %g ms)%s", *target, values.back() <= *target + tolerance ? "" : "  OVER TARGET");
    std::printf("\n");
}

// Starts a benchmark's process on a home of its own in `home`, then the
// toolkit, drawing as the program draws on this display. Returns the choice,
// for the web engines.
inline RendererChoice startProcess(const fakes::TemporaryFolder& home)
{
    testing::useTemporaryHome(home);
    const RendererChoice choice = fitRendererToDisplay();
    gtk_init();
    Gtk::init_gtkmm_internals();
    return choice;
}

// How the web engines draw for a renderer choice: as the program has them draw.
inline WebKitEngineFactory::Acceleration webAcceleration(const RendererChoice& choice)
{
    return choice.webAccelerationNever ? WebKitEngineFactory::Acceleration::never
                                       : WebKitEngineFactory::Acceleration::toolkitDefault;
}

// The application's state as the memory benchmarks measure it: settings on
// disk, the real web engines, and the clipboard memory on the system
// clipboard (watched when `monitor`) with its pins in `pins`.
struct SystemClipboardState {
    SystemClipboardState(const std::filesystem::path& pins, bool monitor)
        : model(AppModelServices{nullptr, nullptr, testing::markMigrationsDone(settings), SystemClock::shared(),
                                 MainLoopScheduler::shared(), workspace, engines.engineFactory(),
                                 [this, pins, monitor] { return makeSystemClipboardStore(settings, pins, monitor); },
                                 nullptr})
    {
    }

    SettingsFile settings{SettingsFile::defaultPath()};
    WebKitEngineFactory engines;
    NoWorkspace workspace;
    AppModel model;
};

}  // namespace meridavolt::bench
