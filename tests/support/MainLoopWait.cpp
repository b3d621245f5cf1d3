#include "support/MainLoopWait.h"

#include <glib.h>

#include <thread>

namespace meridavolt::testing {

namespace {

void iterateBriefly()
{
    if (!g_main_context_iteration(nullptr, FALSE)) std::this_thread::sleep_for(std::chrono::milliseconds(2));
}

}  // namespace

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        iterateBriefly();
    }
    return true;
}

void runMainLoopFor(std::chrono::milliseconds duration)
{
    const auto deadline = std::chrono::steady_clock::now() + duration;
    while (std::chrono::steady_clock::now() < deadline) iterateBriefly();
}

}  // namespace meridavolt::testing
