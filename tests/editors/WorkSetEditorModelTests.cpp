#include "editors/WorkSetEditorModel.h"
#include "editors/WorkSetManagerModel.h"
#include "model/Catalog.h"
#include "state/AppModelHarness.h"

#include <gtest/gtest.h>

namespace meridavolt {
namespace {

using testing::AppModelHarness;
using testing::idsOf;
using testing::makeService;
using Ids = std::vector<std::string>;

class WorkSetEditing : public ::testing::Test {
protected:
    WorkSetEditing()
    {
        harness.storedLibrary = testing::makeLibrary({"a", "b", "youtube"});
        model = &harness.start();
    }

    WorkSet setOf(const Ids& ids)
    {
        WorkSet set{"7D2C0E7A-9C55-4D0B-8E7C-2F7B5E0B2A11", "Morning", {}};
        for (const auto& id : ids) {
            Service service = makeService(id);
            service.url = "https://" + id + ".example/page";
            set.services.push_back(service);
        }
        return set;
    }

    AppModelHarness harness;
    AppModel* model = nullptr;
};

TEST_F(WorkSetEditing, MovesSwapNeighboursAndStopAtTheEnds)
{
    WorkSetEditorModel editor(*model, setOf({"a", "b", "c"}));
    EXPECT_FALSE(editor.canMoveUp("a"));
    EXPECT_TRUE(editor.canMoveDown("a"));
    EXPECT_TRUE(editor.canMoveUp("c"));
    EXPECT_FALSE(editor.canMoveDown("c"));
    editor.move("a", -1);
    editor.move("c", +1);
    EXPECT_EQ(idsOf(editor.services()), (Ids{"a", "b", "c"}));
    editor.move("a", +1);
    EXPECT_EQ(idsOf(editor.services()), (Ids{"b", "a", "c"}));
    editor.move("c", -1);
    EXPECT_EQ(idsOf(editor.services()), (Ids{"b", "c", "a"}));
    editor.move("nothing", -1);
    EXPECT_EQ(idsOf(editor.services()), (Ids{"b", "c", "a"}));

    WorkSetEditorModel single(*model, setOf({"a"}));
    EXPECT_FALSE(single.canMoveUp("a"));
    EXPECT_FALSE(single.canMoveDown("a"));
}

TEST_F(WorkSetEditing, AvailableListsTheLibraryThenTheCatalogueEachOnceWithoutTheSet)
{
    Service renamed = harness.service("b");
    renamed.name = "Renamed b";
    model->update(renamed);
    WorkSetEditorModel editor(*model, setOf({"a", "x"}));
    Ids expected{"b", "youtube"};
    for (const auto& row : Catalog::all())
        if (row.id != "youtube" && row.id != "x") expected.push_back(row.id);
    const auto offered = editor.available();
    EXPECT_EQ(idsOf(offered), expected);
    EXPECT_EQ(offered.front().name, "Renamed b");

    for (const auto& service : offered) editor.add(service);
    EXPECT_TRUE(editor.available().empty());
}

TEST_F(WorkSetEditing, RemovingKeepsTheTypedPageAndAddingBackReplacesIt)
{
    WorkSetEditorModel editor(*model, setOf({"a", "b"}));
    editor.setAddress("b", "https://b.example/typed");
    editor.remove("b");
    EXPECT_EQ(idsOf(editor.services()), (Ids{"a"}));
    EXPECT_EQ(editor.address("b"), "https://b.example/typed");
    editor.remove("a");
    EXPECT_FALSE(editor.valid());

    editor.add(harness.service("b"));
    EXPECT_EQ(editor.address("b"), harness.service("b").url);
    EXPECT_TRUE(editor.valid());
}

TEST_F(WorkSetEditing, ValidNeedsANameServicesAndEveryPageAccepted)
{
    WorkSetEditorModel editor(*model, setOf({"a", "b"}));
    EXPECT_TRUE(editor.valid());
    editor.name = " \n ";
    EXPECT_FALSE(editor.valid());
    editor.name = "Name";
    editor.setAddress("b", "");
    EXPECT_FALSE(editor.valid());
    editor.setAddress("b", "https://b.example/with blank");
    EXPECT_FALSE(editor.valid());
    editor.setAddress("b", "javascript:alert(1)");
    EXPECT_FALSE(editor.valid());
    editor.setAddress("b", "b.example/next");
    EXPECT_TRUE(editor.valid());
}

TEST_F(WorkSetEditing, SavingTrimsTheNameTakesTypedPagesAndLeavesLineAlone)
{
    WorkSet original = setOf({"a", "line"});
    original.services[1].url = "https://line.example/chat";
    WorkSetEditorModel editor(*model, original);
    EXPECT_TRUE(WorkSetEditorModel::hasAddressField(original.services[0]));
    EXPECT_FALSE(WorkSetEditorModel::hasAddressField(original.services[1]));
    editor.name = "  朝の_作業 ";
    editor.setAddress("a", "a.example/inner");
    editor.save();

    ASSERT_EQ(model->workSets().size(), 1u);
    const WorkSet& saved = model->workSets().front();
    EXPECT_EQ(saved.id, original.id);
    EXPECT_EQ(saved.name, "朝の_作業");
    EXPECT_EQ(saved.services[0].url, "https://a.example/inner");
    EXPECT_EQ(saved.services[0].modifiedAt, original.services[0].modifiedAt);
    EXPECT_EQ(saved.services[1], original.services[1]);
    EXPECT_EQ(harness.workSetStore->store.stored->front(), saved);

    // Saved again under the same id: replaced in place, not appended.
    WorkSetEditorModel again(*model, saved);
    again.name = "Evening";
    again.save();
    ASSERT_EQ(model->workSets().size(), 1u);
    EXPECT_EQ(model->workSets().front().name, "Evening");
}

TEST_F(WorkSetEditing, ASetRepeatingAnIdEditsWithoutFailingAndIsRefusedOnSave)
{
    WorkSet repeated = setOf({"a", "a", "b"});
    repeated.services[1].url = "https://a.example/second";
    WorkSetEditorModel editor(*model, repeated);
    EXPECT_EQ(editor.address("a"), "https://a.example/page");
    editor.move("a", +1);
    EXPECT_EQ(idsOf(editor.services()), (Ids{"a", "a", "b"}));
    editor.save();
    EXPECT_TRUE(model->workSets().empty());
    EXPECT_EQ(model->error(), "作業セットを保存できません。名前とURLを確認してください。");
    editor.remove("a");
    EXPECT_EQ(idsOf(editor.services()), (Ids{"b"}));
}

TEST_F(WorkSetEditing, LabelsNameTheServiceOrSet)
{
    EXPECT_EQ(WorkSetEditorModel::moveUpLabel("My_Mail"), "My_Mailを上へ");
    EXPECT_EQ(WorkSetEditorModel::moveDownLabel("X"), "Xを下へ");
    EXPECT_EQ(WorkSetEditorModel::removeLabel("X"), "Xをセットから外す");
    EXPECT_EQ(WorkSetManagerModel::editLabel("朝"), "朝を編集");
    EXPECT_EQ(WorkSetManagerModel::deleteLabel("朝"), "朝を削除");
    EXPECT_EQ(WorkSetManagerModel::summary(setOf({"a", "b", "c"})), "Service a → Service b → Service c");
    EXPECT_EQ(WorkSetManagerModel::summary(WorkSet{}), "");

    // Each name is cut as the window shows it, the stored one stays whole.
    WorkSet longNames = setOf({"a", "b"});
    longNames.services[0].name = std::string(3'000'000, 'W');
    EXPECT_EQ(WorkSetManagerModel::summary(longNames), std::string(39, 'W') + "… → Service b");
}

TEST_F(WorkSetEditing, TheManagerOffersTheCurrentSetOnlyWithServices)
{
    WorkSetManagerModel manager(*model);
    EXPECT_TRUE(manager.canSaveCurrent());
    const WorkSet current = manager.currentSet();
    EXPECT_EQ(current.name, "新しい作業");
    EXPECT_EQ(idsOf(current.services), (Ids{"a", "b", "youtube"}));
    EXPECT_TRUE(model->workSets().empty());
    model->remove({0, 1, 2});
    EXPECT_FALSE(manager.canSaveCurrent());
}

}  // namespace
}  // namespace meridavolt
