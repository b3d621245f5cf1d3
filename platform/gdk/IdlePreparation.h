#pragma once

#include <gdk/gdk.h>
#include <gtkmm/widget.h>

#include <functional>
#include <vector>

namespace meridavolt {

// Runs preparations each time `widget`'s window has painted its first frame
// after being shown, one step per main-loop turn at the lowest priority,
// after anything else that waits: work that makes a first use as fast as the
// later ones without making the start-up's first frame wait for it. Hiding
// the window stops the steps; a step does nothing when what it prepares is
// ready already. Never runs a step after it is gone.
class IdleAfterFirstFrame {
public:
    IdleAfterFirstFrame(Gtk::Widget& widget, std::vector<std::function<void()>> steps);
    ~IdleAfterFirstFrame();
    IdleAfterFirstFrame(const IdleAfterFirstFrame&) = delete;
    IdleAfterFirstFrame& operator=(const IdleAfterFirstFrame&) = delete;

private:
    void watchFrames();
    void stop();
    bool runNextStep();

    Gtk::Widget& widget_;
    std::vector<std::function<void()>> steps_;
    std::size_t next_ = 0;
    sigc::connection mapped_;
    sigc::connection unmapped_;
    sigc::connection painted_;
    sigc::connection idle_;
};

// Calls `drawn` once, when a widget with a surface of its own (a window, a
// popover) just shown has been drawn; or `hidden` once, when it is hidden
// before that. Never calls after it is cancelled or gone. The toolkit draws
// a surface once it has heard that the server shows it: the call comes at
// the second frame painted after the server shows it.
class AfterFirstDraw {
public:
    AfterFirstDraw() = default;
    ~AfterFirstDraw() { cancel(); }
    AfterFirstDraw(const AfterFirstDraw&) = delete;
    AfterFirstDraw& operator=(const AfterFirstDraw&) = delete;

    // Call with the widget realized, before showing it.
    void watch(Gtk::Widget& shown, std::function<void()> drawn, std::function<void()> hidden);
    void cancel();

private:
    void framePainted();

    GdkSurface* surface_ = nullptr;
    GdkFrameClock* clock_ = nullptr;
    unsigned long handler_ = 0;
    sigc::connection unmapped_;
    int framesShown_ = 0;
    std::function<void()> drawn_;
    std::function<void()> hidden_;
};

// Loads the icons of a widget and all it holds and draws their texts where
// nobody sees them: the icon theme, the fonts and their glyphs are then in
// the process's caches when their first frame needs them.
void loadIconsAndGlyphs(Gtk::Widget& widget);

}  // namespace meridavolt
