#include "DesktopWindowFixture.h"

#include <gdk/x11/gdkx.h>
#include <gtkmm/label.h>
#include <gtkmm/stack.h>

#include <algorithm>
#include <cmath>

using namespace meridavolt;
using namespace meridavolt::desktoptest;
using meridavolt::testing::runMainLoopFor;
using meridavolt::testing::waitUntil;
using namespace std::chrono_literals;

TEST_F(DesktopWindowTest, ClickingAServiceShowsItsPage)
{
    start();
    pointer().moveTo(serviceTile("three")).click();
    ASSERT_TRUE(waitUntil([&] { return model_->selectedID() == "three"; }));
    auto* pane = view_->workspace().primaryPane("three");
    ASSERT_NE(pane, nullptr);
    EXPECT_EQ(view_->workspace().primaryStack().get_visible_child(), pane);
    EXPECT_TRUE(waitUntil([&] { return pageLoaded("three"); }));
    EXPECT_EQ(view_->workspace().startupMark(), nullptr);
}

TEST_F(DesktopWindowTest, SwitchingBetweenMountedServicesOnlyChangesWhichPaneShows)
{
    start();
    choose("one");
    choose("two");
    auto* paneOne = view_->workspace().primaryPane("one");
    auto* paneTwo = view_->workspace().primaryPane("two");
    ASSERT_TRUE(paneOne && paneTwo);
    EXPECT_FALSE(paneOne->get_mapped());

    pointer().moveTo(serviceTile("one")).click();
    ASSERT_TRUE(waitUntil([&] { return model_->selectedID() == "one"; }));
    EXPECT_EQ(view_->workspace().primaryPane("one"), paneOne);
    EXPECT_EQ(view_->workspace().primaryPane("two"), paneTwo);
    EXPECT_TRUE(paneOne->get_mapped());
    EXPECT_TRUE(paneOne->isActive());
    EXPECT_FALSE(paneTwo->get_mapped());
    EXPECT_FALSE(paneTwo->isActive());
}

TEST_F(DesktopWindowTest, CtrlDragReordersTheBarAndRewritesTheServicesFile)
{
    start();
    auto& three = serviceTile("three");
    auto& one = serviceTile("one");
    pointer().keyDown("ctrl").moveTo(three).press().glideTo(three, one, std::nullopt, 4).release().keyUp("ctrl");
    ASSERT_TRUE(waitUntil([&] { return libraryIDs() == std::vector<std::string>{"three", "one", "two"}; }));
    auto stored = JSONLibraryRepository().load();
    ASSERT_TRUE(stored);
    ASSERT_EQ(stored->services.size(), 3u);
    EXPECT_EQ(stored->services[0].id, "three");
    EXPECT_EQ(stored->services[1].id, "one");
    // The reorder opened nothing, and the start-up animation will not either.
    EXPECT_EQ(model_->selectedID(), std::nullopt);
    EXPECT_FALSE(model_->startupSelection().pending);
    EXPECT_FALSE(view_->serviceBar().reorder().draggedID());
}

TEST_F(DesktopWindowTest, ACtrlDragReleasedBesideTheBarMovesNothing)
{
    start();
    auto& three = serviceTile("three");
    pointer().keyDown("ctrl").moveTo(three).press().glideTo(three, view_->workspace(), 200, 40).release().keyUp("ctrl");
    runMainLoopFor(100ms);
    EXPECT_EQ(libraryIDs(), (std::vector<std::string>{"one", "two", "three"}));
    EXPECT_FALSE(view_->serviceBar().button("one")->markerBefore().get_visible());
}

TEST_F(DesktopWindowTest, DraggingAServiceOntoTheRightStripOpensItBeside)
{
    start();
    choose("one");
    auto& two = serviceTile("two");
    pointer().moveTo(two).press().glideTo(two, view_->workspace().rightStrip()).release();
    ASSERT_TRUE(waitUntil([&] { return model_->secondaryID() == "two"; }));
    EXPECT_EQ(model_->selectedID(), "one");
    ASSERT_TRUE(waitUntil([&] { return view_->workspace().secondaryPane() != nullptr; }));
    EXPECT_EQ(view_->workspace().primaryPane("two"), nullptr);
    EXPECT_EQ(&view_->workspace().secondaryPane()->session(), model_->sessions().at("two").get());
    EXPECT_FALSE(view_->workspace().rightStrip().isTargeted());
}

TEST_F(DesktopWindowTest, AltClickShowsTheQuickActionsAndClosingThemClearsTheService)
{
    start();
    pointer().keyDown("alt").moveTo(serviceTile("two")).click().keyUp("alt");
    ASSERT_TRUE(waitUntil([&] { return model_->quickService().has_value(); }));
    EXPECT_EQ(model_->quickService()->id, "two");
    EXPECT_EQ(model_->selectedID(), std::nullopt);
    ASSERT_TRUE(waitUntil([&] { return view_->quickActionSheet().window() != nullptr; }));
    view_->quickActionSheet().window()->close();
    ASSERT_TRUE(waitUntil([&] { return !model_->quickService().has_value(); }));
    EXPECT_TRUE(waitUntil([&] { return view_->quickActionSheet().window() == nullptr; }));
}

TEST_F(DesktopWindowTest, EveryCatalogueSymbolHasAnIconAndUnknownNamesShowTheGlobe)
{
    start();
    auto theme = Gtk::IconTheme::get_for_display(window_->get_display());
    for (const auto& service : Catalog::all())
        EXPECT_TRUE(theme->has_icon(iconNameForSymbol(service.symbol))) << service.symbol;
    for (const char* symbol : {"globe", "line.3.horizontal", "minus", "plus", "arrow.uturn.backward",
                               "square.stack.3d.up", "rectangle.3.group", "slider.horizontal.3",
                               "rectangle.split.2x1", "arrow.up.right", "bolt", "arrow.up.right.square"})
        EXPECT_TRUE(theme->has_icon(iconNameForSymbol(symbol))) << symbol;
    EXPECT_EQ(iconNameForSymbol("no.such.symbol"), iconNameForSymbol("globe"));
}

TEST_F(DesktopWindowTest, TheContextMenuOpensBesideAndMovesAServiceToTheTop)
{
    start();
    choose("one");
    auto* two = view_->serviceBar().button("two");
    pointer().moveTo(two->tile()).click(3);
    bool menuShown = false;
    for (auto* child = two->tile().get_first_child(); child; child = child->get_next_sibling())
        if (dynamic_cast<Gtk::PopoverMenu*>(child) && child->get_visible()) menuShown = true;
    EXPECT_TRUE(menuShown);
    two->activate_action("service.right");
    ASSERT_TRUE(waitUntil([&] { return model_->secondaryID() == "two"; }));

    auto* three = view_->serviceBar().button("three");
    three->popupContextMenu(10, 10);
    three->activate_action("service.top");
    ASSERT_TRUE(waitUntil([&] { return libraryIDs().front() == "three"; }));
    EXPECT_EQ(JSONLibraryRepository().load()->services.front().id, "three");
    EXPECT_EQ(serviceTile("three").get_tooltip_text(), "Three · 起動時に開く · Ctrlドラッグで並べ替え");
    EXPECT_EQ(serviceTile("one").get_tooltip_text(), "One · Ctrlドラッグで並べ替え");
}

TEST_F(DesktopWindowTest, AltReturnOnAFocusedServiceShowsItsQuickActions)
{
    start();
    serviceTile("three").grab_focus();
    pointer().keyDown("alt").keyDown("Return").keyUp("Return").keyUp("alt");
    ASSERT_TRUE(waitUntil([&] { return model_->quickService().has_value(); }));
    EXPECT_EQ(model_->quickService()->id, "three");
    EXPECT_EQ(model_->selectedID(), std::nullopt);
}

namespace {

// The widget of a shown menu that carries this label.
Gtk::Widget* findMenuItem(Gtk::Widget& root, const std::string& label)
{
    for (auto* child = root.get_first_child(); child; child = child->get_next_sibling()) {
        if (auto* text = dynamic_cast<Gtk::Label*>(child); text && std::string(text->get_text()) == label) return &root;
        if (auto* found = findMenuItem(*child, label)) return found;
    }
    return nullptr;
}

// Whether the tile is drawn with the press style's dimmed, shrunk look.
bool pressed(Gtk::Widget& tile)
{
    return (tile.get_state_flags() & Gtk::StateFlags::ACTIVE) == Gtk::StateFlags::ACTIVE;
}

}  // namespace

TEST_F(DesktopWindowTest, AButtonMovedToTheTopFromItsMenuIsNotLeftPressed)
{
    start();
    auto* three = view_->serviceBar().button("three");
    pointer().moveTo(three->tile()).click(3);
    Gtk::PopoverMenu* menu = nullptr;
    for (auto* child = three->tile().get_first_child(); child; child = child->get_next_sibling())
        if (auto* popover = dynamic_cast<Gtk::PopoverMenu*>(child)) menu = popover;
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(waitUntil([&] { return menu->get_mapped(); }));
    runMainLoopFor(100ms);
    EXPECT_FALSE(pressed(three->tile()));
    Gtk::Widget* item = findMenuItem(*menu, "一番上へ移動・起動時に開く");
    ASSERT_NE(item, nullptr);
    // The menu is a surface of its own: aim at the item within it.
    double x = 0, y = 0, marginX = 0, marginY = 0;
    item->translate_coordinates(*menu, item->get_width() / 2.0, item->get_height() / 2.0, x, y);
    gtk_native_get_surface_transform(GTK_NATIVE(menu->gobj()), &marginX, &marginY);
    const auto menuWindow = std::to_string(gdk_x11_surface_get_xid(menu->get_surface()->gobj()));
    g_spawn_command_line_sync(("xdotool mousemove --window " + menuWindow + " " + std::to_string(int(x + marginX)) +
                               " " + std::to_string(int(y + marginY)) + " click 1").c_str(),
                              nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(waitUntil([&] { return libraryIDs().front() == "three"; }));
    runMainLoopFor(300ms);
    EXPECT_FALSE(pressed(three->tile()));
    // And it still opens with one click.
    pointer().moveTo(three->tile()).click();
    EXPECT_TRUE(waitUntil([&] { return model_->selectedID() == "three"; }));
}

namespace {

// The opacity a widget is drawn with now: that of the first opacity node of
// its render tree, or 1.
double drawnOpacity(GskRenderNode* node)
{
    if (!node) return 1;
    switch (gsk_render_node_get_node_type(node)) {
    case GSK_OPACITY_NODE:
        return gsk_opacity_node_get_opacity(node);
    case GSK_TRANSFORM_NODE:
        return drawnOpacity(gsk_transform_node_get_child(node));
    case GSK_DEBUG_NODE:
        return drawnOpacity(gsk_debug_node_get_child(node));
    case GSK_CLIP_NODE:
        return drawnOpacity(gsk_clip_node_get_child(node));
    case GSK_CONTAINER_NODE:
        for (guint i = 0; i < gsk_container_node_get_n_children(node); ++i) {
            const double opacity = drawnOpacity(gsk_container_node_get_child(node, i));
            if (opacity < 1) return opacity;
        }
        return 1;
    default:
        return 1;
    }
}

double drawnOpacity(Gtk::Widget& widget)
{
    GtkSnapshot* snapshot = gtk_snapshot_new();
    gtk_widget_snapshot_child(widget.get_parent()->gobj(), widget.gobj(), snapshot);
    GskRenderNode* node = gtk_snapshot_free_to_node(snapshot);
    const double opacity = drawnOpacity(node);
    if (node) gsk_render_node_unref(node);
    return opacity;
}

// The opacities a widget is drawn with, frame by frame, while it is pressed.
std::vector<double> opacitiesWhilePressed(Gtk::Widget& widget)
{
    std::vector<double> opacities;
    const auto tick = widget.add_tick_callback([&](const Glib::RefPtr<Gdk::FrameClock>&) {
        opacities.push_back(drawnOpacity(widget));
        return true;
    });
    widget.set_state_flags(Gtk::StateFlags::ACTIVE, false);
    runMainLoopFor(400ms);
    widget.remove_tick_callback(tick);
    widget.unset_state_flags(Gtk::StateFlags::ACTIVE);
    runMainLoopFor(300ms);
    return opacities;
}

bool easesIn(const std::vector<double>& opacities)
{
    const bool between = std::any_of(opacities.begin(), opacities.end(), [](double o) { return o > 0.7 && o < 0.95; });
    return between && !opacities.empty() && std::abs(opacities.back() - 0.65) < 0.01;
}

}  // namespace

TEST_F(DesktopWindowTest, ThePressDimsEveryTileGraduallyTheSelectedOneToo)
{
    start();
    choose("two");
    runMainLoopFor(300ms);
    for (const char* id : {"one", "two"}) {
        auto opacities = opacitiesWhilePressed(serviceTile(id));
        std::string drawn;
        for (double opacity : opacities) drawn += std::to_string(opacity) + " ";
        EXPECT_TRUE(easesIn(opacities)) << id << ": " << drawn;
    }
}
