#pragma once

#include "clipboard/BackgroundWorker.h"

#include <deque>
#include <functional>

namespace meridavolt::fakes {

// Background work that runs only when the test says so, on the test's thread.
class FakeWorker final : public BackgroundWorker {
public:
    void start(std::function<void()> work) override { queue.push_back(std::move(work)); }

    void runAll()
    {
        while (!queue.empty()) {
            auto work = std::move(queue.front());
            queue.pop_front();
            work();
        }
    }

    std::deque<std::function<void()>> queue;
};

}  // namespace meridavolt::fakes
