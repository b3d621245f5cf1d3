#include "desktop/view/LayoutMenu.h"

namespace meridavolt {

namespace {

Glib::RefPtr<Gio::MenuItem> choice(const char* label, const char* action, const char* value)
{
    auto item = Gio::MenuItem::create(label, "");
    item->set_action_and_target(std::string(LayoutMenu::actionGroupName) + "." + action,
                                Glib::Variant<Glib::ustring>::create(value));
    return item;
}

}  // namespace

LayoutMenu::LayoutMenu(LayoutSettings& settings)
    : settings_(settings), menu_(Gio::Menu::create()), actions_(Gio::SimpleActionGroup::create())
{
    const auto values = settings_.values();
    memoryVisible_ = actions_->add_action_bool("memory-visible", [this] {
        settings_.setMemoryVisible(!settings_.values().memoryVisible);
    }, values.memoryVisible);
    memoryPosition_ = actions_->add_action_radio_string("memory-position", [this](const Glib::ustring& value) {
        settings_.setMemoryPosition(value);
    }, values.memoryPosition);
    railVisible_ = actions_->add_action_bool("rail-visible", [this] {
        settings_.setRailVisible(!settings_.values().railVisible);
    }, values.railVisible);
    railPosition_ = actions_->add_action_radio_string("rail-position", [this](const Glib::ustring& value) {
        settings_.setRailPosition(value);
    }, values.railPosition);
    actions_->add_action("reset", [this] { settings_.reset(); });

    buildMenu();
    settingsChanged_ = settings_.changed.connect([this] { update(); });
}

void LayoutMenu::buildMenu()
{
    // The pickers are submenus under their titles, so the one divider is the
    // one before the reset.
    auto memoryPositions = Gio::Menu::create();
    memoryPositions->append_item(choice("ヘッダーにまとめる", "memory-position", "toolbar"));
    memoryPositions->append_item(choice("ページの上", "memory-position", "top"));
    memoryPositions->append_item(choice("ページの下", "memory-position", "bottom"));
    auto railPositions = Gio::Menu::create();
    railPositions->append_item(choice("左", "rail-position", "left"));
    railPositions->append_item(choice("右", "rail-position", "right"));
    railPositions->append_item(choice("下", "rail-position", "bottom"));

    auto settings = Gio::Menu::create();
    settings->append("メモリーを表示", "layout.memory-visible");
    settings->append_submenu("メモリーの位置", memoryPositions);
    settings->append("サービスバーを表示", "layout.rail-visible");
    settings->append_submenu("サービスバーの位置", railPositions);

    auto reset = Gio::Menu::create();
    reset->append("配置をリセット", "layout.reset");

    menu_->append_section(settings);
    menu_->append_section(reset);
}

void LayoutMenu::update()
{
    const auto values = settings_.values();
    memoryVisible_->set_state(Glib::Variant<bool>::create(values.memoryVisible));
    memoryPosition_->set_state(Glib::Variant<Glib::ustring>::create(values.memoryPosition));
    railVisible_->set_state(Glib::Variant<bool>::create(values.railVisible));
    railPosition_->set_state(Glib::Variant<Glib::ustring>::create(values.railPosition));
}

}  // namespace meridavolt
