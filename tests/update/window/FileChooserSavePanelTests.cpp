#include "fakes/TemporaryFolder.h"
#include "support/MainLoopWait.h"
#include "update/view/FileChooserSavePanel.h"

#include <gtest/gtest.h>
#include <gtkmm/init.h>

#include <fstream>

namespace meridavolt {
namespace {

// The save panel's dialog on this desktop (GTK's own, without a portal).
GtkFileChooser* openChooser()
{
    for (auto* window : Gtk::Window::list_toplevels()) {
        if (GTK_IS_FILE_CHOOSER(window->gobj()) && window->get_mapped()) return GTK_FILE_CHOOSER(window->gobj());
    }
    return nullptr;
}

class SavePanel : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        gtk_init();
        Gtk::init_gtkmm_internals();
    }

    void SetUp() override
    {
        parent.present();
        std::ofstream(folder / "update.dmg") << "old";
        panel.chooseSaveLocation("MERIDAVOLT-2.1.0.dmg", [this](std::optional<std::filesystem::path> path) {
            answers.push_back(path);
        });
    }

    // Types a name in the open dialog, in our folder, and presses its save button.
    void saveAs(const std::string& name)
    {
        GtkFileChooser* chooser = nullptr;
        ASSERT_TRUE(testing::waitUntil([&] { return (chooser = openChooser()) != nullptr; }));
        // The dialog settles on its first folder by itself first; a folder set before that is lost.
        ASSERT_TRUE(testing::waitUntil([&] { return currentFolder(chooser).has_value(); }));
        GFile* ours = g_file_new_for_path(folder.path().c_str());
        gtk_file_chooser_set_current_folder(chooser, ours, nullptr);
        g_object_unref(ours);
        ASSERT_TRUE(testing::waitUntil([&] { return currentFolder(chooser) == folder.path(); }));
        gtk_file_chooser_set_current_name(chooser, name.c_str());
        gtk_dialog_response(GTK_DIALOG(chooser), GTK_RESPONSE_ACCEPT);
    }

    static std::optional<std::filesystem::path> currentFolder(GtkFileChooser* chooser)
    {
        GFile* shown = gtk_file_chooser_get_current_folder(chooser);
        if (!shown) return std::nullopt;
        gchar* path = g_file_get_path(shown);
        std::optional<std::filesystem::path> result;
        if (path) result = path;
        g_free(path);
        g_object_unref(shown);
        return result;
    }

    Gtk::MessageDialog* waitForQuestion()
    {
        testing::waitUntil([&] { return panel.questionDialog() != nullptr || !answers.empty(); });
        return panel.questionDialog();
    }

    fakes::TemporaryFolder folder;
    Gtk::Window parent;
    FileChooserSavePanel panel;
    std::vector<std::optional<std::filesystem::path>> answers;
};

TEST_F(SavePanel, ANameTypedWithoutTheExtensionIsSavedWithIt)
{
    saveAs("new");
    ASSERT_TRUE(testing::waitUntil([&] { return !answers.empty(); }));
    EXPECT_EQ(answers, std::vector<std::optional<std::filesystem::path>>{folder / "new.dmg"});
    EXPECT_EQ(panel.questionDialog(), nullptr);
}

TEST_F(SavePanel, ReplacingTheFileOfTheCompletedNameIsAskedFirst)
{
    saveAs("update");
    auto* question = waitForQuestion();
    ASSERT_NE(question, nullptr);
    EXPECT_TRUE(answers.empty());
    EXPECT_EQ(question->property_text().get_value(), "「update.dmg」はすでに存在します。置き換えますか？");
    question->response(Gtk::ResponseType::ACCEPT);
    ASSERT_TRUE(testing::waitUntil([&] { return !answers.empty(); }));
    EXPECT_EQ(answers, std::vector<std::optional<std::filesystem::path>>{folder / "update.dmg"});
}

TEST_F(SavePanel, DecliningToReplaceReturnsToTheDialog)
{
    saveAs("update");
    auto* question = waitForQuestion();
    ASSERT_NE(question, nullptr);
    question->response(Gtk::ResponseType::CANCEL);
    EXPECT_TRUE(answers.empty());

    GtkFileChooser* chooser = nullptr;
    ASSERT_TRUE(testing::waitUntil([&] { return (chooser = openChooser()) != nullptr; }));
    gchar* name = gtk_file_chooser_get_current_name(chooser);
    EXPECT_STREQ(name, "update.dmg");
    g_free(name);
    ASSERT_TRUE(testing::waitUntil([&] { return currentFolder(chooser).has_value(); }));
    EXPECT_EQ(currentFolder(chooser), folder.path());
    saveAs("other");
    ASSERT_TRUE(testing::waitUntil([&] { return !answers.empty(); }));
    EXPECT_EQ(answers, std::vector<std::optional<std::filesystem::path>>{folder / "other.dmg"});
}

}  // namespace
}  // namespace meridavolt
