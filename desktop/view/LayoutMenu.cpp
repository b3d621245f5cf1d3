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
    auto memory = Gio::Menu::create();
    memory->append("メモリーを表示", "layout.memory-visible");
    auto memoryPositions = Gio::Menu::create();
    memoryPositions->append_item(choice("ヘッダーにまとめる", "memory-position", "toolbar"));
    memoryPositions->append_item(choice("ページの上", "memory-position", "top"));
    memoryPositions->append_item(choice("ページの下", "memory-position", "bottom"));
    memory->append_section("メモリーの位置", memoryPositions);

    auto rail = Gio::Menu::create();
    rail->append("サービスバーを表示", "layout.rail-visible");
    auto railPositions = Gio::Menu::create();
    railPositions->append_item(choice("左", "rail-position", "left"));
    railPositions->append_item(choice("右", "rail-position", "right"));
    railPositions->append_item(choice("下", "rail-position", "bottom"));
    rail->append_section("サービスバーの位置", railPositions);

    auto reset = Gio::Menu::create();
    reset->append("配置をリセット", "layout.reset");

    menu_->append_section(memory);
    menu_->append_section(rail);
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
