#pragma once

// What the window tests and benchmarks that build the application's state in
// their own process set up around it.
#include "clipboard/BackgroundWorker.h"
#include "clipboard/ClipboardStore.h"
#include "fakes/FakePasteboard.h"
#include "fakes/TemporaryFolder.h"
#include "platform/glib/MainLoopScheduler.h"
#include "state/AppModel.h"

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace meridavolt::testing {

// Points this process's data, settings and caches into `folder`, so that a
// run neither reads nor leaves anything in the user's own.
inline void useTemporaryHome(const fakes::TemporaryFolder& folder)
{
    ::setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
    ::setenv("XDG_CACHE_HOME", (folder / "cache").c_str(), 1);
}

// Counts the one-time library migrations as done, so that a state started on
// these settings keeps the library it finds as it is.
inline Settings& markMigrationsDone(Settings& settings)
{
    settings.setBool(AppModel::canvaMigrationKey, true);
    settings.setBool(AppModel::youTubeMigrationKey, true);
    return settings;
}

// The state's clipboard memory on a fake clipboard, not watched: for the
// tests and benchmarks that copy nothing.
inline std::unique_ptr<ClipboardStore> makeFakeClipboardStore(Settings& settings, const std::filesystem::path& pins)
{
    return std::make_unique<ClipboardStore>(
        ClipboardServices{std::make_shared<fakes::FakePasteboard>(), MainLoopScheduler::shared(), settings,
                          SystemClock::shared(), nullptr, nullptr, std::make_shared<ThreadWorker>()},
        pins, false);
}

}  // namespace meridavolt::testing
