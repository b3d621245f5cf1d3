// Loading and saving the library and work-sets files at sizes well beyond
// everyday use: 1,000 services, 100 work sets. Target: each under 10 ms.
#include "fakes/TemporaryFolder.h"
#include "model/Catalog.h"
#include "model/LibraryRepository.h"
#include "model/WorkSetRepository.h"
#include "platform/Uuid.h"

#include <benchmark/benchmark.h>

namespace meridavolt {
namespace {

Service numberedService(std::size_t number)
{
    const auto& rows = Catalog::all();
    Service service = rows[number % rows.size()];
    service.id = makeUUID();
    service.name += " " + std::to_string(number);
    service.url += "/page/" + std::to_string(number);
    return service;
}

ServiceLibrary largeLibrary()
{
    ServiceLibrary library;
    for (std::size_t i = 0; i < 1000; ++i) library.services.push_back(numberedService(i));
    for (std::size_t i = 0; i < 50; ++i) library.deletedIDs[makeUUID()] = Date{700000000.0 + i};
    return library;
}

std::vector<WorkSet> manyWorkSets()
{
    std::vector<WorkSet> sets;
    for (std::size_t i = 0; i < 100; ++i) {
        WorkSet set{makeUUID(), "作業セット " + std::to_string(i), {}};
        for (std::size_t j = 0; j < 5; ++j) set.services.push_back(numberedService(i * 5 + j));
        sets.push_back(std::move(set));
    }
    return sets;
}

void saveLibrary(benchmark::State& state)
{
    fakes::TemporaryFolder folder;
    JSONLibraryRepository repository{folder / "services.json"};
    const ServiceLibrary library = largeLibrary();
    for (auto _ : state) repository.save(library);
}
BENCHMARK(saveLibrary)->Unit(benchmark::kMillisecond);

void loadLibrary(benchmark::State& state)
{
    fakes::TemporaryFolder folder;
    JSONLibraryRepository repository{folder / "services.json"};
    repository.save(largeLibrary());
    for (auto _ : state) benchmark::DoNotOptimize(repository.load());
}
BENCHMARK(loadLibrary)->Unit(benchmark::kMillisecond);

void saveWorkSets(benchmark::State& state)
{
    fakes::TemporaryFolder folder;
    JSONWorkSetRepository repository{folder / "worksets.json"};
    const auto sets = manyWorkSets();
    for (auto _ : state) repository.save(sets);
}
BENCHMARK(saveWorkSets)->Unit(benchmark::kMillisecond);

void loadWorkSets(benchmark::State& state)
{
    fakes::TemporaryFolder folder;
    JSONWorkSetRepository repository{folder / "worksets.json"};
    repository.save(manyWorkSets());
    for (auto _ : state) benchmark::DoNotOptimize(repository.load());
}
BENCHMARK(loadWorkSets)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace meridavolt

BENCHMARK_MAIN();
