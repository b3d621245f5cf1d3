#include "DesktopWindowFixture.h"
#include "support/WidgetSearch.h"

#include <giomm/menumodel.h>
#include <gtkmm/label.h>
#include <gtkmm/popover.h>
#include <gtkmm/separator.h>

using namespace meridavolt;
using namespace meridavolt::desktoptest;
using meridavolt::testing::runMainLoopFor;
using meridavolt::testing::shown;
using meridavolt::testing::waitUntil;
using namespace std::chrono_literals;

namespace {

double xIn(Gtk::Widget& widget, Gtk::Widget& space)
{
    double x = 0, y = 0;
    widget.translate_coordinates(space, 0, 0, x, y);
    return x;
}

double yIn(Gtk::Widget& widget, Gtk::Widget& space)
{
    double x = 0, y = 0;
    widget.translate_coordinates(space, 0, 0, x, y);
    return y;
}

std::vector<std::string> menuLabels(const Glib::RefPtr<Gio::MenuModel>& menu)
{
    std::vector<std::string> labels;
    for (int i = 0; i < menu->get_n_items(); ++i) {
        Glib::VariantBase label = menu->get_item_attribute(i, Gio::MenuModel::Attribute::LABEL, Glib::VariantType("s"));
        if (label) labels.push_back(Glib::VariantBase::cast_dynamic<Glib::Variant<Glib::ustring>>(label).get());
        for (auto link : {Gio::MenuModel::Link::SECTION, Gio::MenuModel::Link::SUBMENU}) {
            if (auto inner = menu->get_item_link(i, link)) {
                for (auto& label : menuLabels(inner)) labels.push_back(label);
            }
        }
    }
    return labels;
}

}  // namespace

TEST_F(DesktopWindowTest, TheDefaultsPutTheShelfInTheToolbarAndTheBarAtTheRight)
{
    start();
    auto& toolbar = view_->toolbar();
    EXPECT_TRUE(toolbar.memoryShelfRow().get_visible());
    EXPECT_FALSE(toolbar.homeWord().get_visible());
    // However wide the shelf, it takes at most 390 points of the row.
    Gtk::Box wideShelf;
    wideShelf.set_size_request(600, 54);
    toolbar.shelfArea().append(wideShelf);
    ASSERT_TRUE(waitUntil([&] { return wideShelf.get_width() >= 600; }));
    EXPECT_EQ(toolbar.memoryShelfRow().get_width(), 390);
    toolbar.shelfArea().remove(wideShelf);
    EXPECT_EQ(view_->memoryStrip().get_parent(), nullptr);
    EXPECT_GT(xIn(view_->serviceBar(), *view_), xIn(view_->workspace(), *view_));
    EXPECT_FALSE(toolbar.backButton().get_sensitive());
}

TEST_F(DesktopWindowTest, TheLayoutMenuMovesTheBarAndTheChoiceSurvivesARestart)
{
    start();
    EXPECT_EQ(menuLabels(view_->toolbar().layoutButton().get_menu_model()),
              (std::vector<std::string>{"メモリーを表示", "メモリーの位置", "ヘッダーにまとめる", "ページの上", "ページの下",
                                        "サービスバーを表示", "サービスバーの位置", "左", "右", "下", "配置をリセット"}));
    // One divider, before the reset; the pickers' titles lead to their choices.
    auto& button = view_->toolbar().layoutButton();
    button.popup();
    ASSERT_TRUE(waitUntil([&] { return button.get_popover() && button.get_popover()->get_mapped(); }));
    runMainLoopFor(100ms);
    EXPECT_EQ(shown<Gtk::Separator>(*button.get_popover()).size(), 1u);
    for (auto* label : shown<Gtk::Label>(*button.get_popover())) EXPECT_FALSE(label->has_css_class("title"));
    button.popdown();

    view_->activate_action("layout.rail-position", Glib::Variant<Glib::ustring>::create("left"));
    view_->activate_action("layout.memory-position", Glib::Variant<Glib::ustring>::create("bottom"));
    ASSERT_TRUE(waitUntil([&] { return view_->arrangement().railAtLeft; }));
    runMainLoopFor(100ms);
    EXPECT_LT(xIn(view_->serviceBar(), *view_), xIn(view_->workspace(), *view_));
    EXPECT_GT(yIn(view_->memoryStrip(), *view_), yIn(view_->workspace(), *view_));
    EXPECT_TRUE(view_->toolbar().homeWord().get_visible());

    restart();
    EXPECT_TRUE(view_->arrangement().railAtLeft);
    EXPECT_TRUE(view_->arrangement().memoryAtBottom);
    EXPECT_LT(xIn(view_->serviceBar(), *view_), xIn(view_->workspace(), *view_));

    view_->activate_action("layout.rail-visible");
    ASSERT_TRUE(waitUntil([&] { return view_->serviceBar().get_parent() == nullptr; }));
    view_->activate_action("layout.reset");
    ASSERT_TRUE(waitUntil([&] { return view_->arrangement().railAtRight && view_->arrangement().memoryInToolbar; }));
    EXPECT_EQ(view_->layoutSettings().values(), LayoutValues{});
}

TEST_F(DesktopWindowTest, DraggingTheBarsGripDocksItWhereTheHintsSaid)
{
    start();
    view_->layoutSettings().setRailPosition("bottom");
    ASSERT_TRUE(waitUntil([&] { return view_->arrangement().railAtBottom; }));
    runMainLoopFor(100ms);
    auto& grip = *view_->serviceBar().get_first_child();
    pointer().moveTo(grip).press().glideTo(grip, *view_, 60, 300);
    EXPECT_TRUE(view_->dockingHints().get_visible());
    EXPECT_EQ(view_->docking().panelDestination(), "left");
    pointer().release();
    ASSERT_TRUE(waitUntil([&] { return view_->arrangement().railAtLeft; }));
    EXPECT_FALSE(view_->dockingHints().get_visible());
    EXPECT_EQ(SettingsFile(SettingsFile::defaultPath()).textValue(layout::railPositionKey), "left");
}

TEST_F(DesktopWindowTest, TheResizeHandleGrowsTheStripTowardsTheWorkspace)
{
    start();
    view_->layoutSettings().setMemoryPosition("bottom");
    ASSERT_TRUE(waitUntil([&] { return view_->arrangement().memoryAtBottom; }));
    runMainLoopFor(100ms);
    auto& handle = view_->memoryStrip().resizeHandle();
    double x = 0, y = 0;
    handle.translate_coordinates(*view_, handle.get_width() / 2.0, handle.get_height() / 2.0, x, y);
    pointer().moveTo(*view_, x, y).press();
    // Thirty points up, measured in the window: the handle itself rises as the strip grows.
    for (int step = 1; step <= 6; ++step) {
        pointer().moveTo(*view_, x, y - 5 * step);
        runMainLoopFor(40ms);
    }
    pointer().release();
    EXPECT_EQ(view_->layoutSettings().values().memoryHeight, 108);
}

TEST_F(DesktopWindowTest, HidingTheMemoryBringsBackTheHomeWord)
{
    start();
    view_->activate_action("layout.memory-visible");
    ASSERT_TRUE(waitUntil([&] { return view_->toolbar().homeWord().get_visible(); }));
    EXPECT_FALSE(view_->toolbar().memoryShelfRow().get_visible());
}

