#include "AppModelHarness.h"

#include "platform/Uuid.h"

#include <gtest/gtest.h>

namespace meridavolt {
namespace {

using testing::AppModelHarness;
using testing::idsOf;
using testing::makeService;
using Ids = std::vector<std::string>;

class LibraryEdits : public ::testing::Test {
protected:
    LibraryEdits() : model(harness.start()) { harness.clock.advance(100); }
    std::size_t librarySaves() const { return harness.libraryStore->store.saves.size(); }
    AppModelHarness harness;
    AppModel& model;
};

TEST_F(LibraryEdits, AddingAKnownIdChangesAndWritesNothing)
{
    const ServiceLibrary before = model.library();
    Service copy = harness.service("b");
    copy.name = "Other";
    model.add(copy);
    EXPECT_EQ(model.library(), before);
    EXPECT_EQ(librarySaves(), 0u);
}

TEST_F(LibraryEdits, AddingAppendsUnchangedClearsTheTombstoneAndSavesOnce)
{
    model.remove({1});
    Service again = makeService("b");
    model.add(again);
    EXPECT_EQ(idsOf(model.library().services), (Ids{"a", "c", "d", "e", "b"}));
    EXPECT_EQ(model.library().services.back().modifiedAt, again.modifiedAt);
    ASSERT_EQ(librarySaves(), 2u);
    EXPECT_EQ(harness.libraryStore->store.saves.back().deletedIDs.count("b"), 0u);
    EXPECT_EQ(harness.libraryStore->store.saves.back().modifiedAt, harness.clock.now());
}

TEST_F(LibraryEdits, EditingTheSelectedServiceEmptiesTheWorkspaceAndDropsItsSession)
{
    harness.activate("a");
    harness.activate("b");
    model.openBeside(harness.service("c"), false);
    Service edited = harness.service("b");
    edited.url = "https://b.example/new";
    model.update(edited);

    EXPECT_FALSE(model.selectedID());
    EXPECT_FALSE(model.focusedPaneID());
    EXPECT_FALSE(model.secondaryID());
    EXPECT_EQ(model.mountedIDs(), (Ids{"a"}));
    EXPECT_EQ(model.sessions().count("b"), 0u);
    EXPECT_EQ(harness.service("b").modifiedAt, harness.clock.now());
    EXPECT_EQ(librarySaves(), 1u);

    harness.activate("b");
    EXPECT_EQ(harness.engine("b").loads, (Ids{"https://b.example/new"}));
}

TEST_F(LibraryEdits, EditingTheSecondPaneServiceEndsTheSplitAndKeepsThePrimary)
{
    harness.activate("a");
    model.openBeside(harness.service("b"), false);
    model.update(harness.service("b"));
    EXPECT_FALSE(model.secondaryID());
    EXPECT_EQ(model.selectedID(), "a");
    EXPECT_EQ(model.focusedPaneID(), "a");
    EXPECT_EQ(model.sessions().count("b"), 0u);
    EXPECT_EQ(model.sessions().count("a"), 1u);
}

TEST_F(LibraryEdits, EditingAnUnknownServiceChangesAndWritesNothing)
{
    const ServiceLibrary before = model.library();
    model.update(makeService("zzz"));
    EXPECT_EQ(model.library(), before);
    EXPECT_EQ(librarySaves(), 0u);
}

TEST_F(LibraryEdits, RemovingTombstonesForgetsAndSavesOnce)
{
    harness.activate("a");
    harness.activate("c");
    harness.activate("b");
    model.remove({0, 2});
    EXPECT_EQ(idsOf(model.library().services), (Ids{"b", "d", "e"}));
    EXPECT_EQ(model.library().deletedIDs.at("a"), harness.clock.now());
    EXPECT_EQ(model.library().deletedIDs.at("c"), harness.clock.now());
    EXPECT_FALSE(model.switchHistory().previous);
    EXPECT_FALSE(model.previousService());
    EXPECT_EQ(model.mountedIDs(), (Ids{"b"}));
    EXPECT_EQ(model.sessions().count("a"), 0u);
    EXPECT_EQ(model.selectedID(), "b");
    EXPECT_EQ(librarySaves(), 1u);
}

TEST_F(LibraryEdits, RemovingSkipsPositionsOutsideTheList)
{
    model.remove({1, 9});
    EXPECT_EQ(idsOf(model.library().services), (Ids{"a", "c", "d", "e"}));
    model.remove({5, 40});
    EXPECT_EQ(idsOf(model.library().services), (Ids{"a", "c", "d", "e"}));
    EXPECT_EQ(librarySaves(), 1u);
}

TEST_F(LibraryEdits, RemovingTheSelectedServiceLeavesTheWorkspaceEmpty)
{
    harness.activate("a");
    model.openBeside(harness.service("b"), false);
    model.remove({0});
    EXPECT_FALSE(model.selectedID());
    EXPECT_FALSE(model.focusedPaneID());
    EXPECT_FALSE(model.secondaryID());
    EXPECT_EQ(harness.pauses("b"), 1);
}

TEST_F(LibraryEdits, AFailedSaveIsReportedWithItsReasonAndTheChangeStays)
{
    harness.libraryStore->store.failSave = true;
    model.add(makeService("new"));
    ASSERT_TRUE(model.error());
    const std::string prefix = "変更を保存できませんでした。\n";
    EXPECT_EQ(*model.error(), prefix + FileError::writeFailed("store.json", EACCES).localizedDescription());
    EXPECT_EQ(model.library().services.back().id, "new");
}

TEST_F(LibraryEdits, AReorderSetByAViewIsStampedAndSaved)
{
    ServiceLibrary reordered = model.library();
    ASSERT_TRUE(reordered.moveService("e", std::string("a")));
    model.setLibrary(reordered);
    model.persist();
    EXPECT_EQ(harness.libraryStore->store.stored->services.front().id, "e");
    EXPECT_EQ(model.library().modifiedAt, harness.clock.now());
}

// --- Work sets.

class WorkSets : public LibraryEdits {
protected:
    static WorkSet makeSet(const std::string& name, Ids ids)
    {
        WorkSet set{makeUUID(), name, {}};
        for (const auto& id : ids) set.services.push_back(makeService(id));
        return set;
    }
    std::size_t workSetSaves() const { return harness.workSetStore->store.saves.size(); }
};

TEST_F(WorkSets, TheCurrentSetHoldsEveryServiceWithTheWebPagesOfLiveSessions)
{
    harness.activate("a");
    harness.activate("b");
    harness.activate("c");
    model.sessions().at("a")->load("https://a.example/inner");
    model.sessions().at("c")->load("about:blank");

    WorkSet set = model.currentWorkSet();
    EXPECT_EQ(set.name, "新しい作業");
    EXPECT_TRUE(canonicalUUID(set.id));
    EXPECT_EQ(idsOf(set.services), idsOf(model.library().services));
    EXPECT_EQ(set.services[0].url, "https://a.example/inner");
    EXPECT_EQ(set.services[0].modifiedAt, harness.service("a").modifiedAt);
    EXPECT_EQ(set.services[1].url, "https://b.example/");
    EXPECT_EQ(set.services[2].url, "https://c.example/");
    EXPECT_NE(model.currentWorkSet().id, set.id);
    EXPECT_EQ(workSetSaves(), 0u);
}

TEST_F(WorkSets, AnInvalidSetIsRefusedWithAMessage)
{
    model.saveWorkSet(makeSet("  ", {"a"}));
    EXPECT_EQ(model.error(), "作業セットを保存できません。名前とURLを確認してください。");
    EXPECT_TRUE(model.workSets().empty());
    EXPECT_EQ(workSetSaves(), 0u);
}

TEST_F(WorkSets, ASetIsPublishedOnlyAfterItsSave)
{
    std::vector<std::size_t> savesSeen;
    auto connection = model.workSetsChanged.connect([&] { savesSeen.push_back(workSetSaves()); });
    WorkSet set = makeSet("朝", {"a", "b"});
    model.saveWorkSet(set);
    EXPECT_EQ(savesSeen, (std::vector<std::size_t>{1}));
    EXPECT_EQ(model.workSets(), std::vector<WorkSet>{set});

    WorkSet other = makeSet("夜", {"c"});
    model.saveWorkSet(other);
    set.name = "朝2";
    model.saveWorkSet(set);
    ASSERT_EQ(model.workSets().size(), 2u);
    EXPECT_EQ(model.workSets()[0].name, "朝2");
    EXPECT_EQ(harness.workSetStore->store.stored, model.workSets());
}

TEST_F(WorkSets, AFailedSaveKeepsTheOldSets)
{
    harness.workSetStore->store.failSave = true;
    model.saveWorkSet(makeSet("朝", {"a"}));
    EXPECT_EQ(model.error(), "作業セットを保存できませんでした。");
    EXPECT_TRUE(model.workSets().empty());
}

TEST_F(WorkSets, RemovingSavesTheShorterList)
{
    WorkSet first = makeSet("朝", {"a"});
    WorkSet second = makeSet("夜", {"b"});
    model.saveWorkSet(first);
    model.saveWorkSet(second);
    model.removeWorkSet(first);
    EXPECT_EQ(model.workSets(), std::vector<WorkSet>{second});
    EXPECT_EQ(harness.workSetStore->store.stored, model.workSets());

    harness.workSetStore->store.failSave = true;
    model.removeWorkSet(second);
    EXPECT_EQ(model.error(), "作業セットを削除できませんでした。");
    EXPECT_EQ(model.workSets(), std::vector<WorkSet>{second});
}

TEST_F(WorkSets, ApplyingReordersPointsLiveSessionsAtTheSetsPagesAndOpensTheFirst)
{
    harness.activate("a");
    harness.activate("b");
    model.openBeside(harness.service("d"), false);
    model.setShowingWorkSets(true);
    WorkSet set = makeSet("調べる", {"c", "a"});
    set.services[0].url = "https://c.example/set";
    set.services[1].url = "https://a.example/set";
    model.applyWorkSet(set);

    EXPECT_EQ(idsOf(model.library().services), (Ids{"c", "a", "b", "d", "e"}));
    EXPECT_EQ(harness.engine("a").loads.back(), "https://a.example/set");
    EXPECT_EQ(harness.engine("c").loads, (Ids{"https://c.example/set"}));
    EXPECT_EQ(harness.libraryStore->store.stored, model.library());
    EXPECT_FALSE(model.showingWorkSets());
    EXPECT_FALSE(model.secondaryID());
    EXPECT_EQ(model.selectedID(), "c");
}

TEST_F(WorkSets, AnInvalidSetIsNotAppliedAndSaysNothing)
{
    harness.activate("a");
    model.openBeside(harness.service("b"), false);
    model.setShowingWorkSets(true);
    const ServiceLibrary before = model.library();
    model.applyWorkSet(makeSet("", {"c"}));
    EXPECT_EQ(model.library(), before);
    EXPECT_TRUE(model.showingWorkSets());
    EXPECT_FALSE(model.error());
    EXPECT_EQ(librarySaves(), 0u);
}

}  // namespace
}  // namespace meridavolt
