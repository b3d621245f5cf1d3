#include "desktop/view/DesktopStyle.h"

#include "platform/SymbolIcons.h"
#include "platform/gdk/WidgetStyle.h"

#include <gdkmm/display.h>
#include <gtkmm/icontheme.h>
#include <gtkmm/settings.h>

namespace meridavolt {

namespace {

// Orange is the window's hover, drag and docking tint (sRGB 1.0, 0.32, 0.0).
constexpr const char* styleSheet = R"css(
.desktop-grip { color: alpha(currentColor, 0.55); }
.desktop-grip.moving { color: #ff9500; }

.docking-hint {
  background-color: alpha(@theme_bg_color, 0.85);
  border: 1px solid #ff9500;
  border-radius: 10px;
  opacity: 0.65;
  font-size: 15px;
  font-weight: bold;
}
.docking-hint.destination { border-width: 3px; opacity: 1; }

.memory-resize-handle .capsule {
  min-width: 36px; min-height: 3px;
  border-radius: 2px;
  background-color: alpha(currentColor, 0.16);
}

.service-bar .add-service { padding: 0; }
.service-tile { padding: 6px; border-radius: 14px; min-width: 58px; background: none; box-shadow: none; border: none; }
/* The name only: the rule must not reach into anything else the tile holds. */
.service-tile > box > label { font-size: 10px; font-weight: 500; }
.service-tile.tinted { color: rgb(255, 82, 0); }
.insertion-marker { min-height: 3px; border-radius: 2px; background-color: rgb(255, 82, 0); }
/* Into the gap between two buttons. */
.insertion-marker.before { transform: translateY(-5px); }
.insertion-marker.after { transform: translateY(5px); }

.service-press { transition: transform 90ms ease-out, opacity 90ms ease-out; }
.service-press.pressed { transform: scale(0.94); opacity: 0.65; }
.service-press.reduced-motion { transition: none; }
.service-press.reduced-motion.pressed { transform: none; opacity: 0.65; }

.drop-strip { min-width: 18px; background-color: alpha(currentColor, 0.025); }
.drop-strip image { color: alpha(currentColor, 0.5); }
.drop-strip.targeted { background-color: rgba(255, 149, 0, 0.15); }
.drop-strip.targeted image { color: #ff9500; }

.secondary-pane-header { font-size: smaller; padding: 6px; }

.home-word { font-size: 13px; font-weight: 900; letter-spacing: 1px; }
.brand-link label { font-size: 12px; font-weight: 600; letter-spacing: 1px; }
.brand-link { min-height: 44px; }

.quick-action-sheet .title { font-weight: bold; font-size: 17px; }

.quick-launcher .launcher-caption { font-size: smaller; }
.quick-launcher .launcher-pin { color: #ff9500; }
)css";

}  // namespace

void ensureDesktopStyle()
{
    if (addStyleSheetOnce("meridavolt-desktop-style", styleSheet))
        Gtk::IconTheme::get_for_display(Gdk::Display::get_default())->add_resource_path(bundledIconsResourcePath);
}

bool reduceMotion()
{
    auto settings = Gtk::Settings::get_default();
    return settings && !settings->property_gtk_enable_animations().get_value();
}

}  // namespace meridavolt
