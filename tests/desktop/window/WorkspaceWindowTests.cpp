#include "DesktopWindowFixture.h"

#include "desktop/view/BrandWebsiteLink.h"
#include "web/webkit/WebKitEngine.h"

#include <gdkmm/pixbuf.h>
#include <gtkmm/messagedialog.h>
#include <gtkmm/settings.h>

#include <cstdlib>
#include <filesystem>

using namespace meridavolt;
using namespace meridavolt::desktoptest;
using meridavolt::testing::runMainLoopFor;
using meridavolt::testing::waitUntil;
using namespace std::chrono_literals;

TEST_F(DesktopWindowTest, TheStartupAnimationOpensTheFirstServiceAtItsEnd)
{
    start();
    ASSERT_NE(view_->workspace().startupMark(), nullptr);
    EXPECT_TRUE(model_->hasShownStartup());
    ASSERT_TRUE(waitUntil([&] { return model_->selectedID() == "one"; }, 6s));
    EXPECT_EQ(view_->workspace().startupMark(), nullptr);
    EXPECT_TRUE(waitUntil([&] { return pageLoaded("one"); }));
}

TEST_F(DesktopWindowTest, HidingTheWindowDuringTheStartupAnimationEndsItWithoutOpening)
{
    start();
    auto* mark = view_->workspace().startupMark();
    ASSERT_NE(mark, nullptr);
    ASSERT_TRUE(mark->sequence().isRunning());
    window_->set_visible(false);
    EXPECT_FALSE(mark->sequence().isRunning());
    EXPECT_FALSE(mark->sequence().state().captionVisible);

    window_->present();
    ASSERT_TRUE(waitUntil([&] { return mark->get_mapped(); }));
    EXPECT_FALSE(mark->sequence().isRunning());
    EXPECT_TRUE(mark->sequence().state().arrived);
    EXPECT_EQ(model_->selectedID(), std::nullopt);
}

TEST_F(DesktopWindowTest, HomeClosesTheSplitAndShowsTheStillMark)
{
    start();
    choose("one");
    ASSERT_NO_FATAL_FAILURE(openBeside("two", false));

    pointer().moveTo(view_->toolbar().homeButton()).click();
    ASSERT_TRUE(waitUntil([&] { return !model_->selectedID(); }));
    EXPECT_EQ(model_->secondaryID(), std::nullopt);
    EXPECT_EQ(view_->workspace().secondaryPane(), nullptr);
    auto* mark = view_->workspace().startupMark();
    ASSERT_NE(mark, nullptr);
    EXPECT_TRUE(mark->sequence().state().arrived);
    EXPECT_FALSE(mark->sequence().isRunning());
    // The pages stay mounted for the next switch.
    EXPECT_NE(view_->workspace().primaryPane("one"), nullptr);
}

TEST_F(DesktopWindowTest, TheSecondPanesCloseButtonEndsTheSplit)
{
    start();
    choose("one");
    ASSERT_NO_FATAL_FAILURE(openBeside("three", false));
    ASSERT_TRUE(waitUntil([&] {
        auto* button = view_->workspace().closeSplitButton();
        return button && button->get_mapped() && button->get_width() > 0;
    }));
    pointer().moveTo(*view_->workspace().closeSplitButton()).click();
    ASSERT_TRUE(waitUntil([&] { return !model_->secondaryID(); }));
    EXPECT_EQ(view_->workspace().secondaryPane(), nullptr);
    EXPECT_EQ(model_->focusedPaneID(), "one");
}

TEST_F(DesktopWindowTest, NeitherPaneOfTheSplitGetsNarrowerThanItsMinimum)
{
    start();
    choose("one");
    ASSERT_NO_FATAL_FAILURE(openBeside("two", false));
    auto& divider = view_->workspace().divider();
    divider.set_position(5);
    runMainLoopFor(100ms);
    EXPECT_GE(view_->workspace().primaryStack().get_width(), SplitWorkspace::minimumPaneWidth);
    divider.set_position(divider.get_width() - 5);
    runMainLoopFor(100ms);
    EXPECT_GE(divider.get_end_child()->get_width(), SplitWorkspace::minimumPaneWidth);
    EXPECT_EQ(view_->workspace().leftStrip().get_width(), 18);
}

TEST_F(DesktopWindowTest, ClickingASecondPaneFocusesItWithoutChangingTheSelection)
{
    start();
    choose("one");
    ASSERT_NO_FATAL_FAILURE(openBeside("two", false));
    ASSERT_TRUE(waitUntil([&] { return pageLoaded("two"); }));
    pointer().moveTo(*view_->workspace().secondaryPane()).click();
    ASSERT_TRUE(waitUntil([&] { return model_->focusedPaneID() == "two"; }));
    EXPECT_EQ(model_->selectedID(), "one");
}

TEST_F(DesktopWindowTest, TheAlertShowsTheMessageAndAnyAnswerClearsIt)
{
    start();
    choose("one");
    model_->setError("保存できませんでした。");
    ASSERT_TRUE(waitUntil([&] { return view_->alert().dialog() && view_->alert().dialog()->get_visible(); }));
    auto* dialog = view_->alert().dialog();
    EXPECT_EQ(dialog->property_text().get_value(), "お知らせ");
    EXPECT_EQ(dialog->property_secondary_text().get_value(), "保存できませんでした。");
    dialog->response(Gtk::ResponseType::OK);
    ASSERT_TRUE(waitUntil([&] { return !model_->error(); }));

    model_->setError("二度目");
    ASSERT_TRUE(waitUntil([&] { return view_->alert().dialog() && view_->alert().dialog()->get_visible(); }));
    view_->alert().dialog()->response(Gtk::ResponseType::DELETE_EVENT);
    EXPECT_TRUE(waitUntil([&] { return !model_->error(); }));
}

// Records how the main window looks with three local services: into
// $MERIDAVOLT_SCREENSHOT_DIR when set (docs/screenshots keeps the record),
// else into the test's own folder.
TEST_F(DesktopWindowTest, MainWindowScreenshot)
{
    start();
    choose("one");
    choose("two");
    ASSERT_TRUE(waitUntil([&] { return pageLoaded("two"); }));
    runMainLoopFor(600ms);
    const char* folder = std::getenv("MERIDAVOLT_SCREENSHOT_DIR");
    const auto path = (folder ? std::filesystem::path(folder) : folder_.path()) / "main-window.png";
    saveScreenshot(*window_, path.string());
    auto picture = Gdk::Pixbuf::create_from_file(path.string());
    EXPECT_EQ(picture->get_width(), window_->get_width());
    EXPECT_EQ(picture->get_height(), window_->get_height());
}

TEST_F(DesktopWindowTest, AWebViewMovesBetweenThePanesWithoutEverHavingTwoPlaces)
{
    start();
    choose("one");
    choose("two");
    ASSERT_TRUE(waitUntil([&] { return pageLoaded("one"); }));
    GtkWidget* page = WebKitEngine::widgetOf(model_->sessions().at("one")->engine());
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(gtk_widget_is_ancestor(page, GTK_WIDGET(view_->workspace().primaryPane("one")->gobj())));

    ASSERT_NO_FATAL_FAILURE(openBeside("one", false));
    EXPECT_EQ(view_->workspace().primaryPane("one"), nullptr);
    EXPECT_TRUE(gtk_widget_is_ancestor(page, GTK_WIDGET(view_->workspace().secondaryPane()->gobj())));

    model_->closeSplit();
    ASSERT_TRUE(waitUntil([&] { return view_->workspace().primaryPane("one") != nullptr; }));
    EXPECT_EQ(view_->workspace().secondaryPane(), nullptr);
    EXPECT_TRUE(gtk_widget_is_ancestor(page, GTK_WIDGET(view_->workspace().primaryPane("one")->gobj())));
    // Same session, same page: nothing was reloaded on the way.
    EXPECT_EQ(server_.requestCount("/one"), 1);
}

TEST_F(DesktopWindowTest, WithAnimationsOffTheMarkStandsStillAndTheButtonsOnlyDim)
{
    auto settings = Gtk::Settings::get_default();
    settings->property_gtk_enable_animations() = false;
    start();
    runMainLoopFor(400ms);
    auto* mark = view_->workspace().startupMark();
    ASSERT_NE(mark, nullptr);
    EXPECT_TRUE(mark->sequence().state().arrived);
    EXPECT_TRUE(mark->sequence().state().captionVisible);
    EXPECT_FALSE(mark->sequence().state().flashingSymbol);
    EXPECT_TRUE(serviceTile("one").has_css_class("reduced-motion"));
    settings->property_gtk_enable_animations() = true;
    EXPECT_FALSE(serviceTile("one").has_css_class("reduced-motion"));
}

TEST_F(DesktopWindowTest, TheMakersLinkOpensItsPageOutside)
{
    start();
    choose("one");
    BrandWebsiteLink link(*model_, "https://pellowright.example/");
    Gtk::Window sheet;
    sheet.set_transient_for(*window_);
    sheet.set_child(link);
    sheet.present();
    ASSERT_TRUE(waitUntil([&] { return link.get_mapped() && link.get_width() > 0; }));
    EXPECT_GE(link.get_height(), 44);
    XdoPointer(sheet).moveTo(link).click();
    sheet.unset_child();
    sheet.destroy();
    ASSERT_FALSE(workspace_.opened.empty());
    EXPECT_EQ(workspace_.opened.back(), "https://pellowright.example/");
}

