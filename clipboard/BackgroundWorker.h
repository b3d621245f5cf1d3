#pragma once

#include <functional>

namespace meridavolt {

// Runs slow work away from the main thread. The work hands its result back
// through Scheduler::post.
class BackgroundWorker {
public:
    virtual ~BackgroundWorker() = default;
    virtual void start(std::function<void()> work) = 0;
};

// One detached thread per piece of work.
class ThreadWorker final : public BackgroundWorker {
public:
    void start(std::function<void()> work) override;
};

}  // namespace meridavolt
