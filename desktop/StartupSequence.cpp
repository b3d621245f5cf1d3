#include "desktop/StartupSequence.h"

#include <algorithm>

namespace meridavolt {

using std::chrono::milliseconds;

StartupSequence::StartupSequence(Scheduler& scheduler, std::vector<std::string> symbols, Hooks hooks)
    : scheduler_(scheduler), symbols_(std::move(symbols)), hooks_(std::move(hooks))
{
}

StartupSequence::~StartupSequence()
{
    timer_.reset();
}

void StartupSequence::start()
{
    if (state_.arrived) return;
    if (hooks_.hasShownStartup()) {
        // A later appearance in the same run shows only the still tile.
        set(StartupChange::arrived, milliseconds(0), [this] { state_.arrived = true; });
        return;
    }
    hooks_.markStartupShown();
    due_ = hooks_.now();

    if (hooks_.reduceMotion()) {
        set(StartupChange::arrived, milliseconds(0), [this] { state_.arrived = true; });
        set(StartupChange::captionVisible, milliseconds(0), [this] { state_.captionVisible = true; });
        wait(stillCaptionHold, [this] { fadeCaption(); });
        return;
    }
    // The tile shrinks from far away while it rises, and the tagline sharpens in.
    set(StartupChange::arrived, arrivalDuration, [this] { state_.arrived = true; });
    set(StartupChange::captionVisible, captionAppearDuration, [this] { state_.captionVisible = true; });
    wait(firstFlashDelay, [this] { flash(0); });
}

void StartupSequence::cancel()
{
    if (!timer_) return;
    timer_.reset();
    if (state_.flashingSymbol) set(StartupChange::flashingSymbol, milliseconds(0), [this] { state_.flashingSymbol.reset(); });
    if (state_.captionVisible) set(StartupChange::captionVisible, milliseconds(0), [this] { state_.captionVisible = false; });
}

void StartupSequence::flash(int index)
{
    if (index >= flashCount || symbols_.empty() || hooks_.hasSelection() || hooks_.reduceMotion()) {
        endFlashes();
        return;
    }
    const auto& symbol = symbols_[static_cast<std::size_t>(index) % symbols_.size()];
    set(StartupChange::flashingSymbol, milliseconds(0), [this, symbol] { state_.flashingSymbol = symbol; });
    wait(flashInterval, [this, index] { flash(index + 1); });
}

void StartupSequence::endFlashes()
{
    set(StartupChange::flashingSymbol, milliseconds(0), [this] { state_.flashingSymbol.reset(); });
    if (hooks_.hasSelection()) {
        timer_.reset();
        set(StartupChange::captionVisible, milliseconds(0), [this] { state_.captionVisible = false; });
        return;
    }
    wait(captionHold, [this] { fadeCaption(); });
}

void StartupSequence::fadeCaption()
{
    const auto duration = hooks_.reduceMotion() ? milliseconds(0) : captionFadeDuration;
    set(StartupChange::captionVisible, duration, [this] { state_.captionVisible = false; });
    wait(captionFadeDuration, [this] { finish(); });
}

void StartupSequence::finish()
{
    timer_.reset();
    // Last: opening the first service may take the mark, and this sequence, off screen.
    auto finishStartup = hooks_.finishStartup;
    finishStartup();
}

void StartupSequence::wait(milliseconds delay, std::function<void()> next)
{
    due_ += delay;
    timer_ = scheduler_.after(std::max(milliseconds(0), due_ - hooks_.now()), std::move(next));
}

void StartupSequence::set(StartupChange what, milliseconds duration, std::function<void()> apply)
{
    apply();
    changed.emit(what, duration);
}

}  // namespace meridavolt
