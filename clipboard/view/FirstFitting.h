#pragma once

#include <gtkmm/widget.h>

namespace meridavolt {

// Shows the first of two layouts that fits the width it is given: the wide
// one when there is room for it, the narrow one otherwise. Without a wide
// layout it always shows the narrow one.
class FirstFitting final : public Gtk::Widget {
public:
    FirstFitting(Gtk::Widget* wide, Gtk::Widget& narrow);
    ~FirstFitting() override;

    bool showsWide() const { return wide_ && wide_->get_child_visible(); }

private:
    Gtk::SizeRequestMode get_request_mode_vfunc() const override;
    void measure_vfunc(Gtk::Orientation orientation, int forSize, int& minimum, int& natural, int& minimumBaseline,
                       int& naturalBaseline) const override;
    void size_allocate_vfunc(int width, int height, int baseline) override;

    Gtk::Widget* wide_;
    Gtk::Widget& narrow_;
};

}  // namespace meridavolt
