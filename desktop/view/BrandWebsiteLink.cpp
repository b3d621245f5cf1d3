#include "desktop/view/BrandWebsiteLink.h"

#include "desktop/view/DesktopStyle.h"
#include "platform/SymbolIcons.h"

namespace meridavolt {

BrandWebsiteLink::BrandWebsiteLink(AppModel& model, std::string destination)
    : model_(model), destination_(std::move(destination))
{
    ensureDesktopStyle();
    add_css_class("flat");
    add_css_class("brand-link");
    add_css_class("dim-label");
    arrow_.set_from_icon_name(iconNameForSymbol("arrow.up.right"));
    arrow_.set_pixel_size(10);
    row_.set_valign(Gtk::Align::CENTER);
    row_.append(name_);
    row_.append(arrow_);
    set_child(row_);
    set_tooltip_text("PELLOWRIGHTのホームページをブラウザで開く");
    setAccessibleLabel(*this, "PELLOWRIGHTのホームページを開く");
    signal_clicked().connect([this] { model_.openExternal(destination_); });
}

}  // namespace meridavolt
