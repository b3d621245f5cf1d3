#pragma once

#include <sys/types.h>

namespace meridavolt::testing {

// A window manager (openbox) on the current X display, as on a user's
// desktop: it frames, stacks and activates windows and answers the
// toolkit's questions about what it supports. Stopped when destroyed.
class WindowManager {
public:
    WindowManager() = default;
    ~WindowManager();
    WindowManager(const WindowManager&) = delete;
    WindowManager& operator=(const WindowManager&) = delete;

    // Starts openbox and waits until it manages the screen; false when it did not.
    bool start();
    bool running() const { return pid_ > 0; }

private:
    pid_t pid_ = 0;
};

}  // namespace meridavolt::testing
