#include "editors/view/EditorStyle.h"

#include "desktop/view/DesktopStyle.h"
#include "platform/SymbolIcons.h"

#include <gtkmm/image.h>

namespace meridavolt {

namespace {

constexpr const char* styleSheet = R"css(
.editor-section { font-weight: bold; font-size: smaller; opacity: 0.6; margin: 12px 8px 4px 8px; }
.editor-list { background: none; }
.editor-list row { padding: 5px 8px; border-radius: 8px; }
.editor-hint { color: #e01b24; font-size: smaller; }
.editor-caption { font-size: smaller; opacity: 0.6; }
.editor-heading { font-weight: bold; font-size: 22px; }
.editor-set-name { font-weight: bold; font-size: 17px; }
.editor-service-name { font-weight: bold; }
.work-set-row { padding: 18px; border-radius: 16px; background-color: alpha(currentColor, 0.045); }
.work-set-summary { padding: 0; background: none; box-shadow: none; border: none; }
.work-set-editor-row { padding: 12px; border-radius: 12px; background-color: alpha(currentColor, 0.04); }
.work-set-editor-row entry { font-size: smaller; }
)css";

}  // namespace

void ensureEditorStyle()
{
    ensureDesktopStyle();
    addStyleSheetOnce("meridavolt-editor-style", styleSheet);
}

Gtk::Widget* makeSymbolImage(const std::string& symbol, int pixelSize)
{
    auto* image = Gtk::make_managed<Gtk::Image>();
    image->set_from_icon_name(iconNameForSymbol(symbol));
    image->set_pixel_size(pixelSize);
    return image;
}

Gtk::Button* makeSymbolButton(const std::string& symbol, const std::string& label)
{
    return makeSymbolButton(symbol, label, label);
}

Gtk::Button* makeSymbolButton(const std::string& symbol, const std::string& help, const std::string& label)
{
    auto* button = Gtk::make_managed<Gtk::Button>();
    button->set_icon_name(iconNameForSymbol(symbol));
    button->add_css_class("flat");
    button->set_tooltip_text(help);
    setAccessibleLabel(*button, label);
    return button;
}

}  // namespace meridavolt
