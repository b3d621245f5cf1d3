#include "editors/ServiceManagerModel.h"
#include "editors/WorkSetEditorModel.h"
#include "model/Catalog.h"
#include "state/AppModelHarness.h"
#include "update/DistributionConstants.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace meridavolt {
namespace {

using testing::AppModelHarness;
using testing::idsOf;
using Ids = std::vector<std::string>;

Ids catalogueIDsWithout(const Ids& present)
{
    Ids ids;
    for (const auto& row : Catalog::all())
        if (std::find(present.begin(), present.end(), row.id) == present.end()) ids.push_back(row.id);
    return ids;
}

TEST(ServiceManagerModel, OffersEveryCatalogueRowNotInTheLibraryAndADeletedOneAgain)
{
    AppModelHarness harness;
    harness.storedLibrary = testing::makeLibrary({"youtube", "x", "mine"});
    AppModel& model = harness.start();
    ServiceManagerModel manager(model);
    EXPECT_EQ(idsOf(manager.addable()), catalogueIDsWithout({"youtube", "x"}));

    manager.remove("x");
    EXPECT_EQ(model.library().deletedIDs.count("x"), 1u);
    EXPECT_EQ(idsOf(manager.addable()), catalogueIDsWithout({"youtube"}));

    // Added back unchanged: the catalogue's own time stamp, at the end, tombstone gone.
    manager.add(*Catalog::find("x"));
    EXPECT_EQ(idsOf(model.library().services), (Ids{"youtube", "mine", "x"}));
    EXPECT_EQ(model.library().services.back(), *Catalog::find("x"));
    EXPECT_EQ(model.library().deletedIDs.count("x"), 0u);
    EXPECT_EQ(harness.libraryStore->store.stored->deletedIDs.count("x"), 0u);
}

TEST(ServiceManagerModel, AnEmptyLibraryOffersTheWholeCatalogueAndAFullOneNothing)
{
    AppModelHarness harness;
    harness.storedLibrary = ServiceLibrary{};
    AppModel& model = harness.start();
    ServiceManagerModel manager(model);
    EXPECT_EQ(idsOf(manager.addable()), idsOf(Catalog::all()));
    for (const auto& row : Catalog::all()) manager.add(row);
    EXPECT_TRUE(manager.addable().empty());
}

TEST(ServiceManagerModel, RemovingAnIdThatIsGoneDoesNothing)
{
    AppModelHarness harness;
    AppModel& model = harness.start();
    ServiceManagerModel(model).remove("zzz");
    EXPECT_EQ(idsOf(model.library().services), (Ids{"a", "b", "c", "d", "e"}));
    EXPECT_TRUE(harness.libraryStore->store.saves.empty());
}

TEST(ServiceManagerModel, MovingKeepsServiceStampsSavesOnceAndLeavesTheSelection)
{
    AppModelHarness harness;
    AppModel& model = harness.start();
    harness.activate("b");
    harness.clock.advance(50);
    const auto stamps = model.library().services;
    ServiceManagerModel(model).move({4}, 0);
    EXPECT_EQ(idsOf(model.library().services), (Ids{"e", "a", "b", "c", "d"}));
    for (const auto& service : model.library().services) {
        auto before = std::find_if(stamps.begin(), stamps.end(), [&](const Service& s) { return s.id == service.id; });
        EXPECT_EQ(service.modifiedAt, before->modifiedAt) << service.id;
    }
    ASSERT_EQ(harness.libraryStore->store.saves.size(), 1u);
    EXPECT_EQ(idsOf(harness.libraryStore->store.saves.back().services), (Ids{"e", "a", "b", "c", "d"}));
    EXPECT_EQ(harness.libraryStore->store.saves.back().modifiedAt, harness.clock.now());
    EXPECT_EQ(model.selectedID(), "b");
    EXPECT_EQ(model.sessions().count("b"), 1u);
}

TEST(ServiceManagerModel, ListMovesInsertBeforeTheDestinationAsItStoodBefore)
{
    const Ids items{"a", "b", "c", "d", "e"};
    EXPECT_EQ(movedItems(items, {0}, 3), (Ids{"b", "c", "a", "d", "e"}));
    EXPECT_EQ(movedItems(items, {3}, 1), (Ids{"a", "d", "b", "c", "e"}));
    EXPECT_EQ(movedItems(items, {0, 2}, 5), (Ids{"b", "d", "e", "a", "c"}));
    EXPECT_EQ(movedItems(items, {1, 3}, 0), (Ids{"b", "d", "a", "c", "e"}));
    EXPECT_EQ(movedItems(items, {1}, 1), items);
    EXPECT_EQ(movedItems(items, {1}, 2), items);
    EXPECT_EQ(movedItems(items, {9}, 0), items);
}

// A damaged services.json or worksets.json is never overwritten: every edit
// of the sheets is refused with the message, the files stay byte for byte.
TEST(LibraryEditorsOnUnreadableFiles, EditsAreRefusedAndTheFilesStayAsTheyWere)
{
    AppModelHarness harness;
    const auto services = harness.folder / "services.json";
    const auto workSets = harness.folder / "worksets.json";
    const std::string damaged = "{\"schemaVersion\":1,\"services\":[{\"id\":";
    for (const auto& path : {services, workSets}) {
        std::ofstream(path) << damaged;
    }
    AppModel& model = harness.startWith(std::make_unique<JSONLibraryRepository>(services),
                                        std::make_unique<JSONWorkSetRepository>(workSets));
    ASSERT_TRUE(model.error());  // the start-up message about the damaged file
    model.setError(std::nullopt);
    ServiceManagerModel manager(model);
    manager.add(manager.addable().front());
    EXPECT_EQ(model.error(), "保存データを読み込めないため、変更を保存できません。");
    model.setError(std::nullopt);
    manager.move({0}, 2);
    EXPECT_EQ(model.error(), "保存データを読み込めないため、変更を保存できません。");

    model.setError(std::nullopt);
    WorkSetEditorModel editor(model, model.currentWorkSet());
    editor.save();
    EXPECT_EQ(model.error(), "作業セットを保存できません。名前とURLを確認してください。");
    for (const auto& path : {services, workSets}) {
        std::ifstream file(path);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), damaged) << path;
    }
}

TEST(ServiceManagerModel, TheMakersHomePageIsHttpsOnTheReleaseHost)
{
    EXPECT_EQ(ServiceManagerModel::makerHomePage(), "https://" + std::string(releaseHost) + "/");
}

}  // namespace
}  // namespace meridavolt
