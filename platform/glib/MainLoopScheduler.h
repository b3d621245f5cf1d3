#pragma once

#include "platform/Scheduler.h"

namespace meridavolt {

// Timers and posted work on the GLib default main context, which GTK runs.
class MainLoopScheduler final : public Scheduler {
public:
    Timer after(std::chrono::milliseconds delay, std::function<void()> work) override;
    Timer every(std::chrono::milliseconds interval, std::function<void()> work) override;
    void post(std::function<void()> work) override;

    static MainLoopScheduler& shared();
};

}  // namespace meridavolt
