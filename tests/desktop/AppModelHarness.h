#pragma once

#include "clipboard/BackgroundWorker.h"
#include "clipboard/ClipboardStore.h"
#include "fakes/FakeClock.h"
#include "fakes/FakePasteboard.h"
#include "fakes/FakeScheduler.h"
#include "fakes/FakeWebEngine.h"
#include "fakes/MemorySettings.h"
#include "fakes/TemporaryFolder.h"
#include "model/Catalog.h"
#include "state/AppModel.h"
#include "RecordingWorkspace.h"

#include <memory>
#include <vector>

namespace meridavolt::desktoptest {

class MemoryLibraryRepository final : public LibraryRepository {
public:
    explicit MemoryLibraryRepository(std::optional<ServiceLibrary> stored) : stored(std::move(stored)) {}
    std::optional<ServiceLibrary> load() override { return stored; }
    void save(const ServiceLibrary& library) override
    {
        stored = library;
        ++saves;
    }
    std::optional<ServiceLibrary> stored;
    int saves = 0;
};

class MemoryWorkSetRepository final : public WorkSetRepository {
public:
    std::optional<std::vector<WorkSet>> load() override { return std::nullopt; }
    void save(const std::vector<WorkSet>&) override {}
};

// A real application state over in-memory stores, fake web engines and a fake
// clock and scheduler, with the one-time migrations already done.
struct AppModelHarness {
    explicit AppModelHarness(std::vector<Service> services)
    {
        settings.setBool(AppModel::canvaMigrationKey, true);
        settings.setBool(AppModel::youTubeMigrationKey, true);
        ServiceLibrary library;
        library.services = std::move(services);
        auto libraryRepository = std::make_unique<MemoryLibraryRepository>(library);
        repository = libraryRepository.get();
        model = std::make_unique<AppModel>(AppModelServices{
            std::move(libraryRepository), std::make_unique<MemoryWorkSetRepository>(), settings, clock, scheduler,
            workspace, [] { return std::make_unique<fakes::FakeWebEngine>(); },
            [this] {
                return std::make_unique<ClipboardStore>(
                    ClipboardServices{std::make_shared<fakes::FakePasteboard>(), scheduler, settings, clock, nullptr,
                                      nullptr, std::make_shared<ThreadWorker>()},
                    folder / "pinned-memory.json", false);
            },
            nullptr});
    }

    static Service service(const std::string& id, LaunchMode mode = LaunchMode::embedded)
    {
        return Service{id, id, "globe", "https://" + id + ".example/", mode, std::nullopt, {}};
    }

    std::vector<std::string> libraryIDs() const
    {
        std::vector<std::string> ids;
        for (const auto& service : model->library().services) ids.push_back(service.id);
        return ids;
    }

    fakes::MemorySettings settings;
    fakes::FakeClock clock;
    fakes::FakeScheduler scheduler;
    fakes::TemporaryFolder folder;
    RecordingWorkspace workspace;
    MemoryLibraryRepository* repository = nullptr;
    std::unique_ptr<AppModel> model;
};

}  // namespace meridavolt::desktoptest
