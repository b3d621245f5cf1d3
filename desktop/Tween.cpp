#include "desktop/Tween.h"

#include <algorithm>

namespace meridavolt {

namespace {

// One coordinate of a cubic Bézier from (0,0) to (1,1) with control values a and b.
double bezier(double t, double a, double b)
{
    const double u = 1 - t;
    return 3 * u * u * t * a + 3 * u * t * t * b + t * t * t;
}

}  // namespace

double easeOut(double progress)
{
    if (progress <= 0) return 0;
    if (progress >= 1) return 1;
    // Find the curve parameter whose x is the progress (x is monotonic), then read its y.
    double low = 0, high = 1;
    for (int step = 0; step < 40; ++step) {
        const double middle = (low + high) / 2;
        if (bezier(middle, 0, 0.58) < progress) low = middle;
        else high = middle;
    }
    return bezier((low + high) / 2, 0, 1);
}

void Tween::jump(double value)
{
    from_ = to_ = value;
    duration_ = 0;
}

void Tween::animate(double target, double durationSeconds, double now)
{
    if (durationSeconds <= 0) {
        jump(target);
        return;
    }
    from_ = value(now);
    to_ = target;
    start_ = now;
    duration_ = durationSeconds;
}

double Tween::value(double now) const
{
    if (duration_ <= 0 || now >= start_ + duration_) return to_;
    const double progress = std::max(0.0, (now - start_) / duration_);
    return from_ + (to_ - from_) * easeOut(progress);
}

}  // namespace meridavolt
