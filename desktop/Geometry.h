#pragma once

namespace meridavolt {

// Plain geometry in points, for layout arithmetic that must not depend on the toolkit.
struct Point {
    double x = 0;
    double y = 0;
};

struct Size {
    double width = 0;
    double height = 0;
};

struct Rect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    double midX() const { return x + width / 2; }
    double midY() const { return y + height / 2; }
};

}  // namespace meridavolt
