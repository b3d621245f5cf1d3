// What reading a hostile data file costs: each of the four files, filled to
// its size cap with nesting or with tiny values, is refused as damaged, and
// the memory spent on it stays a small multiple of its size.
#include "clipboard/ClipboardStore.h"
#include "clipboard/PinsFile.h"
#include "fakes/TemporaryFolder.h"
#include "model/DataFile.h"
#include "model/LibraryRepository.h"
#include "model/WorkSetRepository.h"
#include "platform/SettingsFile.h"
#include "support/Sanitizers.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <functional>

namespace meridavolt {
namespace {

using fakes::TemporaryFolder;
using fakes::writeBytes;

constexpr std::size_t MiB = 1024 * 1024;

// The process's peak resident memory so far, in bytes.
std::size_t peakResidentBytes()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("VmHWM:")) return std::stoul(line.substr(6)) * 1024;
    }
    return 0;
}

struct ReadCost {
    bool refused = false;
    std::size_t peakGrowth = 0;
};

// Runs a read in a child process, from a fresh peak: a read that takes
// gigabytes must not take the test's own process down or skew later tests.
ReadCost costOfReading(const std::function<bool()>& refuses)
{
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        std::ofstream("/proc/self/clear_refs") << "5";  // the peak starts again from here
        const std::size_t before = peakResidentBytes();
        ReadCost cost;
        cost.refused = refuses();
        cost.peakGrowth = peakResidentBytes() - before;
        const bool sent = ::write(pipeEnds[1], &cost, sizeof cost) == sizeof cost;
        ::_exit(sent ? 0 : 1);
    }
    ::close(pipeEnds[1]);
    ReadCost cost;
    const bool received = ::read(pipeEnds[0], &cost, sizeof cost) == sizeof cost;
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(received) << "the reading process ended with status " << status;
    return cost;
}

template <typename Read>
std::function<bool()> throwsOnReading(Read read)
{
    return [read] {
        try {
            read();
            return false;
        } catch (const std::exception&) {
            return true;
        }
    };
}

// Text of about `bytes` bytes: one nesting of "[" that never closes, or a list
// of empty lists, the densest a value can be.
std::string nested(std::size_t bytes) { return std::string(bytes, '['); }
std::string emptyLists(std::size_t bytes)
{
    std::string text = "[";
    text.reserve(bytes);
    while (text.size() + 4 < bytes) text += "[],";
    return text + "[]]";
}

struct DataFileCase {
    const char* name;
    std::size_t sizeCap;
    std::function<std::function<bool()>(const std::filesystem::path&)> refusal;
};

TEST(DataFileCost, EveryDataFileRefusesNestingAndDenseValuesAtASmallMultipleOfItsSize)
{
    const std::vector<DataFileCase> files = {
        {"services.json", maximumDataFileBytes,
         [](const auto& path) { return throwsOnReading([path] { JSONLibraryRepository(path).load(); }); }},
        {"worksets.json", maximumDataFileBytes,
         [](const auto& path) { return throwsOnReading([path] { JSONWorkSetRepository(path).load(); }); }},
        {"pinned-memory.json", ClipboardStore::maximumPinsFileBytes,
         [](const auto& path) { return throwsOnReading([path] { PinsFile::load(path); }); }},
        {"settings.json", 4 * MiB,
         [](const auto& path) { return std::function<bool()>([path] { return !SettingsFile(path).isReadable(); }); }},
    };
    TemporaryFolder folder;
    for (const auto& file : files) {
        const auto path = folder / file.name;
        for (const auto& [shape, text] : {std::pair{"nested", nested(file.sizeCap)},
                                          std::pair{"empty lists", emptyLists(file.sizeCap)}}) {
            writeBytes(path, text);
            const ReadCost cost = costOfReading(file.refusal(path));
            EXPECT_TRUE(cost.refused) << file.name << ", " << shape;
            // The sanitizers' allocator pads and quarantines every block, so
            // only a plain build measures what a user's program would spend.
            if (testing::sanitizedBuild) continue;
            // The text itself, once, and a bounded tree beside it.
            EXPECT_LE(cost.peakGrowth, 2 * text.size() + 48 * MiB)
                << file.name << ", " << shape << ": " << cost.peakGrowth / MiB << " MiB for a file of "
                << text.size() / MiB << " MiB";
        }
    }
}

TEST(DataFileCost, FilesOfOurOwnWithinTheCapsStillLoad)
{
    TemporaryFolder folder;
    // Services as people name them, up to the services file's cap.
    ServiceLibrary library;
    for (int i = 0; library.services.size() < 20000; ++i) {
        library.services.push_back(Service{"s" + std::to_string(i), "S", "globe", "https://a.example/",
                                           LaunchMode::embedded, std::nullopt, {QuickAction{"A", "https://a.example/b"}},
                                           Date{1}});
    }
    JSONLibraryRepository repository(folder / "services.json");
    repository.save(library);
    EXPECT_GT(std::filesystem::file_size(folder / "services.json"), 2 * MiB);
    auto loaded = repository.load();
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->services.size(), library.services.size());

    writeBytes(folder / "settings.json", R"({"a":)" + std::string(200, '[') + std::string(200, ']') + R"(,"b":1})");
    EXPECT_EQ(SettingsFile(folder / "settings.json").numberValue("b"), 1.0);
}

}  // namespace
}  // namespace meridavolt
