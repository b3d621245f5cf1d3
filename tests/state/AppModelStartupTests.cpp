#include "AppModelHarness.h"

#include "model/Catalog.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace meridavolt {
namespace {

using testing::AppModelHarness;
using testing::idsOf;
using testing::makeLibrary;
using testing::makeService;

constexpr const char* libraryUnreadable =
    "保存データを読み込めませんでした。元のデータを保護するため、変更は保存されません。";
constexpr const char* workSetsUnreadable = "作業セットを読み込めませんでした。元のデータは保持しています。";

class FirstLaunch : public ::testing::Test {
protected:
    FirstLaunch()
    {
        harness.settings.values.clear();
        harness.storedLibrary.reset();
        harness.storedWorkSets.reset();
    }
    AppModelHarness harness;
};

TEST_F(FirstLaunch, WritesBothFilesWithTheVideoServiceFirstAndTheOldBrowserTombstoned)
{
    const auto servicesFile = harness.folder / "data/services.json";
    const auto workSetsFile = harness.folder / "data/worksets.json";
    AppModel& model = harness.startWith(std::make_unique<JSONLibraryRepository>(servicesFile),
                                        std::make_unique<JSONWorkSetRepository>(workSetsFile));

    const std::vector<std::string> expected{"youtube", "safari", "x", "instagram", "tiktok", "note"};
    EXPECT_EQ(idsOf(model.library().services), expected);
    EXPECT_EQ(model.library().deletedIDs.at("brave"), harness.clock.now());
    EXPECT_EQ(model.library().deletedIDs.count("youtube"), 0u);
    EXPECT_EQ(model.library().services.front().modifiedAt, harness.clock.now());
    EXPECT_FALSE(model.error());
    EXPECT_TRUE(model.storageReadable());
    EXPECT_TRUE(model.workSetsReadable());
    EXPECT_EQ(harness.settings.boolValue("embeddedYouTubeDefault.v1"), true);
    EXPECT_EQ(harness.settings.boolValue("canvaEmbeddedMigration.v1"), true);

    ASSERT_TRUE(std::filesystem::exists(servicesFile));
    ASSERT_TRUE(std::filesystem::exists(workSetsFile));
    EXPECT_EQ(JSONLibraryRepository(servicesFile).load(), model.library());
    auto storedSets = JSONWorkSetRepository(workSetsFile).load();
    ASSERT_TRUE(storedSets);
    EXPECT_EQ(*storedSets, model.workSets());
    ASSERT_EQ(storedSets->size(), 2u);
    EXPECT_EQ((*storedSets)[0].name, "発信");
    EXPECT_EQ((*storedSets)[1].name, "調べる");
}

TEST_F(FirstLaunch, TheDesignSiteMigrationFindsNothingAndSavesNothing)
{
    harness.start();
    // One save each, both from the video-site migration.
    EXPECT_EQ(harness.libraryStore->store.saves.size(), 1u);
    EXPECT_EQ(harness.workSetStore->store.saves.size(), 1u);
}

TEST_F(FirstLaunch, TheNextLaunchWritesNothing)
{
    harness.start();
    auto library = harness.libraryStore->store.stored;
    auto sets = harness.workSetStore->store.stored;

    AppModelHarness next;
    next.settings.values = harness.settings.values;
    next.storedLibrary = library;
    next.storedWorkSets = sets;
    AppModel& model = next.start();
    EXPECT_TRUE(next.libraryStore->store.saves.empty());
    EXPECT_TRUE(next.workSetStore->store.saves.empty());
    EXPECT_EQ(model.library(), *library);
}

TEST(AppModelStartup, AStoredEmptyListOfWorkSetsStaysEmpty)
{
    AppModelHarness harness;
    harness.storedWorkSets = std::vector<WorkSet>{};
    EXPECT_TRUE(harness.start().workSets().empty());
}

TEST(AppModelStartup, NoWorkSetsFileKeepsThePresets)
{
    AppModelHarness harness;
    harness.storedWorkSets.reset();
    AppModel& model = harness.start();
    ASSERT_EQ(model.workSets().size(), 2u);
    EXPECT_EQ(idsOf(model.workSets()[0].services), (std::vector<std::string>{"x", "note", "canva"}));
}

class DamagedFiles : public ::testing::Test {
protected:
    void start()
    {
        harness.settings.values.clear();
        harness.startWith(std::make_unique<JSONLibraryRepository>(servicesFile),
                          std::make_unique<JSONWorkSetRepository>(workSetsFile));
    }
    AppModelHarness harness;
    std::filesystem::path servicesFile = harness.folder / "services.json";
    std::filesystem::path workSetsFile = harness.folder / "worksets.json";
    const std::string damaged = "{\"schemaVersion\":1,\"services\":[";
};

TEST_F(DamagedFiles, ADamagedServicesFileIsReportedKeptAndNeverWritten)
{
    fakes::writeBytes(servicesFile, damaged);
    start();
    AppModel& model = *harness.model;

    EXPECT_EQ(model.error(), libraryUnreadable);
    EXPECT_FALSE(model.storageReadable());
    EXPECT_EQ(idsOf(model.library().services), idsOf(Catalog::initial()));
    EXPECT_FALSE(harness.settings.boolValue(AppModel::youTubeMigrationKey));
    EXPECT_FALSE(harness.settings.boolValue(AppModel::canvaMigrationKey));
    EXPECT_FALSE(std::filesystem::exists(workSetsFile));

    model.setError(std::nullopt);
    model.add(makeService("added"));
    EXPECT_EQ(model.error(), "保存データを読み込めないため、変更を保存できません。");
    EXPECT_EQ(model.library().services.back().id, "added");
    model.remove({0});
    EXPECT_EQ(fakes::readBytes(servicesFile), damaged);
}

TEST_F(DamagedFiles, ASchemaVersionOtherThanOneIsADamagedFile)
{
    const std::string future = "{\"schemaVersion\":2,\"services\":[],\"deletedIDs\":{},\"modifiedAt\":1}";
    fakes::writeBytes(servicesFile, future);
    start();
    EXPECT_EQ(harness.model->error(), libraryUnreadable);
    EXPECT_EQ(fakes::readBytes(servicesFile), future);
}

TEST_F(DamagedFiles, ADamagedWorkSetsFileKeepsThePresetsAndRefusesEveryWorkSetChange)
{
    fakes::writeBytes(workSetsFile, damaged);
    start();
    AppModel& model = *harness.model;

    EXPECT_EQ(model.error(), workSetsUnreadable);
    EXPECT_FALSE(model.workSetsReadable());
    EXPECT_TRUE(model.storageReadable());
    ASSERT_EQ(model.workSets().size(), 2u);
    EXPECT_FALSE(harness.settings.boolValue(AppModel::youTubeMigrationKey));
    EXPECT_FALSE(std::filesystem::exists(servicesFile));

    WorkSet set = model.workSets()[0];
    set.name = "変更";
    model.saveWorkSet(set);
    EXPECT_EQ(model.error(), "作業セットを保存できません。名前とURLを確認してください。");
    EXPECT_EQ(model.workSets()[0].name, "発信");

    model.setError(std::nullopt);
    model.removeWorkSet(model.workSets()[0]);
    EXPECT_EQ(model.error(), "作業セットを削除できませんでした。");
    EXPECT_EQ(model.workSets().size(), 2u);
    EXPECT_EQ(fakes::readBytes(workSetsFile), damaged);
}

TEST_F(DamagedFiles, WithBothFilesDamagedTheServicesMessageWins)
{
    fakes::writeBytes(servicesFile, damaged);
    fakes::writeBytes(workSetsFile, damaged);
    start();
    EXPECT_EQ(harness.model->error(), libraryUnreadable);
    EXPECT_FALSE(harness.model->storageReadable());
    EXPECT_FALSE(harness.model->workSetsReadable());
}

TEST(AppModelStartup, UnreadableSettingsSkipBothMigrations)
{
    AppModelHarness harness;
    harness.settings.values.clear();
    harness.settings.readable = false;
    harness.storedLibrary.reset();
    harness.storedWorkSets.reset();
    AppModel& model = harness.start();
    EXPECT_TRUE(harness.libraryStore->store.saves.empty());
    EXPECT_TRUE(harness.workSetStore->store.saves.empty());
    EXPECT_EQ(idsOf(model.library().services), idsOf(Catalog::initial()));
}

TEST(AppModelStartup, SettingsThatCannotBeWrittenSkipBothMigrationsAndSaySoOnce)
{
    AppModelHarness harness;
    harness.settings.values.clear();
    harness.settings.writable = false;
    harness.storedLibrary = makeLibrary({"a", "brave"});
    AppModel& model = harness.start();

    // Neither migration could be remembered: neither ran, nothing was saved.
    EXPECT_TRUE(harness.libraryStore->store.saves.empty());
    EXPECT_TRUE(harness.workSetStore->store.saves.empty());
    EXPECT_EQ(idsOf(model.library().services), (std::vector<std::string>{"a", "brave"}));
    EXPECT_EQ(model.error(), "設定を保存できませんでした。設定の変更は終了すると元に戻ります。");

    model.setError(std::nullopt);
    harness.settings.setBool("another", true);
    EXPECT_FALSE(model.error());
}

class CanvaMigration : public ::testing::Test {
protected:
    CanvaMigration() { harness.settings.remove(AppModel::canvaMigrationKey); }

    static Service canva(const std::string& url, LaunchMode mode, const std::string& id = "canva")
    {
        Service service = makeService(id, mode);
        service.url = url;
        return service;
    }
    AppModelHarness harness;
};

TEST_F(CanvaMigration, TheDesignServiceOnItsSiteOpensInsideOnce)
{
    ServiceLibrary library = makeLibrary({"a"});
    library.services.push_back(canva("https://www.Canva.com/design", LaunchMode::external));
    harness.storedLibrary = library;
    WorkSet set{"2F1E4D6A-0000-4000-8000-000000000001", "デザイン",
                {canva("https://canva.com/", LaunchMode::external)}};
    harness.storedWorkSets = std::vector<WorkSet>{set};
    AppModel& model = harness.start();

    const Service& migrated = harness.service("canva");
    EXPECT_EQ(migrated.mode, LaunchMode::embedded);
    EXPECT_EQ(migrated.modifiedAt, harness.clock.now());
    EXPECT_EQ(model.library().modifiedAt, harness.clock.now());
    EXPECT_EQ(model.workSets()[0].services[0].mode, LaunchMode::embedded);
    ASSERT_EQ(harness.libraryStore->store.saves.size(), 1u);
    EXPECT_EQ(harness.libraryStore->store.saves[0], model.library());
    ASSERT_EQ(harness.workSetStore->store.saves.size(), 1u);
    EXPECT_EQ(harness.settings.boolValue(AppModel::canvaMigrationKey), true);
}

TEST_F(CanvaMigration, OtherHostsOtherIdsAndInsideServicesAreLeftAlone)
{
    ServiceLibrary library;
    library.services = {canva("https://canva.com.evil.example/", LaunchMode::external),
                        canva("https://www.canva.com/", LaunchMode::external, "design"),
                        canva("https://notcanva.com/", LaunchMode::external, "other")};
    harness.storedLibrary = library;
    AppModel& model = harness.start();
    EXPECT_EQ(model.library(), library);
    EXPECT_TRUE(harness.libraryStore->store.saves.empty());
    EXPECT_EQ(harness.settings.boolValue(AppModel::canvaMigrationKey), true);
}

TEST_F(CanvaMigration, AFailedSaveKeepsTheOldStateAndRetriesNextLaunch)
{
    ServiceLibrary library = makeLibrary({"a"});
    library.services.push_back(canva("https://www.canva.com/", LaunchMode::external));
    auto store = std::make_unique<fakes::MemoryLibraryRepository>();
    store->store.stored = library;
    store->store.failSave = true;
    AppModel& model = harness.startWith(std::move(store), std::make_unique<fakes::MemoryWorkSetRepository>());
    EXPECT_EQ(model.error(), "Canvaの表示設定を更新できませんでした。再起動するともう一度更新します。");
    EXPECT_EQ(model.library(), library);
    EXPECT_FALSE(harness.settings.boolValue(AppModel::canvaMigrationKey));
}

class YouTubeMigration : public ::testing::Test {
protected:
    YouTubeMigration() { harness.settings.remove(AppModel::youTubeMigrationKey); }
    AppModelHarness harness;
};

TEST_F(YouTubeMigration, InWorkSetsTheOldBrowserBecomesTheVideoServiceOnce)
{
    Service ownYouTube = makeService("youtube");
    ownYouTube.url = "https://www.youtube.com/feed/history";
    WorkSet braveFirst{"2F1E4D6A-0000-4000-8000-000000000001", "one",
                       {makeService("brave"), makeService("a"), ownYouTube}};
    WorkSet youTubeFirst{"2F1E4D6A-0000-4000-8000-000000000002", "two",
                         {ownYouTube, makeService("b"), makeService("brave")}};
    harness.storedWorkSets = std::vector<WorkSet>{braveFirst, youTubeFirst};
    AppModel& model = harness.start();

    const Service& row = *Catalog::find("youtube");
    ASSERT_EQ(model.workSets().size(), 2u);
    EXPECT_EQ(model.workSets()[0].services, (std::vector<Service>{row, makeService("a")}));
    EXPECT_EQ(model.workSets()[1].services, (std::vector<Service>{ownYouTube, makeService("b")}));
    EXPECT_EQ(model.workSets()[0].name, "one");
    EXPECT_EQ(model.workSets()[0].id, braveFirst.id);
    EXPECT_EQ(harness.workSetStore->store.stored, model.workSets());
}

TEST_F(YouTubeMigration, AFailedWorkSetSaveLeavesTheRepairedFileButTheOldStateInMemory)
{
    auto sets = std::make_unique<fakes::MemoryWorkSetRepository>();
    sets->store.stored = std::vector<WorkSet>{};
    sets->store.failSave = true;
    auto library = std::make_unique<fakes::MemoryLibraryRepository>();
    library->store.stored = *harness.storedLibrary;
    auto* libraryStore = library.get();
    AppModel& model = harness.startWith(std::move(library), std::move(sets));

    EXPECT_EQ(model.error(), "YouTubeの起動設定を保存できませんでした。次回起動時に再試行します。");
    EXPECT_EQ(idsOf(model.library().services), (std::vector<std::string>{"a", "b", "c", "d", "e"}));
    ASSERT_EQ(libraryStore->store.saves.size(), 1u);
    EXPECT_EQ(libraryStore->store.saves[0].services.front().id, "youtube");
    EXPECT_FALSE(harness.settings.boolValue(AppModel::youTubeMigrationKey));
}

TEST(AppModelStartup, TheQuickLauncherIsCreatedLastOnTheCompleteState)
{
    struct Launcher final : QuickLauncherControl {
        int* toggles;
        explicit Launcher(int* count) : toggles(count) {}
        void toggle() override { ++*toggles; }
        void prepare() override {}
    };
    AppModelHarness harness;
    harness.settings.remove(AppModel::youTubeMigrationKey);
    int toggles = 0;
    std::vector<std::string> seenFirstIDs;
    harness.makeQuickLauncher = [&](AppModel& model) {
        seenFirstIDs.push_back(model.library().services.front().id);
        return std::make_unique<Launcher>(&toggles);
    };
    AppModel& model = harness.start();
    EXPECT_EQ(seenFirstIDs, (std::vector<std::string>{"youtube"}));
    ASSERT_NE(model.quickLauncher(), nullptr);
    model.quickLauncher()->toggle();
    EXPECT_EQ(toggles, 1);
}

// --- The end of the start-up animation.

TEST(FinishStartup, OpensTheFirstServiceOnce)
{
    AppModelHarness harness;
    AppModel& model = harness.start();
    model.finishStartup();
    EXPECT_EQ(model.selectedID(), "a");
    model.activate(harness.service("b"));
    model.finishStartup();
    EXPECT_EQ(model.selectedID(), "b");
}

TEST(FinishStartup, AWaitingMessageOrAnEmptyLibraryOpensNothingAndUsesTheChoiceUp)
{
    AppModelHarness harness;
    harness.failWorkSetLoad = true;
    AppModel& model = harness.start();
    model.finishStartup();
    EXPECT_FALSE(model.selectedID());
    model.setError(std::nullopt);
    model.finishStartup();
    EXPECT_FALSE(model.selectedID());

    AppModelHarness empty;
    empty.storedLibrary = makeLibrary({});
    AppModel& emptyModel = empty.start();
    emptyModel.finishStartup();
    EXPECT_FALSE(emptyModel.startupSelection().pending);
}

class FinishStartupAfterAChoice : public ::testing::TestWithParam<std::function<void(AppModelHarness&)>> {};

TEST_P(FinishStartupAfterAChoice, OpensNothing)
{
    AppModelHarness harness;
    harness.workspace.installed = {ExternalApplication::chrome, ExternalApplication::messenger};
    AppModel& model = harness.start();
    GetParam()(harness);
    const auto selected = model.selectedID();
    const auto mounted = model.mountedIDs();
    model.finishStartup();
    EXPECT_FALSE(model.startupSelection().pending);
    EXPECT_EQ(model.selectedID(), selected);
    EXPECT_EQ(model.mountedIDs(), mounted);
}

INSTANTIATE_TEST_SUITE_P(
    EveryUserChoice, FinishStartupAfterAChoice,
    ::testing::Values([](AppModelHarness& h) { h.model->activate(h.service("c")); },
                      [](AppModelHarness& h) { h.model->openBeside(h.service("c"), false); },
                      [](AppModelHarness& h) { h.model->openClipboard(); },
                      [](AppModelHarness& h) { h.model->openExternal("https://elsewhere.example/"); },
                      [](AppModelHarness& h) { h.model->launch(makeService("chrome", LaunchMode::external)); },
                      [](AppModelHarness& h) { h.model->setShowingWorkSets(true); },
                      [](AppModelHarness& h) { h.model->setManaging(true); },
                      [](AppModelHarness& h) { h.model->setQuickService(h.service("d")); },
                      [](AppModelHarness& h) { h.model->cancelStartupSelection(); }));

TEST(AppModelSheets, ClosingASheetOrShowingTheSameQuickServiceAgainKeepsTheChoice)
{
    AppModelHarness harness;
    AppModel& model = harness.start();
    model.setShowingWorkSets(false);
    model.setManaging(false);
    model.setQuickService(std::nullopt);
    EXPECT_TRUE(model.startupSelection().pending);
}

}  // namespace
}  // namespace meridavolt
