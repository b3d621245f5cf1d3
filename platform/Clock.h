#pragma once

#include "platform/Date.h"

namespace meridavolt {

// "Now", behind an interface so that tests can fix it.
class Clock {
public:
    virtual ~Clock() = default;
    virtual Date now() const = 0;
};

class SystemClock final : public Clock {
public:
    Date now() const override { return Date::fromSystemTime(std::chrono::system_clock::now()); }

    static SystemClock& shared()
    {
        static SystemClock clock;
        return clock;
    }
};

}  // namespace meridavolt
