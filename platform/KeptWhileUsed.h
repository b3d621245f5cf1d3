#pragma once

#include "platform/Scheduler.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

namespace meridavolt {

// One costly object (a recognition engine with its models) kept between uses
// and let go after `idle` without one, so that whoever never uses it pays no
// memory for it and whoever uses it often pays the start-up only once.
// use() may run on any thread; uses run one at a time. The release runs on
// the scheduler's thread and never waits for a use under way: that use arms
// a new release when it ends.
template <class T>
class KeptWhileUsed {
public:
    using Make = std::function<std::unique_ptr<T>()>;

    KeptWhileUsed(Scheduler& scheduler, std::chrono::milliseconds idle, Make make)
        : state_(std::make_shared<State>(scheduler, idle, std::move(make)))
    {
    }

    // Runs work with the kept object, made first when there is none; work
    // gets nullptr when it cannot be made (the next use tries again).
    template <class Work>
    auto use(Work&& work)
    {
        State& state = *state_;
        std::lock_guard oneAtATime(state.useMutex);
        {
            std::lock_guard lock(state.mutex);
            state.busy = true;
            ++state.uses;
        }
        struct EndOfUse {
            const std::shared_ptr<State>& state;
            ~EndOfUse()
            {
                std::uint64_t use;
                {
                    std::lock_guard lock(state->mutex);
                    state->busy = false;
                    use = state->uses;
                }
                state->scheduler.post([weak = std::weak_ptr(state), use] { armRelease(weak, use); });
            }
        } endOfUse{state_};
        // While busy is set only this use changes the object, so it is made
        // without holding the lock that the release takes.
        if (!holding()) {
            auto made = state.make();
            std::lock_guard lock(state.mutex);
            state.object = std::move(made);
        }
        return work(state.object.get());
    }

    bool holding() const
    {
        std::lock_guard lock(state_->mutex);
        return state_->object != nullptr;
    }

private:
    struct State {
        State(Scheduler& scheduler, std::chrono::milliseconds idle, Make make)
            : scheduler(scheduler), idle(idle), make(std::move(make))
        {
        }
        Scheduler& scheduler;
        const std::chrono::milliseconds idle;
        const Make make;
        std::mutex useMutex;        // held for a whole use
        mutable std::mutex mutex;   // guards the fields below, briefly
        std::unique_ptr<T> object;
        bool busy = false;
        std::uint64_t uses = 0;
        Timer release;  // scheduler thread only
    };

    // On the scheduler's thread; replacing the timer cancels the one before.
    static void armRelease(const std::weak_ptr<State>& weak, std::uint64_t use)
    {
        auto state = weak.lock();
        if (!state) return;
        state->release = state->scheduler.after(state->idle, [weak, use] { release(weak, use); });
    }

    static void release(const std::weak_ptr<State>& weak, std::uint64_t use)
    {
        auto state = weak.lock();
        if (!state) return;
        std::unique_ptr<T> released;
        {
            std::lock_guard lock(state->mutex);
            // A use under way, or one since this timer was armed, arms its own release.
            if (state->busy || state->uses != use) return;
            released = std::move(state->object);
        }
    }

    std::shared_ptr<State> state_;
};

}  // namespace meridavolt
