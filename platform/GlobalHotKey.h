#pragma once

#include <cstdint>
#include <functional>

namespace meridavolt {

// One key combination that reaches this application whichever application
// has the keyboard focus. Main thread only.
class GlobalHotKey {
public:
    // The press's timestamp in the window system's clock, so that a window
    // shown for it may take the focus from the application in front.
    using Pressed = std::function<void(std::uint32_t time)>;

    virtual ~GlobalHotKey() = default;
    // Takes the key for the rest of the run; false when another client holds
    // it or the session cannot give it. `pressed` runs once per press: a held
    // key does not repeat.
    virtual bool start(Pressed pressed) = 0;
};

}  // namespace meridavolt
