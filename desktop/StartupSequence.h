#pragma once

#include "platform/Scheduler.h"
#include "platform/Signal.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace meridavolt {

// What the start-up mark draws at a moment of its sequence.
struct StartupMarkState {
    bool arrived = false;         // the tile has shrunk to its resting size
    bool captionVisible = false;  // the tagline shows and the tile sits above it
    std::optional<std::string> flashingSymbol;  // a catalogue symbol shown in the tile instead of the logo
};

enum class StartupChange { arrived, captionVisible, flashingSymbol };

// The start-up animation's timeline: the tile arrives, the catalogue's symbols
// flash through it, the tagline fades, and at its very end the first service
// opens. It plays once per application state; a choice the user makes while it
// plays ends it without opening anything.
class StartupSequence {
public:
    struct Hooks {
        // Kept by the application state, so the animation plays once per run.
        std::function<bool()> hasShownStartup;
        std::function<void()> markStartupShown;
        std::function<bool()> hasSelection;  // the user already chose a service
        std::function<bool()> reduceMotion;  // read again at every step
        std::function<void()> finishStartup;
        // A steady clock. Every wait is measured from when the previous step was
        // due, not from when its timer fired, so late timers never add up.
        std::function<std::chrono::milliseconds()> now;
    };

    static constexpr int flashCount = 16;
    static constexpr std::chrono::milliseconds arrivalDuration{900};
    static constexpr std::chrono::milliseconds captionAppearDuration{120};
    static constexpr std::chrono::milliseconds firstFlashDelay{100};
    static constexpr std::chrono::milliseconds flashInterval{75};
    static constexpr std::chrono::milliseconds captionHold{1100};
    static constexpr std::chrono::milliseconds stillCaptionHold{2400};
    static constexpr std::chrono::milliseconds captionFadeDuration{600};

    StartupSequence(Scheduler& scheduler, std::vector<std::string> symbols, Hooks hooks);
    ~StartupSequence();
    StartupSequence(const StartupSequence&) = delete;
    StartupSequence& operator=(const StartupSequence&) = delete;

    // The mark came on screen.
    void start();
    // The mark left the screen: a running sequence stops where it is, without
    // animation and without opening a service.
    void cancel();

    const StartupMarkState& state() const { return state_; }
    bool isRunning() const { return static_cast<bool>(timer_); }

    // Each change, with the ease-out duration to animate it over (zero: at once).
    Signal<StartupChange, std::chrono::milliseconds> changed;

private:
    void flash(int index);
    void endFlashes();
    void fadeCaption();
    void finish();
    void wait(std::chrono::milliseconds delay, std::function<void()> next);
    void set(StartupChange what, std::chrono::milliseconds duration, std::function<void()> apply);

    Scheduler& scheduler_;
    std::vector<std::string> symbols_;
    Hooks hooks_;
    StartupMarkState state_;
    Timer timer_;
    std::chrono::milliseconds due_{0};
};

}  // namespace meridavolt
