#include "desktop/view/DesktopToolbar.h"

#include "desktop/WorkspaceActions.h"
#include "desktop/view/DesktopStyle.h"
#include "platform/SymbolIcons.h"

namespace meridavolt {

namespace {

// The memory shelf and its grip take at most this width of the row.
constexpr int shelfRowWidth = 390;

void iconButton(Gtk::Button& button, const char* symbol, int width, int height)
{
    button.set_icon_name(iconNameForSymbol(symbol));
    button.add_css_class("flat");
    button.set_size_request(width, height);
    button.set_valign(Gtk::Align::CENTER);
}

}  // namespace

DesktopToolbar::DesktopToolbar(AppModel& model, PanelDocking& docking, Gtk::Widget& layoutSpace,
                               const Glib::RefPtr<Gio::MenuModel>& layoutMenu)
    : Gtk::Box(Gtk::Orientation::HORIZONTAL, 6), model_(model), shelfGrip_(Panel::memory, docking, layoutSpace)
{
    ensureDesktopStyle();
    add_css_class("desktop-toolbar");
    set_margin_start(14);
    set_margin_end(14);
    set_margin_top(3);
    set_margin_bottom(3);

    brand_.set_size_request(28, 28);
    brand_.set_valign(Gtk::Align::CENTER);
    homeWord_.add_css_class("home-word");
    homeRow_.append(brand_);
    homeRow_.append(homeWord_);
    home_.set_child(homeRow_);
    home_.add_css_class("flat");
    setAccessibleLabel(home_, "ホーム");
    home_.signal_clicked().connect([this] { actions::goHome(model_); });

    spacer_.set_hexpand(true);
    spacer_.set_size_request(10, -1);

    iconButton(back_, "arrow.uturn.backward", 32, 32);
    back_.set_tooltip_text("さっきに戻る（Ctrl+Tab）");
    setAccessibleLabel(back_, "直前のサービスへ");
    back_.signal_clicked().connect([this] { actions::returnToPreviousService(model_); });

    iconButton(workSets_, "square.stack.3d.up", 32, 32);
    workSets_.set_tooltip_text("作業セット（Ctrl+Shift+K）");
    setAccessibleLabel(workSets_, "作業セット");
    workSets_.signal_clicked().connect([this] { actions::showWorkSets(model_); });

    shelfArea_.set_size_request(-1, 54);
    shelfArea_.set_hexpand(true);
    // A wider shelf is cut at its end rather than widening the row.
    shelfClip_.set_policy(Gtk::PolicyType::EXTERNAL, Gtk::PolicyType::NEVER);
    shelfClip_.set_propagate_natural_height(true);
    int gripWidth = 0, gripHeight = 0;
    shelfGrip_.get_size_request(gripWidth, gripHeight);
    shelfClip_.set_size_request(shelfRowWidth - gripWidth, -1);
    shelfClip_.set_child(shelfArea_);
    shelfRow_.set_hexpand(false);
    shelfRow_.append(shelfGrip_);
    shelfRow_.append(shelfClip_);

    layout_.set_icon_name(iconNameForSymbol("rectangle.3.group"));
    layout_.set_has_frame(false);
    layout_.set_size_request(28, 32);
    layout_.set_valign(Gtk::Align::CENTER);
    layout_.set_tooltip_text("画面の配置・表示を変更");
    setAccessibleLabel(layout_, "画面の配置・表示を変更");
    layout_.set_menu_model(layoutMenu);

    iconButton(manage_, "slider.horizontal.3", 44, 32);
    setAccessibleLabel(manage_, "サービスを管理");
    manage_.signal_clicked().connect([this] { actions::showServiceManager(model_); });

    append(home_);
    append(spacer_);
    append(back_);
    append(workSets_);
    append(shelfRow_);
    memoryButtonArea_.set_valign(Gtk::Align::CENTER);
    append(memoryButtonArea_);
    append(layout_);
    append(manage_);

    clipboardPopover_ = std::make_unique<ClipboardPopover>(model_, memoryButtonArea_);

    historyChanged_ = model_.switchHistoryChanged.connect([this] { updateBackButton(); });
    libraryChanged_ = model_.libraryChanged.connect([this] { updateBackButton(); });
    updateBackButton();
}

void DesktopToolbar::update(const DesktopArrangement& arrangement)
{
    shelfRow_.set_visible(arrangement.memoryInToolbar);
    homeWord_.set_visible(arrangement.showsHomeWord());
}

void DesktopToolbar::updateBackButton()
{
    back_.set_sensitive(model_.previousService().has_value());
}

}  // namespace meridavolt
