#pragma once

#include <gtkmm/widget.h>

namespace meridavolt {

// Holds one child at exactly the given height and at most the given width.
// GTK never allocates a widget less than its minimum, so a card taller
// content would stretch reports the height as both its minimum and its
// natural height and clips whatever does not fit.
class CardFrame final : public Gtk::Widget {
public:
    CardFrame(Gtk::Widget& child, double height, double maximumWidth);
    ~CardFrame() override;

    void setHeight(double height);
    int height() const { return height_; }

private:
    Gtk::SizeRequestMode get_request_mode_vfunc() const override;
    void measure_vfunc(Gtk::Orientation orientation, int forSize, int& minimum, int& natural, int& minimumBaseline,
                       int& naturalBaseline) const override;
    void size_allocate_vfunc(int width, int height, int baseline) override;

    Gtk::Widget& child_;
    int height_;
    int maximumWidth_;
};

}  // namespace meridavolt
