#include "platform/glib/MainLoopScheduler.h"

#include <glib.h>

namespace meridavolt {

namespace {

struct TimerState {
    std::function<void()> work;
    bool repeating = false;
    guint sourceID = 0;
};

class SourceTimer final : public TimerHandle {
public:
    explicit SourceTimer(std::shared_ptr<TimerState> state) : state_(std::move(state)) {}
    ~SourceTimer() override { cancel(); }
    void cancel() override
    {
        if (state_ && state_->sourceID != 0) {
            g_source_remove(state_->sourceID);
            state_->sourceID = 0;
        }
        state_.reset();
    }

private:
    std::shared_ptr<TimerState> state_;
};

gboolean fire(gpointer data)
{
    auto* holder = static_cast<std::shared_ptr<TimerState>*>(data);
    auto state = *holder;  // keeps the state alive while the work may cancel its own timer
    if (!state->repeating) state->sourceID = 0;
    auto work = state->work;
    work();
    if (!state->repeating) return G_SOURCE_REMOVE;
    return state->sourceID != 0 ? G_SOURCE_CONTINUE : G_SOURCE_REMOVE;
}

void release(gpointer data) { delete static_cast<std::shared_ptr<TimerState>*>(data); }

Timer schedule(std::chrono::milliseconds delay, std::function<void()> work, bool repeating)
{
    auto state = std::make_shared<TimerState>();
    state->work = std::move(work);
    state->repeating = repeating;
    auto interval = static_cast<guint>(std::max<std::chrono::milliseconds::rep>(0, delay.count()));
    state->sourceID = g_timeout_add_full(G_PRIORITY_DEFAULT, interval, fire,
                                         new std::shared_ptr<TimerState>(state), release);
    return std::make_unique<SourceTimer>(state);
}

}  // namespace

Timer MainLoopScheduler::after(std::chrono::milliseconds delay, std::function<void()> work)
{
    return schedule(delay, std::move(work), false);
}

Timer MainLoopScheduler::every(std::chrono::milliseconds interval, std::function<void()> work)
{
    return schedule(interval, std::move(work), true);
}

void MainLoopScheduler::post(std::function<void()> work)
{
    auto* heapWork = new std::function<void()>(std::move(work));
    // An idle source even on the main thread, so the work never runs inside the caller.
    g_idle_add_full(
        G_PRIORITY_DEFAULT,
        [](gpointer data) -> gboolean {
            (*static_cast<std::function<void()>*>(data))();
            return G_SOURCE_REMOVE;
        },
        heapWork, [](gpointer data) { delete static_cast<std::function<void()>*>(data); });
}

MainLoopScheduler& MainLoopScheduler::shared()
{
    static MainLoopScheduler scheduler;
    return scheduler;
}

}  // namespace meridavolt
