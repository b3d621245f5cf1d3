#pragma once

#include "support/MainLoopWait.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

namespace meridavolt::testing {

// This process's resident memory now, in MiB, from /proc.
inline double residentMiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
    }
    return 0;
}

// The most resident memory seen while the main loop runs for `duration`.
inline double peakResidentMiBFor(std::chrono::milliseconds duration)
{
    double peak = residentMiB();
    const auto end = std::chrono::steady_clock::now() + duration;
    while (std::chrono::steady_clock::now() < end) {
        runMainLoopFor(std::chrono::milliseconds(50));
        peak = std::max(peak, residentMiB());
    }
    return peak;
}

// Prints the three figures a bounded-transfer test checks.
inline void printResidentFigures(const char* what, double before, double peak, double after)
{
    std::printf("%s: resident %.0f MiB before, %.0f MiB at most during, %.0f MiB 5 s after\n", what, before, peak,
                after);
}

}  // namespace meridavolt::testing
