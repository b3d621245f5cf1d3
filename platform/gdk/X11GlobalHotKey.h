#pragma once

#include "platform/GlobalHotKey.h"

#include <memory>
#include <string>

namespace meridavolt {

// Ctrl+Alt+Space grabbed on the root window of an X11 display, on a
// connection of its own whose socket is watched from the GLib main loop. The
// grab covers every Caps Lock and Num Lock state; it counts only when every
// variant was granted. Main thread only.
class X11GlobalHotKey final : public GlobalHotKey {
public:
    // Throws std::runtime_error when the display cannot be opened.
    explicit X11GlobalHotKey(const std::string& displayName);
    ~X11GlobalHotKey() override;
    X11GlobalHotKey(const X11GlobalHotKey&) = delete;
    X11GlobalHotKey& operator=(const X11GlobalHotKey&) = delete;

    bool start(Pressed pressed) override;

private:
    struct Connection;
    void dispatch();
    void handleEvent(void* event);

    std::unique_ptr<Connection> connection_;
    Pressed pressed_;
    bool held_ = false;
    unsigned watchSource_ = 0;
    unsigned drainSource_ = 0;
};

// The hot key of the session the default GDK display belongs to: none under
// Wayland (X11 clients there see only keys sent to X11 windows, so a grab
// would work over our own windows only) or without an X11 display.
std::unique_ptr<GlobalHotKey> makeSessionHotKey();

}  // namespace meridavolt
