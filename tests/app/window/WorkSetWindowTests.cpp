// The work-set manager and editor in the real window: opened with
// Ctrl+Shift+K over two live local pages, checked in the bar, the sessions and
// worksets.json.
#include "EditorWindowFixture.h"

#include "desktop/window/LauncherDesktop.h"
#include "editors/view/WorkSetManager.h"
#include "platform/Text.h"

#include <gtk/gtk.h>

namespace meridavolt::editortest {
namespace {

using testing::runMainLoopFor;
using testing::waitUntil;
using namespace std::chrono_literals;
using RowButton = WorkSetEditor::RowButton;
using desktoptest::LauncherDesktop;

class WorkSetWindow : public EditorWindowTest {
protected:
    void SetUp() override
    {
        EditorWindowTest::SetUp();
        for (const char* id : {"one", "two"})
            server_.serve(std::string("/") + id + "/inner", std::string("<!doctype html><p>inner ") + id);
        storeLibrary({localService("one", "One"), localService("two", "Two"), localService("three", "Three_x")});
        JSONWorkSetRepository().save({});
        start();
    }

    // Shows a service and walks its page to an inner path.
    void browse(const std::string& id)
    {
        for (const auto& service : model_->library().services)
            if (service.id == id) model_->activate(service);
        auto& session = *model_->sessions().at(id);
        ASSERT_TRUE(waitUntil([&] { return !session.loading() && session.currentURL(); }));
        session.load(server_.url("/" + id + "/inner"));
        ASSERT_TRUE(waitUntil([&] { return !session.loading() && session.currentURL() == server_.url("/" + id + "/inner"); }));
    }

    WorkSetManager* openManager()
    {
        EXPECT_TRUE(press(*window_, {"ctrl", "shift", "k"}, [&] { return model_->showingWorkSets(); }));
        return sheet<WorkSetManager>("作業セット");
    }

    Gtk::Window& windowOf(Gtk::Widget& widget) { return *dynamic_cast<Gtk::Window*>(widget.get_root()); }

    WorkSetEditor* waitForEditor(WorkSetManager& manager)
    {
        if (!waitUntil([&] { return manager.editor() && manager.editor()->get_mapped(); })) return nullptr;
        runMainLoopFor(100ms);
        return manager.editor();
    }

    void click(Gtk::Widget& widget, const std::function<bool()>& effect)
    {
        ASSERT_TRUE(EditorWindowTest::click(windowOf(widget), widget, effect));
    }

    std::vector<std::string> idsOf(const std::vector<Service>& services)
    {
        std::vector<std::string> ids;
        for (const auto& service : services) ids.push_back(service.id);
        return ids;
    }
};

TEST_F(WorkSetWindow, SavesTheCurrentPagesEditsAndAppliesASetThenDeletesIt)
{
    browse("one");
    browse("two");
    WorkSetManager* manager = openManager();
    ASSERT_NE(manager, nullptr);
    EXPECT_TRUE(manager->rows().empty());

    click(manager->saveCurrentButton(), [&] { return manager->editor() != nullptr; });
    WorkSetEditor* editor = waitForEditor(*manager);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(std::string(editor->nameEntry().get_text()), "新しい作業");
    EXPECT_EQ(std::string(editor->pageEntry("one")->get_text()), server_.url("/one/inner"));
    EXPECT_EQ(std::string(editor->pageEntry("two")->get_text()), server_.url("/two/inner"));
    EXPECT_FALSE(editor->rowButton("one", RowButton::up)->get_sensitive());
    EXPECT_FALSE(editor->rowButton("three", RowButton::down)->get_sensitive());
    EXPECT_FALSE(editor->addMenu().get_sensitive() && editor->addChoices().empty());

    // Down, up, out and back in: the page typed for "three" is replaced by its own address.
    click(*editor->rowButton("one", RowButton::down), [&] { return idsOf(editor->editor().services()).front() == "two"; });
    click(*editor->rowButton("three", RowButton::up), [&] { return idsOf(editor->editor().services())[1] == "three"; });
    editor->pageEntry("three")->set_text(server_.url("/typed"));
    click(*editor->rowButton("three", RowButton::remove), [&] { return editor->editor().services().size() == 2; });
    ASSERT_TRUE(waitUntil([&] { return editor->rowButton("three", RowButton::remove) == nullptr; }));
    ASSERT_TRUE(waitUntil([&] { return !editor->addChoices().empty(); }));
    auto* choice = editor->addChoices().front();
    EXPECT_EQ(std::string(dynamic_cast<Gtk::Label*>(choice->get_child())->get_text()), "Three_x");
    click(editor->addMenu(), [&] { return choice->get_mapped(); });
    // The popover is a surface of its own: its button is chosen as the keyboard does.
    choice->activate();
    ASSERT_TRUE(waitUntil([&] { return editor->editor().services().size() == 3; }));
    ASSERT_TRUE(waitUntil([&] { return editor->pageEntry("three") != nullptr; }));
    EXPECT_EQ(std::string(editor->pageEntry("three")->get_text()), server_.url("/three"));
    EXPECT_EQ(idsOf(editor->editor().services()), (std::vector<std::string>{"two", "one", "three"}));

    // Return saves.
    editor->nameEntry().set_text("  Morning_work ");
    editor->nameEntry().grab_focus();
    ASSERT_TRUE(press(windowOf(*editor), {"Return"}, [&] { return model_->workSets().size() == 1; }));
    ASSERT_TRUE(waitUntil([&] { return manager->editor() == nullptr; }));
    auto file = JSONWorkSetRepository().load();
    ASSERT_TRUE(file && file->size() == 1);
    const WorkSet saved = file->front();
    EXPECT_EQ(saved.name, "Morning_work");
    EXPECT_EQ(idsOf(saved.services), (std::vector<std::string>{"two", "one", "three"}));
    EXPECT_EQ(saved.services[0].url, server_.url("/two/inner"));
    EXPECT_EQ(saved.services[1].url, server_.url("/one/inner"));
    ASSERT_TRUE(waitUntil([&] { return manager->rows().size() == 1; }));
    runMainLoopFor(100ms);

    // The pencil opens the editor only.
    click(*manager->rows().front().edit, [&] { return manager->editor() != nullptr; });
    editor = waitForEditor(*manager);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(std::string(editor->nameEntry().get_text()), "Morning_work");
    EXPECT_EQ(model_->library().services.front().id, "one");
    click(editor->cancelButton(), [&] { return manager->editor() == nullptr; });
    EXPECT_TRUE(model_->showingWorkSets());
    runMainLoopFor(100ms);

    // The trash asks; cancelling keeps the set.
    click(*manager->rows().front().remove, [&] { return manager->confirmation() != nullptr; });
    ASSERT_TRUE(waitUntil([&] { return manager->confirmation()->get_mapped(); }));
    manager->confirmation()->response(Gtk::ResponseType::CANCEL);
    ASSERT_TRUE(waitUntil([&] { return manager->confirmation() == nullptr; }));
    EXPECT_EQ(model_->workSets().size(), 1u);

    // Opening the set reorders the bar, loads its pages, closes the sheet and selects its first service.
    click(*manager->rows().front().summary, [&] { return !model_->showingWorkSets(); });
    EXPECT_EQ(idsOf(model_->library().services), (std::vector<std::string>{"two", "one", "three"}));
    EXPECT_EQ(model_->selectedID(), "two");
    auto& one = *model_->sessions().at("one");
    EXPECT_TRUE(waitUntil([&] { return !one.loading() && one.currentURL() == server_.url("/one/inner"); }));
    EXPECT_EQ(JSONLibraryRepository().load()->services.front().id, "two");
    EXPECT_TRUE(waitUntil([&] { return shownWindow("作業セット") == nullptr; }));

    // Deleting after the question.
    manager = openManager();
    ASSERT_NE(manager, nullptr);
    ASSERT_EQ(manager->rows().size(), 1u);
    click(*manager->rows().front().remove, [&] { return manager->confirmation() != nullptr; });
    ASSERT_TRUE(waitUntil([&] { return manager->confirmation()->get_mapped(); }));
    manager->confirmation()->response(Gtk::ResponseType::ACCEPT);
    ASSERT_TRUE(waitUntil([&] { return model_->workSets().empty(); }));
    EXPECT_TRUE(JSONWorkSetRepository().load()->empty());
    ASSERT_TRUE(waitUntil([&] { return manager->rows().empty(); }));
}

TEST_F(WorkSetWindow, TheSheetTakesItsTitleAndSizeFromItsContentAndStaysCentredWhenWide)
{
    WorkSetManager* manager = openManager();
    ASSERT_NE(manager, nullptr);
    Gtk::Window& sheet = windowOf(*manager);
    EXPECT_EQ(std::string(sheet.get_title()), "作業セット");
    int width = 0, height = 0;
    sheet.get_default_size(width, height);
    EXPECT_EQ(width, 540);
    int minimumWidth = 0, minimumHeight = 0;
    manager->get_parent()->get_size_request(minimumWidth, minimumHeight);
    EXPECT_EQ(minimumWidth, 310);
    EXPECT_EQ(minimumHeight, 420);

    g_spawn_command_line_sync(("xdotool windowsize " + XdoPointer(sheet).windowID() + " 1000 600").c_str(), nullptr,
                              nullptr, nullptr, nullptr);
    ASSERT_TRUE(waitUntil([&] { return sheet.get_width() >= 1000; }));
    runMainLoopFor(100ms);
    // The 620 points hold the sheet's padding too.
    const int padding = manager->get_margin_start();
    EXPECT_EQ(manager->get_width() + padding + manager->get_margin_end(), 620);
    double x = 0, y = 0;
    manager->translate_coordinates(*manager->get_parent(), 0, 0, x, y);
    EXPECT_NEAR(x - padding, (manager->get_parent()->get_width() - 620) / 2.0, 1.0);

    // Esc closes it as "閉じる" does.
    ASSERT_TRUE(press(sheet, {"Escape"}, [&] { return !model_->showingWorkSets(); }));
}

TEST_F(WorkSetWindow, SpaceKeepsMovingTheSameServiceAndRemovingGoesToTheNeighbour)
{
    WorkSetManager* manager = openManager();
    ASSERT_NE(manager, nullptr);
    click(manager->saveCurrentButton(), [&] { return manager->editor() != nullptr; });
    WorkSetEditor* editor = waitForEditor(*manager);
    ASSERT_NE(editor, nullptr);
    Gtk::Window& sheet = windowOf(*editor);
    const auto order = [&] { return idsOf(editor->editor().services()); };
    const auto focusedOn = [&](const std::string& id, RowButton which) {
        auto* button = editor->rowButton(id, which);
        return button && sheet.get_focus() == button;
    };
    const auto space = [&](const std::vector<std::string>& expected) {
        return press(sheet, {"space"}, [&] { return order() == expected; });
    };

    // The moved row keeps the keyboard: Space moves "one" again, then back up once it is last.
    editor->rowButton("one", RowButton::down)->grab_focus();
    ASSERT_TRUE(space({"two", "one", "three"}));
    EXPECT_TRUE(waitUntil([&] { return focusedOn("one", RowButton::down); }));
    ASSERT_TRUE(space({"two", "three", "one"}));
    EXPECT_TRUE(waitUntil([&] { return focusedOn("one", RowButton::up); }));
    ASSERT_TRUE(space({"two", "one", "three"}));
    EXPECT_TRUE(waitUntil([&] { return focusedOn("one", RowButton::up); }));

    // Removing goes to the next row's button, or to the previous row's at the end.
    editor->rowButton("one", RowButton::remove)->grab_focus();
    ASSERT_TRUE(space({"two", "three"}));
    EXPECT_TRUE(waitUntil([&] { return focusedOn("three", RowButton::remove); }));
    ASSERT_TRUE(space({"two"}));
    EXPECT_TRUE(waitUntil([&] { return focusedOn("two", RowButton::remove); }));
    ASSERT_TRUE(space({}));
    EXPECT_TRUE(waitUntil([&] {
        auto* focus = sheet.get_focus();
        return focus && (focus == &editor->addMenu() || focus->is_ancestor(editor->addMenu()));
    }));
}

TEST_F(WorkSetWindow, APageLongerThanAnEntryBufferIsSavedWhole)
{
    Service two = model_->library().services[1];
    two.url = server_.url("/two?q=") + std::string(70000, 'a');
    model_->update(two);
    WorkSetManager* manager = openManager();
    ASSERT_NE(manager, nullptr);
    click(manager->saveCurrentButton(), [&] { return manager->editor() != nullptr; });
    WorkSetEditor* editor = waitForEditor(*manager);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->pageEntry("two")->get_text().bytes(), two.url.size());

    editor->nameEntry().grab_focus();
    ASSERT_TRUE(press(windowOf(*editor), {"Return"}, [&] { return model_->workSets().size() == 1; }));
    auto file = JSONWorkSetRepository().load();
    ASSERT_TRUE(file && file->size() == 1);
    EXPECT_EQ(file->front().services[1].url, two.url);
}

// The add menu with and without a window manager, which places the sheet and its menu differently.
class WorkSetAddMenu : public EditorWindowTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override
    {
        EditorWindowTest::SetUp();
        if (GetParam()) {
            desktop_ = std::make_unique<LauncherDesktop>();
            ASSERT_TRUE(desktop_->startWindowManager());
        }
        storeLibrary({localService("one", "One"), localService("long", longName),
                      localService("huge", std::string(600, 'w'))});
        JSONWorkSetRepository().save({});
        start();
    }

    // The menu's drawn box in the sheet window's coordinates (x, width):
    // both surfaces have room for shadows around their widgets.
    static std::pair<int, int> boxInSheet(Gtk::Popover& menu, Gtk::Window& sheet)
    {
        GdkSurface* surface = gtk_native_get_surface(GTK_NATIVE(menu.gobj()));
        double menuShadow = 0, sheetShadow = 0, y = 0;
        gtk_native_get_surface_transform(GTK_NATIVE(menu.gobj()), &menuShadow, &y);
        gtk_native_get_surface_transform(GTK_NATIVE(sheet.gobj()), &sheetShadow, &y);
        return {gdk_popup_get_position_x(GDK_POPUP(surface)) + int(menuShadow - sheetShadow), menu.get_width()};
    }

    static constexpr const char* longName = "Team calendar and shared planning board";
    std::unique_ptr<LauncherDesktop> desktop_;
};

TEST_P(WorkSetAddMenu, ShowsNamesWholeAndCutsOnlyWhatWouldPassTheWindow)
{
    EXPECT_TRUE(press(*window_, {"ctrl", "shift", "k"}, [&] { return model_->showingWorkSets(); }));
    auto* manager = sheet<WorkSetManager>("作業セット");
    ASSERT_NE(manager, nullptr);
    ASSERT_TRUE(click(*dynamic_cast<Gtk::Window*>(manager->get_root()), manager->saveCurrentButton(),
                      [&] { return manager->editor() != nullptr; }));
    ASSERT_TRUE(waitUntil([&] { return manager->editor() && manager->editor()->get_mapped(); }));
    runMainLoopFor(100ms);
    WorkSetEditor* editor = manager->editor();
    for (const char* id : {"long", "huge"}) editor->rowButton(id, RowButton::remove)->activate();
    ASSERT_TRUE(waitUntil([&] { return editor->rowButton("long", RowButton::remove) == nullptr; }));
    Gtk::Window& sheetWindow = *dynamic_cast<Gtk::Window*>(editor->get_root());
    auto choices = editor->addChoices();
    ASSERT_TRUE(click(sheetWindow, editor->addMenu(), [&] { return choices.front()->get_mapped(); }));
    auto& menu = *editor->addMenu().get_popover();
    ASSERT_TRUE(waitUntil([&] { return menu.get_width() > 0 && choices.front()->get_width() > 0; }));
    runMainLoopFor(200ms);

    const auto label = [&](Gtk::Button* choice) { return dynamic_cast<Gtk::Label*>(choice->get_child()); };
    EXPECT_EQ(std::string(label(choices[0])->get_text()), longName);
    // A name longer than any window shows is cut before it reaches the label,
    // and may be cut again where the menu would pass the window.
    EXPECT_EQ(std::string(label(choices[1])->get_text()), shownName(std::string(600, 'w')));
    for (std::size_t i = 0; i < choices.size(); ++i) {
        if (i == 1) continue;
        EXPECT_FALSE(label(choices[i])->get_layout()->is_ellipsized()) << label(choices[i])->get_text();
    }
    const auto [x, width] = boxInSheet(menu, sheetWindow);
    EXPECT_GE(x, 0);
    EXPECT_LE(x + width, sheetWindow.get_width());
    EXPECT_GT(width, sheetWindow.get_width() / 2);
}

INSTANTIATE_TEST_SUITE_P(WindowManager, WorkSetAddMenu, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Managed" : "Unmanaged"; });

}  // namespace
}  // namespace meridavolt::editortest
