#pragma once

#include <glibmm/main.h>

#include <functional>

namespace meridavolt {

// Runs a piece of work once the current event is over, once however often it
// was asked for meanwhile: a click that changes a list must not destroy the
// row it came from while its handler runs. Never runs after its owner is gone.
class DeferredWork {
public:
    explicit DeferredWork(std::function<void()> work) : work_(std::move(work)) {}
    ~DeferredWork() { pending_.disconnect(); }
    DeferredWork(const DeferredWork&) = delete;
    DeferredWork& operator=(const DeferredWork&) = delete;

    void schedule()
    {
        if (pending_.connected()) return;
        pending_ = Glib::signal_idle().connect([this] {
            work_();
            return false;
        });
    }

private:
    std::function<void()> work_;
    sigc::connection pending_;
};

}  // namespace meridavolt
