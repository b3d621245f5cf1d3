#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

typedef struct _GdkClipboard GdkClipboard;
typedef struct _GCancellable GCancellable;

namespace meridavolt {

struct ClipboardBytes {
    std::string bytes;  // at most the limit plus one byte
    bool oversize = false;  // the owner had more than the limit to give
};

// Reads one type from the clipboard without trusting its owner: at most
// limit + 1 bytes are kept, and the read gives up after `timeout` (an owner
// can stream without end or never answer). `done` runs on the main thread
// with nothing on failure, refusal, time-out or cancellation; cancelling
// `cancellable` stops the read.
void readClipboardBounded(GdkClipboard* clipboard, const std::string& type, std::size_t limit,
                          std::chrono::milliseconds timeout, GCancellable* cancellable,
                          std::function<void(std::optional<ClipboardBytes>)> done);

}  // namespace meridavolt
