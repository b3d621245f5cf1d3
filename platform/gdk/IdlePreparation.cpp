#include "platform/gdk/IdlePreparation.h"

#include <gdkmm/frameclock.h>
#include <glibmm/main.h>

namespace meridavolt {

IdleAfterFirstFrame::IdleAfterFirstFrame(Gtk::Widget& widget, std::vector<std::function<void()>> steps)
    : widget_(widget), steps_(std::move(steps))
{
    if (widget_.get_mapped()) watchFrames();
    else mapped_ = widget_.signal_map().connect([this] { watchFrames(); });
}

IdleAfterFirstFrame::~IdleAfterFirstFrame()
{
    mapped_.disconnect();
    painted_.disconnect();
    idle_.disconnect();
}

void IdleAfterFirstFrame::watchFrames()
{
    mapped_.disconnect();
    // After the toolkit's own handler, which draws the window.
    painted_ = widget_.get_frame_clock()->signal_paint().connect(
        [this] {
            painted_.disconnect();
            idle_ = Glib::signal_idle().connect([this] { return runNextStep(); }, Glib::PRIORITY_LOW);
        },
        true);
}

bool IdleAfterFirstFrame::runNextStep()
{
    if (next_ < steps_.size()) steps_[next_++]();
    return next_ < steps_.size();
}

void layOutUnshown(Gtk::Widget& widget, int width, int height)
{
    int minimum = 0;
    int natural = 0;
    int minimumBaseline = -1;
    int naturalBaseline = -1;
    widget.measure(Gtk::Orientation::HORIZONTAL, -1, minimum, natural, minimumBaseline, naturalBaseline);
    if (width < 0) width = natural;
    widget.measure(Gtk::Orientation::VERTICAL, width, minimum, natural, minimumBaseline, naturalBaseline);
    if (height < 0) height = natural;
    widget.size_allocate(Gtk::Allocation(0, 0, width, height), -1);
}

}  // namespace meridavolt
