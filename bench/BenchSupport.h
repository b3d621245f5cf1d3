#pragma once

#include "state/Workspace.h"

#include <chrono>
#include <string>
#include <vector>

namespace meridavolt::bench {

// The benchmarks open nothing outside the window.
class NoWorkspace final : public Workspace {
public:
    bool openURL(const std::string&) override { return true; }
    bool hasApplication(ExternalApplication) override { return false; }
    void launchApplication(ExternalApplication, const std::vector<std::string>&, LaunchCompletion done) override
    {
        done(std::nullopt);
    }
};

inline double elapsedMilliseconds(std::chrono::steady_clock::duration duration)
{
    return std::chrono::duration_cast<std::chrono::microseconds>(duration).count() / 1000.0;
}

}  // namespace meridavolt::bench
