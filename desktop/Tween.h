#pragma once

namespace meridavolt {

// The ease-out curve of the window's animations: cubic Bézier (0, 0, 0.58, 1).
// Maps the elapsed fraction of an animation to the fraction of its way covered.
double easeOut(double progress);

// One animated value: jumps at once, or eases out from wherever it is towards
// a target over a fixed duration. Times are seconds of any steady clock.
class Tween {
public:
    explicit Tween(double value = 0) : from_(value), to_(value) {}

    void jump(double value);
    void animate(double target, double durationSeconds, double now);

    double value(double now) const;
    double target() const { return to_; }
    bool isAnimating(double now) const { return now < start_ + duration_; }

private:
    double from_;
    double to_;
    double start_ = 0;
    double duration_ = 0;
};

}  // namespace meridavolt
