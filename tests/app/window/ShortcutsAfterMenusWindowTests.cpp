// The window's keys after its menus: a choice in a menu, made with the real
// pointer, must leave every shortcut of the menu bar working.
#include "EditorWindowFixture.h"

#include "desktop/view/DesktopContentView.h"
#include "desktop/view/DesktopToolbar.h"

#include <gtkmm/menubutton.h>
#include <gtkmm/popovermenu.h>

namespace meridavolt::editortest {
namespace {

using testing::menuItem;
using testing::runMainLoopFor;
using testing::waitUntil;
using namespace std::chrono_literals;

class ShortcutsAfterMenus : public EditorWindowTest {
protected:
    void SetUp() override
    {
        EditorWindowTest::SetUp();
        storeLibrary({localService("one", "One"), localService("two", "Two")});
        start();
    }

    DesktopContentView& desktop() { return *findWidget<DesktopContentView>(*content_); }

    // Clicks the item with this label in the shown menu, as a hand does.
    bool clickMenuItem(Gtk::PopoverMenu& menu, const std::string& label)
    {
        Gtk::Widget* item = nullptr;
        if (!waitUntil([&] { return menu.get_mapped() && (item = menuItem(menu, label)) && item->get_width() > 0; }))
            return false;
        runMainLoopFor(150ms);
        XdoPointer(menu).moveTo(*item).click();
        return true;
    }

    // Chooses "メモリーの位置" → `position` in the toolbar's layout menu.
    void chooseMemoryPosition(const std::string& position, const std::string& stored)
    {
        auto& layout = desktop().toolbar().layoutButton();
        XdoPointer(*window_).moveTo(layout).click();
        auto* menu = dynamic_cast<Gtk::PopoverMenu*>(layout.get_popover());
        ASSERT_NE(menu, nullptr);
        ASSERT_TRUE(clickMenuItem(*menu, "メモリーの位置"));
        ASSERT_TRUE(clickMenuItem(*menu, position));
        ASSERT_TRUE(waitUntil([&] { return desktop().layoutSettings().values().memoryPosition == stored; }));
        ASSERT_TRUE(waitUntil([&] { return !menu->get_mapped(); }));
        runMainLoopFor(100ms);
    }

    // Each shortcut has its effect, which is then undone.
    void expectEveryShortcutWorks(const std::string& after)
    {
        EXPECT_TRUE(press(*window_, {"ctrl", "shift", "v"}, [&] { return model_->showingClipboard(); })) << after;
        model_->setShowingClipboard(false);
        runMainLoopFor(100ms);
        EXPECT_TRUE(press(*window_, {"ctrl", "shift", "k"}, [&] { return model_->showingWorkSets(); })) << after;
        model_->setShowingWorkSets(false);
        ASSERT_TRUE(waitUntil([&] { return shownWindow("作業セット") == nullptr; }));
        runMainLoopFor(100ms);
        EXPECT_TRUE(press(*window_, {"ctrl", "comma"}, [&] { return model_->managing(); })) << after;
        model_->setManaging(false);
        ASSERT_TRUE(waitUntil([&] { return shownWindow("サービス") == nullptr; }));
        runMainLoopFor(100ms);
        EXPECT_TRUE(press(*window_, {"ctrl", "2"}, [&] { return model_->selectedID() == "two"; })) << after;
    }
};

TEST_F(ShortcutsAfterMenus, EveryShortcutWorksAfterEachChoiceInTheLayoutMenu)
{
    chooseMemoryPosition("ページの上", "top");
    expectEveryShortcutWorks("after the memory went above the page");
    model_->activate(model_->library().services.front());
    chooseMemoryPosition("ページの下", "bottom");
    expectEveryShortcutWorks("after the memory went below the page");
}

}  // namespace
}  // namespace meridavolt::editortest
