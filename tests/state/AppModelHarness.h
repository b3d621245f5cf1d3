#pragma once

#include "fakes/FakeClock.h"
#include "fakes/FakePasteboard.h"
#include "fakes/FakeScheduler.h"
#include "fakes/FakeWebEngine.h"
#include "fakes/FakeWorkspace.h"
#include "fakes/MemoryRepositories.h"
#include "fakes/MemorySettings.h"
#include "fakes/TemporaryFolder.h"
#include "state/AppModel.h"

#include <memory>
#include <string>
#include <vector>

namespace meridavolt::testing {

inline Service makeService(const std::string& id, LaunchMode mode = LaunchMode::embedded)
{
    Service service;
    service.id = id;
    service.name = "Service " + id;
    service.symbol = "globe";
    service.url = "https://" + id + ".example/";
    service.mode = mode;
    service.modifiedAt = Date{600000000.0};
    return service;
}

inline ServiceLibrary makeLibrary(const std::vector<std::string>& ids)
{
    ServiceLibrary library;
    for (const auto& id : ids) library.services.push_back(makeService(id));
    library.modifiedAt = Date{600000000.0};
    return library;
}

inline std::vector<std::string> idsOf(const std::vector<Service>& services)
{
    std::vector<std::string> ids;
    for (const auto& service : services) ids.push_back(service.id);
    return ids;
}

// An application state on fakes: stores in memory, a fake desktop, fake web
// engines and a fake clipboard. By default the migrations count as done and the
// library holds the services "a" to "e", so tests see exactly what they set up.
class AppModelHarness {
public:
    fakes::TemporaryFolder folder;
    fakes::MemorySettings settings;
    fakes::FakeClock clock{Date{700000000.0}};
    fakes::FakeScheduler scheduler;
    fakes::FakeWorkspace workspace;
    std::shared_ptr<fakes::FakePasteboard> pasteboard = std::make_shared<fakes::FakePasteboard>();
    fakes::MemoryLibraryRepository* libraryStore = nullptr;
    fakes::MemoryWorkSetRepository* workSetStore = nullptr;
    std::unique_ptr<AppModel> model;

    std::optional<ServiceLibrary> storedLibrary = makeLibrary({"a", "b", "c", "d", "e"});
    std::optional<std::vector<WorkSet>> storedWorkSets = std::vector<WorkSet>{};
    bool failLibraryLoad = false;
    bool failWorkSetLoad = false;
    QuickLauncherFactory makeQuickLauncher;

    AppModelHarness()
    {
        settings.setBool(AppModel::canvaMigrationKey, true);
        settings.setBool(AppModel::youTubeMigrationKey, true);
    }

    AppModel& start()
    {
        auto library = std::make_unique<fakes::MemoryLibraryRepository>();
        library->store.stored = storedLibrary;
        library->store.failLoad = failLibraryLoad;
        libraryStore = library.get();
        auto workSets = std::make_unique<fakes::MemoryWorkSetRepository>();
        workSets->store.stored = storedWorkSets;
        workSets->store.failLoad = failWorkSetLoad;
        workSetStore = workSets.get();
        return startWith(std::move(library), std::move(workSets));
    }

    AppModel& startWith(std::unique_ptr<LibraryRepository> library, std::unique_ptr<WorkSetRepository> workSets)
    {
        model = std::make_unique<AppModel>(AppModelServices{
            std::move(library),
            std::move(workSets),
            settings,
            clock,
            scheduler,
            workspace,
            [] { return std::make_unique<fakes::FakeWebEngine>(); },
            [this] { return makeClipboardStore(); },
            makeQuickLauncher,
        });
        return *model;
    }

    std::unique_ptr<ClipboardStore> makeClipboardStore()
    {
        return std::make_unique<ClipboardStore>(
            ClipboardServices{pasteboard, scheduler, settings, clock, nullptr, nullptr, nullptr}, folder / "pins.json",
            false);
    }

    const Service& service(const std::string& id) const
    {
        for (const auto& service : model->library().services) {
            if (service.id == id) return service;
        }
        throw std::out_of_range("no service " + id);
    }

    fakes::FakeWebEngine& engine(const std::string& id) const
    {
        return dynamic_cast<fakes::FakeWebEngine&>(model->sessions().at(id)->engine());
    }

    int pauses(const std::string& id) const
    {
        auto found = model->sessions().find(id);
        if (found == model->sessions().end()) return 0;
        return dynamic_cast<fakes::FakeWebEngine&>(found->second->engine()).pauseCount;
    }

    void activate(const std::string& id) { model->activate(service(id)); }
};

}  // namespace meridavolt::testing
