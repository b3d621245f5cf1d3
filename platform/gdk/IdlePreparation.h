#pragma once

#include <gdk/gdk.h>
#include <gtkmm/widget.h>

#include <functional>
#include <vector>

namespace meridavolt {

// Runs preparations once `widget`'s window has painted its first frame, one
// step per main-loop turn at the lowest priority, after anything else that
// waits: work that makes a first use as fast as the later ones without
// making the start-up's first frame wait for it. Never runs a step after it
// is gone.
class IdleAfterFirstFrame {
public:
    IdleAfterFirstFrame(Gtk::Widget& widget, std::vector<std::function<void()>> steps);
    ~IdleAfterFirstFrame();
    IdleAfterFirstFrame(const IdleAfterFirstFrame&) = delete;
    IdleAfterFirstFrame& operator=(const IdleAfterFirstFrame&) = delete;

private:
    void watchFrames();
    bool runNextStep();

    Gtk::Widget& widget_;
    std::vector<std::function<void()>> steps_;
    std::size_t next_ = 0;
    sigc::connection mapped_;
    sigc::connection painted_;
    sigc::connection idle_;
};

// Calls back once, when a surface just shown has been drawn; never after it
// is cancelled or gone. The toolkit draws a surface once it has heard that
// the server shows it: the call comes at the second frame painted after the
// server shows it.
class AfterFirstDraw {
public:
    AfterFirstDraw() = default;
    ~AfterFirstDraw() { cancel(); }
    AfterFirstDraw(const AfterFirstDraw&) = delete;
    AfterFirstDraw& operator=(const AfterFirstDraw&) = delete;

    void watch(GdkSurface* surface, std::function<void()> drawn);
    void cancel();

private:
    void framePainted();

    GdkSurface* surface_ = nullptr;
    GdkFrameClock* clock_ = nullptr;
    unsigned long handler_ = 0;
    int framesShown_ = 0;
    std::function<void()> drawn_;
};

// Loads the icons of a widget and all it holds and draws their texts where
// nobody sees them: the icon theme, the fonts and their glyphs are then in
// the process's caches when their first frame needs them.
void loadIconsAndGlyphs(Gtk::Widget& widget);

}  // namespace meridavolt
