#pragma once

#include <glibmm/main.h>

#include <functional>

namespace meridavolt {

// Runs a piece of work once the current event is over, once however often it
// was asked for meanwhile: a click that changes a list must not destroy the
// row it came from while its handler runs. Never runs after its owner is gone.
// It runs before the next layout and drawing: at the lowest priority a busy
// machine's frames kept it waiting for seconds, and the list went on showing
// (and the keyboard acting on) a row already removed.
class DeferredWork {
public:
    explicit DeferredWork(std::function<void()> work) : work_(std::move(work)) {}
    ~DeferredWork() { pending_.disconnect(); }
    DeferredWork(const DeferredWork&) = delete;
    DeferredWork& operator=(const DeferredWork&) = delete;

    void schedule()
    {
        if (pending_.connected()) return;
        pending_ = Glib::signal_idle().connect(
            [this] {
                work_();
                return false;
            },
            Glib::PRIORITY_HIGH_IDLE);
    }

private:
    std::function<void()> work_;
    sigc::connection pending_;
};

}  // namespace meridavolt
