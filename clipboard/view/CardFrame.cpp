#include "clipboard/view/CardFrame.h"

#include <algorithm>
#include <cmath>

namespace meridavolt {

CardFrame::CardFrame(Gtk::Widget& child, double height, double maximumWidth)
    : child_(child), height_(int(std::lround(height))), maximumWidth_(int(std::lround(maximumWidth)))
{
    set_overflow(Gtk::Overflow::HIDDEN);
    child_.set_parent(*this);
}

CardFrame::~CardFrame()
{
    child_.unparent();
}

void CardFrame::setHeight(double height)
{
    const int rounded = int(std::lround(height));
    if (rounded == height_) return;
    height_ = rounded;
    queue_resize();
}

Gtk::SizeRequestMode CardFrame::get_request_mode_vfunc() const
{
    return Gtk::SizeRequestMode::CONSTANT_SIZE;
}

void CardFrame::measure_vfunc(Gtk::Orientation orientation, int, int& minimum, int& natural, int& minimumBaseline,
                              int& naturalBaseline) const
{
    minimumBaseline = naturalBaseline = -1;
    if (orientation == Gtk::Orientation::VERTICAL) {
        minimum = natural = height_;
        return;
    }
    int childMinimum = 0, childNatural = 0, ignored = 0;
    child_.measure(orientation, -1, childMinimum, childNatural, ignored, ignored);
    // The content spreads over the full width, up to the frame's limit.
    minimum = std::min(childMinimum, maximumWidth_);
    natural = maximumWidth_;
}

void CardFrame::size_allocate_vfunc(int width, int height, int baseline)
{
    int minimumWidth = 0, naturalWidth = 0, minimumHeight = 0, naturalHeight = 0, ignored = 0;
    child_.measure(Gtk::Orientation::HORIZONTAL, -1, minimumWidth, naturalWidth, ignored, ignored);
    const int childWidth = std::max(width, minimumWidth);
    child_.measure(Gtk::Orientation::VERTICAL, childWidth, minimumHeight, naturalHeight, ignored, ignored);
    // The overflow is clipped away.
    Gtk::Allocation allocation(0, 0, childWidth, std::max(height, minimumHeight));
    child_.size_allocate(allocation, baseline);
}

}  // namespace meridavolt
