#pragma once

#include <chrono>
#include <compare>

namespace meridavolt {

// A moment in time as the data files store it: seconds since
// 2001-01-01 00:00:00 UTC, as a double, so that a value read from a file and
// written back is bit-for-bit the same.
struct Date {
    double sinceReferenceDate = 0;

    static constexpr double unixOffset = 978307200.0;

    static Date fromUnixSeconds(double seconds) { return Date{seconds - unixOffset}; }
    static Date fromSystemTime(std::chrono::system_clock::time_point time)
    {
        auto micros = std::chrono::duration_cast<std::chrono::microseconds>(time.time_since_epoch()).count();
        return fromUnixSeconds(static_cast<double>(micros) / 1e6);
    }
    double unixSeconds() const { return sinceReferenceDate + unixOffset; }

    friend auto operator<=>(const Date&, const Date&) = default;
    friend bool operator==(const Date&, const Date&) = default;
};

}  // namespace meridavolt
