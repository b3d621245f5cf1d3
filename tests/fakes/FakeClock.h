#pragma once

#include "platform/Clock.h"

namespace meridavolt::fakes {

class FakeClock final : public Clock {
public:
    explicit FakeClock(Date start = Date{700000000.0}) : now_(start) {}
    Date now() const override { return now_; }
    void set(Date date) { now_ = date; }
    void advance(double seconds) { now_.sinceReferenceDate += seconds; }

private:
    Date now_;
};

}  // namespace meridavolt::fakes
