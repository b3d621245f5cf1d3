#pragma once

#include <chrono>
#include <functional>
#include <memory>

namespace meridavolt {

// A pending timer. Destroying the handle or calling cancel() stops it; a
// handle that outlives its one-shot timer is harmless.
class TimerHandle {
public:
    virtual ~TimerHandle() = default;
    virtual void cancel() = 0;
};

using Timer = std::unique_ptr<TimerHandle>;

// Runs work later on the main thread: the main loop in the application,
// a manually advanced fake in tests.
class Scheduler {
public:
    virtual ~Scheduler() = default;
    virtual Timer after(std::chrono::milliseconds delay, std::function<void()> work) = 0;
    virtual Timer every(std::chrono::milliseconds interval, std::function<void()> work) = 0;
    // Runs work on the main thread as soon as possible; safe to call from any thread.
    virtual void post(std::function<void()> work) = 0;
};

}  // namespace meridavolt
