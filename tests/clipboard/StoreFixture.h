#pragma once

#include "clipboard/ClipboardStore.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeImageCodec.h"
#include "fakes/FakePasteboard.h"
#include "fakes/FakeScheduler.h"
#include "fakes/FakeTextRecognizer.h"
#include "fakes/FakeWorker.h"
#include "fakes/MemorySettings.h"
#include "fakes/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <memory>

namespace meridavolt {

// A store on fakes, with its pins file in a fresh folder.
class StoreFixture : public ::testing::Test {
protected:
    StoreFixture() : pinsPath(folder / "data" / "pinned-memory.json") {}

    ClipboardStore& makeStore(bool monitor = true)
    {
        store.reset();
        store = std::make_unique<ClipboardStore>(
            ClipboardServices{pasteboard, scheduler, settings, clock, codec, recognizer, worker}, pinsPath, monitor);
        return *store;
    }

    // One poll interval passes, then any posted results are delivered.
    void tick()
    {
        scheduler.advance(ClipboardStore::pollInterval);
        finishBackgroundWork();
    }

    void finishBackgroundWork()
    {
        worker->runAll();
        scheduler.runPending();
    }

    std::vector<std::string> historyTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& entry : store->history().entries) texts.push_back(entry.text);
        return texts;
    }

    fakes::TemporaryFolder folder;
    std::filesystem::path pinsPath;
    std::shared_ptr<fakes::FakePasteboard> pasteboard = std::make_shared<fakes::FakePasteboard>();
    fakes::FakeScheduler scheduler;
    fakes::MemorySettings settings;
    fakes::FakeClock clock;
    std::shared_ptr<fakes::FakeImageCodec> codec = std::make_shared<fakes::FakeImageCodec>();
    std::shared_ptr<fakes::FakeTextRecognizer> recognizer = std::make_shared<fakes::FakeTextRecognizer>();
    std::shared_ptr<fakes::FakeWorker> worker = std::make_shared<fakes::FakeWorker>();
    std::unique_ptr<ClipboardStore> store;
};

}  // namespace meridavolt
