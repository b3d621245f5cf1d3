#pragma once

#include <gtkmm/drawingarea.h>

namespace meridavolt {

// The logo tile: the white logo on a black rounded square. The caller sets its size.
class BrandMark final : public Gtk::DrawingArea {
public:
    BrandMark();
};

}  // namespace meridavolt
