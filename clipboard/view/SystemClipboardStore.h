#pragma once

#include "clipboard/ClipboardStore.h"

#include <filesystem>
#include <memory>
#include <optional>

namespace meridavolt {

// The services of the real system: the X11 clipboard of the default GDK
// display, GdkPixbuf images, Tesseract text recognition, the GLib main loop,
// the system clock and a thread per background task. Needs GTK initialised
// on an X11 display (GDK_BACKEND=x11 under Wayland); throws
// std::runtime_error otherwise.
ClipboardServices systemClipboardServices(Settings& settings);

// The store as the application creates it at start-up.
std::unique_ptr<ClipboardStore> makeSystemClipboardStore(Settings& settings,
                                                         std::optional<std::filesystem::path> pinsURL = std::nullopt,
                                                         bool monitor = true);

}  // namespace meridavolt
