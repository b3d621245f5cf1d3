#pragma once

#include "platform/Scheduler.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

namespace meridavolt::fakes {

// A scheduler whose time only moves when the test calls advance().
class FakeScheduler final : public Scheduler {
public:
    Timer after(std::chrono::milliseconds delay, std::function<void()> work) override
    {
        return add(delay, std::chrono::milliseconds(0), std::move(work));
    }
    Timer every(std::chrono::milliseconds interval, std::function<void()> work) override
    {
        return add(interval, interval, std::move(work));
    }
    void post(std::function<void()> work) override { add(std::chrono::milliseconds(0), {}, std::move(work))->detach(); }

    // Moves time forward, running every timer that falls due, in time order.
    void advance(std::chrono::milliseconds duration)
    {
        const auto end = now_ + duration;
        for (;;) {
            auto next = std::min_element(entries_.begin(), entries_.end(), [](const auto& a, const auto& b) {
                return std::pair(a.second->due, a.first) < std::pair(b.second->due, b.first);
            });
            if (next == entries_.end() || next->second->due > end) break;
            auto entry = next->second;
            now_ = entry->due;
            if (entry->interval.count() > 0) {
                entry->due += entry->interval;
            } else {
                entries_.erase(next);
                entry->active = false;
            }
            auto work = entry->work;
            work();
        }
        now_ = end;
    }
    void runPending() { advance(std::chrono::milliseconds(0)); }

    std::size_t pendingCount() const { return entries_.size(); }
    std::chrono::milliseconds now() const { return now_; }

private:
    struct Entry {
        std::chrono::milliseconds due;
        std::chrono::milliseconds interval;
        std::function<void()> work;
        bool active = true;
    };

    class Handle final : public TimerHandle {
    public:
        Handle(FakeScheduler* owner, std::uint64_t id) : owner_(owner), id_(id) {}
        ~Handle() override { cancel(); }
        void cancel() override
        {
            if (owner_) owner_->entries_.erase(id_);
            owner_ = nullptr;
        }
        Handle* detach()
        {
            owner_ = nullptr;
            return this;
        }

    private:
        FakeScheduler* owner_;
        std::uint64_t id_;
    };

    std::unique_ptr<Handle> add(std::chrono::milliseconds delay, std::chrono::milliseconds interval,
                                std::function<void()> work)
    {
        auto id = nextID_++;
        entries_[id] = std::make_shared<Entry>(Entry{now_ + delay, interval, std::move(work)});
        return std::make_unique<Handle>(this, id);
    }

    std::chrono::milliseconds now_{0};
    std::uint64_t nextID_ = 0;
    std::map<std::uint64_t, std::shared_ptr<Entry>> entries_;
};

}  // namespace meridavolt::fakes
