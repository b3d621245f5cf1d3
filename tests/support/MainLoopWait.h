#pragma once

#include <chrono>
#include <functional>

namespace meridavolt::testing {

// Runs the default GLib main context (the one GTK and WebKit use) until the
// condition holds or the timeout passes; returns the condition's last value.
bool waitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::seconds(10));

// Runs the default main context for a while, for checks that something does
// NOT happen.
void runMainLoopFor(std::chrono::milliseconds duration);

}  // namespace meridavolt::testing
