#include "desktop/view/QuickActionSheet.h"

#include "desktop/ServiceMenu.h"
#include "desktop/WorkspaceActions.h"
#include "desktop/view/DesktopStyle.h"
#include "platform/SymbolIcons.h"
#include "platform/Text.h"

#include <gtkmm/image.h>

namespace meridavolt {

QuickActionSheet::QuickActionSheet(AppModel& model, Service service)
    : Gtk::Box(Gtk::Orientation::VERTICAL, 22), model_(model), service_(std::move(service))
{
    ensureDesktopStyle();
    add_css_class("quick-action-sheet");
    set_margin(30);
    set_size_request(280, -1);

    title_.set_text(shownName(service_.name));
    title_.add_css_class("title");
    spacer_.set_hexpand(true);
    close_.add_css_class("flat");
    close_.signal_clicked().connect([this] { model_.setQuickService(std::nullopt); });
    header_.append(title_);
    header_.append(spacer_);
    header_.append(close_);
    append(header_);

    using Kind = ServiceMenuItem::Kind;
    for (const auto& item : quickActionSheetItems(service_)) {
        const char* symbol = item.kind == Kind::open ? "arrow.up.right"
                             : item.kind == Kind::launch ? "arrow.up.right.square"
                                                         : "bolt";
        addButton(item.title, symbol, [this, item] {
            AppModel& model = model_;
            const Service service = service_;
            // Clearing the sheet's service closes it; nothing of this sheet is touched afterwards.
            model.setQuickService(std::nullopt);
            actions::performMenuItem(model, service, item);
        });
    }
}

Gtk::Button& QuickActionSheet::addButton(const std::string& title, const char* symbol, std::function<void()> action)
{
    auto button = std::make_unique<Gtk::Button>();
    auto* row = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 8);
    auto* icon = Gtk::make_managed<Gtk::Image>();
    icon->set_from_icon_name(iconNameForSymbol(symbol));
    auto* label = Gtk::make_managed<Gtk::Label>(title);
    row->append(*icon);
    row->append(*label);
    button->set_child(*row);
    button->add_css_class("flat");
    button->set_halign(Gtk::Align::START);
    setAccessibleLabel(*button, title);
    button->signal_clicked().connect(std::move(action));
    append(*button);
    buttons_.push_back(std::move(button));
    return *buttons_.back();
}

std::vector<Gtk::Button*> QuickActionSheet::buttons()
{
    std::vector<Gtk::Button*> result{&close_};
    for (auto& button : buttons_) result.push_back(button.get());
    return result;
}

}  // namespace meridavolt
