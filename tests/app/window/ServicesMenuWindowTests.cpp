#include "app/view/ApplicationMenus.h"
#include "desktop/AppModelHarness.h"
#include "support/MainLoopWait.h"
#include "support/WidgetSearch.h"

#include <gtest/gtest.h>
#include <gtkmm/application.h>
#include <gdkmm/display.h>
#include <gdkmm/monitor.h>
#include <gtkmm/init.h>
#include <gtkmm/label.h>
#include <gtkmm/popovermenu.h>
#include <gtkmm/separator.h>
#include <gtkmm/window.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace meridavolt {
namespace {

using namespace std::chrono_literals;
using desktoptest::AppModelHarness;
using testing::shown;

// The "サービス" menu of the menu bar, drawn by GTK as the menu bar draws it.
class ServicesMenuWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        gtk_init();
        Gtk::init_gtkmm_internals();
        application_ =
            Gtk::Application::create("com.pellowright.meridavolt.menutest", Gio::Application::Flags::NON_UNIQUE);
        application_->register_application();
    }

    static void TearDownTestSuite() { application_.reset(); }

    void show(std::vector<Service> services)
    {
        harness_ = std::make_unique<AppModelHarness>(std::move(services));
        menus_ = std::make_unique<ApplicationMenus>(*application_, [] {});
        menus_->showServices(*harness_->model);
        auto bar = application_->get_menubar();
        Glib::RefPtr<Gio::MenuModel> servicesMenu;
        for (int i = 0; i < bar->get_n_items(); ++i) {
            auto label = bar->get_item_attribute(i, Gio::MenuModel::Attribute::LABEL, Glib::VariantType("s"));
            if (label && Glib::VariantBase::cast_dynamic<Glib::Variant<Glib::ustring>>(label).get() == "サービス")
                servicesMenu = bar->get_item_link(i, Gio::MenuModel::Link::SUBMENU);
        }
        ASSERT_TRUE(servicesMenu);
        menu_ = std::make_unique<Gtk::PopoverMenu>(servicesMenu);
        window_.set_default_size(400, 600);
        window_.set_child(anchor_);
        window_.present();
        menu_->set_parent(anchor_);
        menu_->popup();
        // Drawn once every fixed command shows, with room given to each.
        ASSERT_TRUE(testing::waitUntil([&] {
            const auto shownLabels = shown<Gtk::Label>(*menu_);
            return shownLabels.size() >= 5 &&
                   std::all_of(shownLabels.begin(), shownLabels.end(), [](auto* label) { return label->get_height() > 0; });
        }));
        testing::runMainLoopFor(100ms);
    }

    void TearDown() override
    {
        if (menu_) menu_->unparent();
        menus_.reset();
        window_.destroy();
        testing::runMainLoopFor(20ms);
    }

    std::vector<std::string> labels()
    {
        std::vector<std::string> texts;
        for (auto* label : shown<Gtk::Label>(*menu_)) texts.push_back(label->get_text());
        return texts;
    }

    static inline Glib::RefPtr<Gtk::Application> application_;
    std::unique_ptr<AppModelHarness> harness_;
    std::unique_ptr<ApplicationMenus> menus_;
    Gtk::Window window_;
    Gtk::Label anchor_{"anchor"};
    std::unique_ptr<Gtk::PopoverMenu> menu_;
};

TEST_F(ServicesMenuWindow, AnEmptyLibraryShowsTheDividerAndTheFixedItems)
{
    show({});
    const auto separators = shown<Gtk::Separator>(*menu_);
    ASSERT_EQ(separators.size(), 1u);
    // The divider stands above every item.
    double x = 0, dividerY = 0;
    separators.front()->translate_coordinates(*menu_, 0, 0, x, dividerY);
    for (auto* label : shown<Gtk::Label>(*menu_)) {
        double labelY = 0;
        label->translate_coordinates(*menu_, 0, 0, x, labelY);
        EXPECT_GT(labelY, dividerY) << std::string(label->get_text());
    }
    const auto texts = labels();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.front(), "直前のサービスへ");
}

TEST_F(ServicesMenuWindow, ServicesComeBeforeTheOneDivider)
{
    show({AppModelHarness::service("one"), AppModelHarness::service("two")});
    EXPECT_EQ(shown<Gtk::Separator>(*menu_).size(), 1u);
    const auto texts = labels();
    ASSERT_GE(texts.size(), 3u);
    EXPECT_EQ(texts[0], "one");
    EXPECT_EQ(texts[1], "two");
}

TEST_F(ServicesMenuWindow, LongNamesAreCutSoTheMenuFitsTheScreenWithItsShortcuts)
{
    Service thousand = AppModelHarness::service("thousand");
    thousand.name = std::string(1000, 'M');
    Service huge = AppModelHarness::service("huge");
    huge.name = std::string(3'000'000, 'W');
    application_->add_window(window_);  // so that the menu shows the application's shortcuts
    show({thousand, huge});

    const auto texts = labels();
    ASSERT_GE(texts.size(), 4u);
    EXPECT_EQ(texts[0], std::string(39, 'M') + "…");
    EXPECT_EQ(texts[2], std::string(39, 'W') + "…");

    auto monitors = menu_->get_display()->get_monitors();
    auto monitor = std::dynamic_pointer_cast<Gdk::Monitor>(monitors->get_object(0));
    ASSERT_TRUE(monitor);
    Gdk::Rectangle screen;
    monitor->get_geometry(screen);
    EXPECT_LT(menu_->get_width(), screen.get_width());
    // Every shortcut shows whole inside the menu.
    int shortcuts = 0;
    for (auto* label : shown<Gtk::Label>(*menu_)) {
        if (!std::string(label->get_text()).starts_with("Ctrl+")) continue;
        ++shortcuts;
        double x = 0, y = 0;
        label->translate_coordinates(*menu_, label->get_width(), 0, x, y);
        EXPECT_LE(x, menu_->get_width()) << std::string(label->get_text());
    }
    EXPECT_GE(shortcuts, 2);
}

}  // namespace
}  // namespace meridavolt
