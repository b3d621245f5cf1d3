#include "platform/SymbolIcons.h"

#include <map>

namespace meridavolt {

std::string iconNameForSymbol(const std::string& symbol)
{
    static const std::map<std::string, std::string> icons = {
        // Service symbols of the catalogue and of added web sites: bundled.
        {"safari", "meridavolt-safari-symbolic"},
        {"play.rectangle.fill", "meridavolt-play-rectangle-fill-symbolic"},
        {"xmark", "meridavolt-xmark-symbolic"},
        {"camera", "meridavolt-camera-symbolic"},
        {"music.note", "meridavolt-music-note-symbolic"},
        {"square.and.pencil", "meridavolt-square-and-pencil-symbolic"},
        {"message.fill", "meridavolt-message-fill-symbolic"},
        {"sparkle", "meridavolt-sparkle-symbolic"},
        {"folder", "meridavolt-folder-symbolic"},
        {"circle.hexagongrid", "meridavolt-circle-hexagongrid-symbolic"},
        {"paintpalette", "meridavolt-paintpalette-symbolic"},
        {"character.bubble", "meridavolt-character-bubble-symbolic"},
        {"cart", "meridavolt-cart-symbolic"},
        {"globe", "meridavolt-globe-symbolic"},
        // Controls of the window that the theme has no fitting icon for: bundled.
        {"square.stack.3d.up", "meridavolt-square-stack-3d-up-symbolic"},
        {"slider.horizontal.3", "meridavolt-slider-horizontal-3-symbolic"},
        {"arrow.up.right", "meridavolt-arrow-up-right-symbolic"},
        {"arrow.up.right.square", "meridavolt-arrow-up-right-square-symbolic"},
        {"bolt", "meridavolt-bolt-symbolic"},
        // The memory panel's rows and controls.
        {"photo.badge.plus", "insert-image-symbolic"},
        {"text.alignleft", "format-justify-left-symbolic"},
        {"pin", "view-pin-symbolic"},
        {"doc.on.doc", "edit-copy-symbolic"},
        {"text.viewfinder", "edit-find-symbolic"},
        {"arrow.down.doc", "edit-paste-symbolic"},
        {"square.on.square.dashed", "edit-copy-symbolic"},
        // Controls with a standard counterpart in the desktop theme.
        {"line.3.horizontal", "open-menu-symbolic"},
        {"minus", "list-remove-symbolic"},
        {"plus", "list-add-symbolic"},
        {"arrow.uturn.backward", "edit-undo-symbolic"},
        {"rectangle.3.group", "view-grid-symbolic"},
        {"rectangle.split.2x1", "view-dual-symbolic"},
        {"chevron.left", "go-previous-symbolic"},
        {"chevron.right", "go-next-symbolic"},
        {"arrow.clockwise", "view-refresh-symbolic"},
        {"exclamationmark.triangle", "dialog-warning-symbolic"},
        // The clipboard memory's button and cards.
        {"square.on.square", "edit-copy-symbolic"},
        {"photo", "image-x-generic-symbolic"},
        {"link", "insert-link-symbolic"},
        {"pin.fill", "view-pin-symbolic"},
        // Controls of the library editors.
        {"plus.circle", "meridavolt-plus-circle-symbolic"},
        {"minus.circle", "meridavolt-minus-circle-symbolic"},
        {"pencil", "document-edit-symbolic"},
        {"trash", "user-trash-symbolic"},
        {"arrow.up", "go-up-symbolic"},
        {"arrow.down", "go-down-symbolic"},
    };
    auto found = icons.find(symbol);
    return found != icons.end() ? found->second : fallbackSymbolIcon;
}

}  // namespace meridavolt
