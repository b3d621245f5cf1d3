#include "DesktopWindowFixture.h"
#include "DrawnOpacity.h"

#include "platform/Text.h"
#include "support/AccessibleName.h"
#include "support/WidgetSearch.h"

#include <gtkmm/stack.h>

#include <algorithm>

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
    ASSERT_NE(two->contextMenu(), nullptr);
    EXPECT_TRUE(two->contextMenu()->get_visible());
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

// Whether the tile is drawn with the press style's dimmed look, once its
// easing has had time to end.
bool drawnPressed(Gtk::Widget& tile) { return drawnOpacity(tile) < 0.99; }

}  // namespace

TEST_F(DesktopWindowTest, AButtonMovedToTheTopFromItsMenuIsNotLeftPressed)
{
    start();
    auto* three = view_->serviceBar().button("three");
    pointer().moveTo(three->tile()).click(3);
    Gtk::PopoverMenu* menu = three->contextMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(waitUntil([&] { return menu->get_mapped(); }));
    runMainLoopFor(100ms);
    EXPECT_FALSE(drawnPressed(three->tile()));
    Gtk::Widget* item = meridavolt::testing::menuItem(*menu, "一番上へ移動・起動時に開く");
    ASSERT_NE(item, nullptr);
    XdoPointer(*menu).moveTo(*item).click();
    ASSERT_TRUE(waitUntil([&] { return libraryIDs().front() == "three"; }));
    runMainLoopFor(300ms);
    EXPECT_FALSE(drawnPressed(three->tile()));
    // And it still opens with one click.
    pointer().moveTo(three->tile()).click();
    EXPECT_TRUE(waitUntil([&] { return model_->selectedID() == "three"; }));
}

TEST_F(DesktopWindowTest, AfterAnyMenuEveryClickOpensItsServiceAndNoTileStaysPressed)
{
    start();
    ASSERT_TRUE(clickOpen("three"));
    const std::vector<std::string> ids{"one", "two", "three"};
    for (int trial = 0; trial < 20; ++trial) {
        const std::string menuOwner = ids[trial % 3];
        // Neither the menu's tile nor the open one, so that the click must open it.
        std::vector<std::string> others;
        for (const auto& id : ids)
            if (id != menuOwner && model_->selectedID() != id) others.push_back(id);
        const std::string clicked = others[(trial / 3) % others.size()];
        auto* owner = view_->serviceBar().button(menuOwner);
        pointer().moveTo(owner->tile()).click(3);
        Gtk::PopoverMenu* menu = nullptr;
        ASSERT_TRUE(waitUntil([&] { return (menu = owner->contextMenu()) && menu->get_mapped(); })) << "trial " << trial;
        // Half the menus close with Escape, half with a click on the page.
        if (trial % 2 == 0) pointer().keyDown("Escape").keyUp("Escape");
        else pointer().moveTo(view_->workspace(), 300, 300).click();
        ASSERT_TRUE(waitUntil([&] { return !menu->get_mapped(); })) << "trial " << trial;

        pointer().moveTo(serviceTile(clicked)).click().moveTo(view_->workspace(), 300, 300);
        EXPECT_TRUE(waitUntil([&] { return model_->selectedID() == clicked; }, 2s))
            << "trial " << trial << ": the click on " << clicked << " was lost";
        runMainLoopFor(200ms);
        for (const auto& id : ids) EXPECT_FALSE(drawnPressed(serviceTile(id))) << "trial " << trial << ": " << id;
        if (::testing::Test::HasFailure()) return;
    }
}

TEST_F(DesktopWindowTest, TheTileMenuIsSetInTheFontOfTheOtherMenus)
{
    start();
    auto* three = view_->serviceBar().button("three");
    three->popupContextMenu(10, 10);
    ASSERT_TRUE(waitUntil([&] { return three->contextMenu()->get_mapped(); }));
    auto* open = meridavolt::testing::menuItem(*three->contextMenu(), "開く");
    ASSERT_NE(open, nullptr);
    auto& layoutButton = view_->toolbar().layoutButton();
    layoutButton.popup();
    auto* layoutMenu = layoutButton.get_popover();
    ASSERT_TRUE(waitUntil([&] { return layoutMenu->get_mapped(); }));
    auto* reset = meridavolt::testing::menuItem(*layoutMenu, "配置をリセット");
    ASSERT_NE(reset, nullptr);

    const auto fontOf = [](Gtk::Widget& item) {
        auto* label = meridavolt::testing::findWidget<Gtk::Label>(item);
        return label->get_pango_context()->get_font_description();
    };
    EXPECT_EQ(fontOf(*open).get_size(), fontOf(*reset).get_size());
    EXPECT_EQ(fontOf(*open).get_weight(), fontOf(*reset).get_weight());
    // The tile's own name keeps its small type.
    auto* name = meridavolt::testing::findWidget<Gtk::Label>(three->tile());
    EXPECT_LT(name->get_pango_context()->get_font_description().get_size(), fontOf(*reset).get_size());
    layoutButton.popdown();
}

namespace {

// Ctrl-drags a tile onto the top half of the first one with the real pointer;
// whether the insertion marker showed above the first tile on the way.
bool ctrlDragToTheTop(XdoPointer pointer, ServiceBar& bar, const std::string& id)
{
    auto* first = bar.button(bar.model().library().services.front().id);
    auto& dragged = bar.button(id)->tile();
    pointer.keyDown("ctrl").moveTo(dragged).press().glideTo(dragged, first->tile(), std::nullopt, 4);
    const bool marked = first->markerBefore().get_visible();
    pointer.release().keyUp("ctrl");
    return marked;
}

}  // namespace

TEST_F(DesktopWindowTest, TheShownServiceIsCtrlDraggedLikeAnyOther)
{
    start();
    pointer().moveTo(serviceTile("three")).click();
    ASSERT_TRUE(waitUntil([&] { return model_->selectedID() == "three"; }));
    runMainLoopFor(200ms);
    EXPECT_TRUE(ctrlDragToTheTop(pointer(), view_->serviceBar(), "three"));
    EXPECT_TRUE(waitUntil([&] { return libraryIDs() == std::vector<std::string>{"three", "one", "two"}; }));
}

TEST_F(DesktopWindowTest, CtrlDragStillReordersAfterMenusAndTheAlertClosedWithEscape)
{
    start();
    auto& bar = view_->serviceBar();
    pointer().moveTo(serviceTile("three")).click();
    ASSERT_TRUE(waitUntil([&] { return model_->selectedID() == "three"; }));
    auto* three = bar.button("three");
    pointer().moveTo(three->tile()).click(3);
    ASSERT_TRUE(waitUntil([&] { return three->contextMenu() && three->contextMenu()->get_mapped(); }));
    pointer().keyDown("Escape").keyUp("Escape");
    ASSERT_TRUE(waitUntil([&] { return !three->contextMenu()->get_mapped(); }));
    auto& layoutButton = view_->toolbar().layoutButton();
    pointer().moveTo(layoutButton).click();
    ASSERT_TRUE(waitUntil([&] { return layoutButton.get_popover()->get_mapped(); }));
    pointer().keyDown("Escape").keyUp("Escape");
    ASSERT_TRUE(waitUntil([&] { return !layoutButton.get_popover()->get_mapped(); }));
    EXPECT_TRUE(ctrlDragToTheTop(pointer(), bar, "three"));
    ASSERT_TRUE(waitUntil([&] { return libraryIDs() == std::vector<std::string>{"three", "one", "two"}; }));

    pointer().moveTo(serviceTile("two")).click();
    ASSERT_TRUE(waitUntil([&] { return model_->selectedID() == "two"; }));
    model_->setError("保存できませんでした。");
    ASSERT_TRUE(waitUntil([&] { return view_->alert().dialog() && view_->alert().dialog()->get_mapped(); }));
    auto* dialog = view_->alert().dialog();
    XdoPointer(*dialog).keyDown("Escape").keyUp("Escape");
    ASSERT_TRUE(waitUntil([&] { return !model_->error(); }));
    EXPECT_TRUE(ctrlDragToTheTop(pointer(), bar, "two"));
    EXPECT_TRUE(waitUntil([&] { return libraryIDs() == std::vector<std::string>{"two", "three", "one"}; }));
}

TEST_F(DesktopWindowTest, AfterATileMenuClosedWithEscapeOneJumpAndOneClickOpenAnotherTile)
{
    start();
    auto* one = view_->serviceBar().button("one");
    pointer().moveTo(one->tile()).click(3);
    ASSERT_TRUE(waitUntil([&] { return one->contextMenu() && one->contextMenu()->get_mapped(); }));
    pointer().keyDown("Escape").keyUp("Escape");
    ASSERT_TRUE(waitUntil([&] { return !one->contextMenu()->get_mapped(); }));
    pointer().moveTo(serviceTile("three")).click();
    EXPECT_TRUE(waitUntil([&] { return model_->selectedID() == "three"; }, 2s));
    // The menu's tile is not drawn hovered, neither as the service opens nor after.
    EXPECT_FALSE(one->tile().has_css_class("tinted"));
    runMainLoopFor(300ms);
    EXPECT_FALSE(one->tile().has_css_class("tinted"));
}

TEST_F(DesktopWindowTest, ATilesTooltipNeverCoversItsOpenMenu)
{
    start();
    auto* two = view_->serviceBar().button("two");
    auto& tile = two->tile();
    pointer().moveTo(tile);
    ASSERT_TRUE(waitUntil([&] { return meridavolt::testing::tooltipShown(*window_); }, 5s)) << "no tooltip over the tile";

    pointer().click(3);
    ASSERT_TRUE(waitUntil([&] { return two->contextMenu() && two->contextMenu()->get_mapped(); }));
    // Over the menu's first item, then back over the tile above it, as a hand hesitating does.
    pointer().moveTo(tile, tile.get_width() / 2.0, tile.get_height() / 2.0 + 20);
    runMainLoopFor(1000ms);
    pointer().moveTo(tile, tile.get_width() / 2.0 + 8, 6);
    runMainLoopFor(1500ms);
    EXPECT_FALSE(meridavolt::testing::tooltipShown(*window_)) << "the tile's tooltip covers its menu";

    two->contextMenu()->popdown();
    runMainLoopFor(50ms);
    EXPECT_TRUE(tile.get_has_tooltip());
    EXPECT_EQ(tile.get_tooltip_text(), "Two · Ctrlドラッグで並べ替え");
}

TEST_F(DesktopWindowTest, ATileIsNamedWithTheWholeNameThoughItsFaceCutsItShort)
{
    std::string longName;
    for (int i = 0; i < 50; ++i) longName += "長";
    ServiceLibrary library;
    library.services = {service("one", longName, "safari"), service("two", "Two", "play.rectangle.fill")};
    JSONLibraryRepository().save(library);
    start();
    auto& tile = serviceTile("one");
    EXPECT_TRUE(meridavolt::testing::namedAs(tile, longName));
    ASSERT_NE(shownName(longName), longName);
    auto* face = meridavolt::testing::findWidget<Gtk::Label>(tile);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(std::string(face->get_text()), shownName(longName));
    EXPECT_EQ(std::string(tile.get_tooltip_text()), shownName(longName) + " · 起動時に開く · Ctrlドラッグで並べ替え");
}
