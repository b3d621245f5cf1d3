// The service manager and editor in the real window: opened with Ctrl+,,
// driven with the X pointer and keys, checked in the bar and in services.json.
#include "EditorWindowFixture.h"

#include "editors/view/ServiceManager.h"
#include "model/Catalog.h"
#include "platform/SymbolIcons.h"

#include <gtkmm/icontheme.h>

#include <algorithm>
#include <regex>

namespace meridavolt::editortest {
namespace {

using testing::runMainLoopFor;
using testing::waitUntil;
using namespace std::chrono_literals;

class ServiceManagerWindow : public EditorWindowTest {
protected:
    void SetUp() override
    {
        EditorWindowTest::SetUp();
        Service one = localService("one", "One");
        one.appURL = "one-app://";
        one.actions = {QuickAction{"Inbox", server_.url("/one/inbox")}};
        storeLibrary({one, localService("two", "Two"), localService("three", "Three"), *Catalog::find("line")});
        start();
    }

    ServiceManager* openManager()
    {
        EXPECT_TRUE(press(*window_, {"ctrl", "comma"}, [&] { return model_->managing(); }));
        return sheet<ServiceManager>("サービス");
    }

    Gtk::ListBoxRow& row(Gtk::ListBox& list, int index) { return *list.get_row_at_index(index); }

    std::optional<Service> stored(const std::string& id)
    {
        auto library = JSONLibraryRepository().load();
        if (!library) return std::nullopt;
        for (const auto& service : library->services)
            if (service.id == id) return service;
        return std::nullopt;
    }

    ServiceEditor* openEditorFromRow(ServiceManager& manager, Gtk::ListBox& list, int index)
    {
        auto& window = *dynamic_cast<Gtk::Window*>(manager.get_root());
        const auto opened = [&] { return manager.editor() && manager.editor()->get_mapped(); };
        // Rows scrolled out of the sheet are chosen as the keyboard does.
        if (!waitUntil([&] { return row(list, index).get_height() > 0; })) return nullptr;
        double x = 0, y = 0;
        row(list, index).translate_coordinates(window, 0, row(list, index).get_height(), x, y);
        if (y < window.get_height()) click(window, row(list, index), opened);
        else row(list, index).activate();
        if (!waitUntil(opened)) return nullptr;
        runMainLoopFor(100ms);
        return manager.editor();
    }

    // The names the rows of "マイサービス" show, in order.
    std::vector<std::string> shownNames(ServiceManager& manager)
    {
        std::vector<std::string> names;
        for (int i = 0; auto* row = manager.myServices().get_row_at_index(i); ++i)
            names.push_back(findWidget<Gtk::Label>(*row)->get_text());
        return names;
    }

    std::vector<std::string> namesOf(const std::vector<std::string>& ids)
    {
        std::vector<std::string> names;
        for (const auto& id : ids)
            for (const auto& service : model_->library().services)
                if (service.id == id) names.push_back(service.name);
        return names;
    }

    void clickSave(ServiceEditor& editor)
    {
        XdoPointer(*dynamic_cast<Gtk::Window*>(editor.get_root())).moveTo(editor.saveButton()).click();
    }
};

TEST_F(ServiceManagerWindow, AddsEditsAndRefusesWebsitesThroughTheEditor)
{
    ServiceManager* manager = openManager();
    ASSERT_NE(manager, nullptr);
    EXPECT_EQ(manager->myServices().get_row_at_index(3) != nullptr, true);
    EXPECT_EQ(manager->myServices().get_row_at_index(4), nullptr);

    // A new web site: "Webサイト" is the last row under "追加".
    int last = 0;
    while (manager->addList().get_row_at_index(last + 1)) ++last;
    ServiceEditor* editor = openEditorFromRow(*manager, manager->addList(), last);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(dynamic_cast<Gtk::Window*>(editor->get_root())->get_title(), "Webサイトを追加");
    EXPECT_FALSE(editor->saveButton().get_sensitive());
    editor->nameEntry().set_text("My_<b>Site</b>");
    editor->addressEntry().set_text("example.com");
    EXPECT_FALSE(editor->addressHint().get_visible());
    ASSERT_TRUE(editor->saveButton().get_sensitive());
    clickSave(*editor);
    ASSERT_TRUE(waitUntil([&] { return model_->library().services.size() == 5; }));
    const Service added = model_->library().services.back();
    EXPECT_TRUE(std::regex_match(added.id, std::regex("[0-9A-F-]{36}")));
    ASSERT_TRUE(waitUntil([&] { return serviceBar().button(added.id) != nullptr; }));
    ASSERT_TRUE(waitUntil([&] { return manager->editor() == nullptr; }));
    auto file = stored(added.id);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->name, "My_<b>Site</b>");
    EXPECT_EQ(file->symbol, "globe");
    EXPECT_EQ(file->url, "https://example.com");
    ASSERT_TRUE(waitUntil([&] { return manager->myServices().get_row_at_index(4) != nullptr; }));

    // Renaming keeps the quick actions; a new address drops them.
    editor = openEditorFromRow(*manager, manager->myServices(), 0);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(dynamic_cast<Gtk::Window*>(editor->get_root())->get_title(), "サービスを編集");
    editor->nameEntry().set_text("  First ");
    clickSave(*editor);
    ASSERT_TRUE(waitUntil([&] { return stored("one") && stored("one")->name == "First"; }));
    EXPECT_EQ(stored("one")->actions.size(), 1u);
    EXPECT_EQ(stored("one")->appURL, "one-app://");
    ASSERT_TRUE(waitUntil([&] { return manager->editor() == nullptr; }));
    runMainLoopFor(100ms);
    editor = openEditorFromRow(*manager, manager->myServices(), 0);
    ASSERT_NE(editor, nullptr);
    editor->addressEntry().set_text(server_.url("/one/other"));
    clickSave(*editor);
    ASSERT_TRUE(waitUntil([&] { return stored("one") && stored("one")->actions.empty(); }));
    EXPECT_FALSE(stored("one")->appURL);
    EXPECT_EQ(stored("one")->url, server_.url("/one/other"));
    ASSERT_TRUE(waitUntil([&] { return manager->editor() == nullptr; }));
    runMainLoopFor(100ms);

    // A refused address shows the hint and keeps "保存" off; Esc closes only the editor.
    editor = openEditorFromRow(*manager, manager->addList(), last);
    ASSERT_NE(editor, nullptr);
    editor->nameEntry().set_text("FTP");
    editor->addressEntry().set_text("ftp://x");
    EXPECT_TRUE(editor->addressHint().get_visible());
    EXPECT_FALSE(editor->saveButton().get_sensitive());
    ASSERT_TRUE(press(*dynamic_cast<Gtk::Window*>(editor->get_root()), {"Escape"},
                      [&] { return manager->editor() == nullptr; }));
    EXPECT_TRUE(model_->managing());
    auto& managerWindow = *dynamic_cast<Gtk::Window*>(manager->get_root());
    EXPECT_TRUE(waitUntil([&] { return managerWindow.is_active(); })) << "the closed editor kept the keyboard";
    EXPECT_EQ(model_->library().services.size(), 5u);
    runMainLoopFor(100ms);

    // The messaging service keeps its way of opening.
    editor = openEditorFromRow(*manager, manager->myServices(), 3);
    ASSERT_NE(editor, nullptr);
    EXPECT_FALSE(editor->modePicker().get_sensitive());
    editor->cancelButton().activate();
    ASSERT_TRUE(waitUntil([&] { return manager->editor() == nullptr; }));

    // Each closed sheet gives the keyboard back to the window beneath it.
    ASSERT_TRUE(press(managerWindow, {"Escape"}, [&] { return !model_->managing(); }));
    EXPECT_TRUE(waitUntil([&] { return window_->is_active(); })) << "the closed manager kept the keyboard";
}

TEST_F(ServiceManagerWindow, DeletesAtOnceReordersByDraggingAndClosesOnEsc)
{
    ServiceManager* manager = openManager();
    ASSERT_NE(manager, nullptr);
    auto& sheetWindow = *dynamic_cast<Gtk::Window*>(manager->get_root());
    const auto lineAddable = [&] {
        for (int i = 0; auto* row = manager->addList().get_row_at_index(i); ++i) {
            auto* label = findWidget<Gtk::Label>(*row);
            if (label && std::string(label->get_text()) == Catalog::find("line")->name) return true;
        }
        return false;
    };
    EXPECT_FALSE(lineAddable());
    auto theme = Gtk::IconTheme::get_for_display(sheetWindow.get_display());
    for (const char* symbol : {"plus.circle", "pencil", "trash", "arrow.up", "arrow.down", "minus.circle"})
        EXPECT_NE(iconNameForSymbol(symbol), fallbackSymbolIcon) << symbol;
    for (const char* symbol : {"plus.circle", "pencil", "trash", "arrow.up", "arrow.down", "minus.circle"})
        EXPECT_TRUE(theme->has_icon(iconNameForSymbol(symbol))) << symbol;

    // "削除" in the row's context menu (right click) removes at once.
    XdoPointer(sheetWindow).moveTo(*manager->myServices().get_row_at_index(3)).click(3);
    auto& menu = manager->contextMenu();
    ASSERT_TRUE(waitUntil([&] { return menu.get_visible(); }));
    EXPECT_EQ(manager->contextDeleteButton().get_label(), "削除");
    manager->contextDeleteButton().activate();
    ASSERT_TRUE(waitUntil([&] { return libraryIDs() == std::vector<std::string>{"one", "two", "three"}; }));
    EXPECT_FALSE(menu.get_visible());
    EXPECT_FALSE(stored("line"));
    ASSERT_TRUE(waitUntil(lineAddable));
    EXPECT_EQ(serviceBar().button("line"), nullptr);

    // Shift+F10 opens the same menu for the focused row.
    manager->myServices().get_row_at_index(2)->grab_focus();
    ASSERT_TRUE(press(sheetWindow, {"shift", "F10"}, [&] { return menu.get_visible(); }));
    menu.popdown();
    EXPECT_EQ(libraryIDs(), (std::vector<std::string>{"one", "two", "three"}));

    // The Delete key on a focused row.
    manager->myServices().get_row_at_index(1)->grab_focus();
    ASSERT_TRUE(press(sheetWindow, {"Delete"},
                      [&] { return libraryIDs() == std::vector<std::string>{"one", "three"}; }));
    // The rows are rebuilt once the key's event is over; only then may the drag below hold them.
    ASSERT_TRUE(waitUntil([&] { return manager->myServices().get_row_at_index(2) == nullptr; }));
    runMainLoopFor(100ms);

    // Dragging "three" onto the upper half of "one" puts it first, in the bar and the file.
    const auto stamp = model_->library().services[1].modifiedAt;
    auto& three = *manager->myServices().get_row_at_index(1);
    auto& one = *manager->myServices().get_row_at_index(0);
    XdoPointer(sheetWindow).moveTo(three).press().glideTo(three, one, std::nullopt, 4.0).release();
    ASSERT_TRUE(waitUntil([&] { return libraryIDs() == std::vector<std::string>{"three", "one"}; }));
    EXPECT_EQ(model_->library().services[0].modifiedAt, stamp);
    EXPECT_EQ(JSONLibraryRepository().load()->services.front().id, "three");
    ASSERT_TRUE(waitUntil([&] {
        auto* first = serviceBar().button("three");
        auto* second = serviceBar().button("one");
        double x = 0, y = 0;
        return first && second && first->translate_coordinates(*second, 0, 0, x, y) && (x < 0 || y < 0);
    }));

    ASSERT_TRUE(press(sheetWindow, {"Escape"}, [&] { return !model_->managing(); }));
    EXPECT_TRUE(waitUntil([&] { return shownWindow("サービス") == nullptr; }));
}

TEST_F(ServiceManagerWindow, KeyboardFocusGoesToTheNeighbourOfARemovedRowAndBackFromItsMenu)
{
    ServiceManager* manager = openManager();
    ASSERT_NE(manager, nullptr);
    auto& sheetWindow = *dynamic_cast<Gtk::Window*>(manager->get_root());
    // The rows show the library once they are rebuilt after a change, and the
    // keyboard is on the row that shows this service.
    const auto focusedOn = [&](const std::string& id) {
        const auto ids = libraryIDs();
        if (shownNames(*manager) != namesOf(ids)) return false;
        const auto at = std::find(ids.begin(), ids.end(), id);
        return at != ids.end() && manager->myServices().get_row_at_index(int(at - ids.begin())) == sheetWindow.get_focus();
    };

    // "削除" of the row's menu is drawn as a destructive action, and leaves the keyboard on the next row.
    XdoPointer(sheetWindow).moveTo(*manager->myServices().get_row_at_index(0)).click(3);
    ASSERT_TRUE(waitUntil([&] { return manager->contextMenu().get_visible(); }));
    EXPECT_TRUE(manager->contextDeleteButton().has_css_class("destructive-action"));
    const auto ink = manager->contextDeleteButton().get_style_context()->get_color();
    EXPECT_GT(ink.get_red(), 2 * ink.get_green());
    // The popover is a surface of its own: its button is chosen as the keyboard does.
    manager->contextDeleteButton().activate();
    ASSERT_TRUE(waitUntil([&] { return libraryIDs() == std::vector<std::string>{"two", "three", "line"}; }));
    EXPECT_TRUE(waitUntil([&] { return focusedOn("two"); }));

    // Esc closes the menu and gives the keyboard back to its row.
    ASSERT_TRUE(press(sheetWindow, {"shift", "F10"}, [&] { return manager->contextMenu().get_visible(); }));
    ASSERT_TRUE(press(sheetWindow, {"Escape"}, [&] { return !manager->contextMenu().get_visible(); }));
    EXPECT_TRUE(waitUntil([&] { return focusedOn("two"); }));
    EXPECT_TRUE(model_->managing());

    // Delete on the last row goes back to the one before; the next Delete removes that one, not the first.
    manager->myServices().get_row_at_index(2)->grab_focus();
    ASSERT_TRUE(press(sheetWindow, {"Delete"}, [&] { return libraryIDs() == std::vector<std::string>{"two", "three"}; }));
    EXPECT_TRUE(waitUntil([&] { return focusedOn("three"); }));
    ASSERT_TRUE(press(sheetWindow, {"Delete"}, [&] { return libraryIDs().size() == 1; }));
    EXPECT_EQ(libraryIDs(), std::vector<std::string>{"two"});
    EXPECT_TRUE(waitUntil([&] { return focusedOn("two"); }));
}

TEST_F(ServiceManagerWindow, ANameOrAddressLongerThanAnEntryBufferIsSavedWhole)
{
    Service two = model_->library().services[1];
    const std::string longName(70000, 'n');
    const std::string longAddress = server_.url("/two?q=") + std::string(70000, 'a');
    two.name = longName;
    two.url = longAddress;
    model_->update(two);
    ServiceManager* manager = openManager();
    ASSERT_NE(manager, nullptr);
    ServiceEditor* editor = openEditorFromRow(*manager, manager->myServices(), 1);
    ASSERT_NE(editor, nullptr);
    auto& sheetWindow = *dynamic_cast<Gtk::Window*>(editor->get_root());

    // One character typed at the end of the name.
    editor->nameEntry().grab_focus();
    ASSERT_TRUE(press(sheetWindow, {"End"}, [&] { return editor->nameEntry().get_position() > 0; }));
    ASSERT_TRUE(press(sheetWindow, {"x"}, [&] { return editor->nameEntry().get_text().bytes() > longName.size(); }));
    clickSave(*editor);
    ASSERT_TRUE(waitUntil([&] { return manager->editor() == nullptr; }));
    auto saved = stored("two");
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->name, longName + "x");
    EXPECT_EQ(saved->url, longAddress);
}

TEST_F(ServiceManagerWindow, AnAlertOverTheSheetGivesItTheKeyboardBackAndLeavesItOnTop)
{
    ServiceManager* manager = openManager();
    ASSERT_NE(manager, nullptr);
    auto& sheetWindow = *dynamic_cast<Gtk::Window*>(manager->get_root());
    // A folder where the services file goes: it can no longer be written.
    const auto file = JSONLibraryRepository::defaultFileURL();
    std::filesystem::remove(file);
    std::filesystem::create_directories(file / "taken");

    ASSERT_TRUE(click(sheetWindow, row(manager->addList(), 0), [&] { return model_->error().has_value(); }));
    Gtk::Window* alert = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (alert = shownWindow("お知らせ")) && alert->is_active(); }));
    ASSERT_TRUE(press(*alert, {"Escape"}, [&] { return !model_->error(); }));
    EXPECT_TRUE(waitUntil([&] { return sheetWindow.is_active(); })) << "the keyboard did not go back to the sheet";
    EXPECT_NE(openEditorFromRow(*manager, manager->myServices(), 0), nullptr) << "the click missed the sheet";
}

}  // namespace
}  // namespace meridavolt::editortest
