#include "clipboard/view/FirstFitting.h"

#include <algorithm>

namespace meridavolt {

namespace {

struct Measured {
    int minimum = 0;
    int natural = 0;
};

Measured measured(const Gtk::Widget& widget, Gtk::Orientation orientation, int forSize = -1)
{
    Measured size;
    int ignored = 0;
    widget.measure(orientation, forSize, size.minimum, size.natural, ignored, ignored);
    return size;
}

}  // namespace

FirstFitting::FirstFitting(Gtk::Widget* wide, Gtk::Widget& narrow) : wide_(wide), narrow_(narrow)
{
    if (wide_) wide_->set_parent(*this);
    narrow_.set_parent(*this);
}

FirstFitting::~FirstFitting()
{
    if (wide_) wide_->unparent();
    narrow_.unparent();
}

Gtk::SizeRequestMode FirstFitting::get_request_mode_vfunc() const
{
    return Gtk::SizeRequestMode::CONSTANT_SIZE;
}

void FirstFitting::measure_vfunc(Gtk::Orientation orientation, int, int& minimum, int& natural,
                                 int& minimumBaseline, int& naturalBaseline) const
{
    minimumBaseline = naturalBaseline = -1;
    const Measured narrow = measured(narrow_, orientation);
    const Measured wide = wide_ ? measured(*wide_, orientation) : narrow;
    if (orientation == Gtk::Orientation::HORIZONTAL) {
        minimum = narrow.minimum;
        natural = std::max(wide.natural, narrow.natural);
    } else {
        minimum = std::max(wide.minimum, narrow.minimum);
        natural = std::max(wide.natural, narrow.natural);
    }
}

void FirstFitting::size_allocate_vfunc(int width, int height, int baseline)
{
    const bool wideFits = wide_ && width >= measured(*wide_, Gtk::Orientation::HORIZONTAL).natural;
    if (wide_) wide_->set_child_visible(wideFits);
    narrow_.set_child_visible(!wideFits);
    Gtk::Widget& shown = wideFits ? *wide_ : narrow_;
    const Measured shownWidth = measured(shown, Gtk::Orientation::HORIZONTAL);
    shown.size_allocate(Gtk::Allocation(0, 0, std::max(width, shownWidth.minimum), height), baseline);
}

}  // namespace meridavolt
