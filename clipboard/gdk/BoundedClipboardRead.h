#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include <gio/gio.h>

typedef struct _GdkClipboard GdkClipboard;
typedef struct _GdkDrop GdkDrop;

namespace meridavolt {

struct ClipboardBytes {
    std::string bytes;  // at most the limit plus one byte
    bool oversize = false;  // the owner had more than the limit to give
};

// Reads one type from the clipboard through GDK without trusting its owner
// (another program's content on X11 is read by X11SelectionReader): at most
// limit + 1 bytes are kept, and the read gives up after `timeout` (an owner
// can stream without end or never answer). `done` runs on the main thread
// with nothing on failure, refusal, time-out or cancellation; cancelling
// `cancellable` stops the read.
void readClipboardBounded(GdkClipboard* clipboard, const std::string& type, std::size_t limit,
                          std::chrono::milliseconds timeout, GCancellable* cancellable,
                          std::function<void(std::optional<ClipboardBytes>)> done);

// The same for one type of a drop. The drop must stay unfinished until `done`
// runs. Another program's drop on X11 is read on our own connection
// (X11SelectionReader), where the transfer really stops at the limit.
void readDropBounded(GdkDrop* drop, const std::string& type, std::size_t limit, std::chrono::milliseconds timeout,
                     std::function<void(std::optional<ClipboardBytes>)> done);

// What both stand on: `open` starts opening the stream with the read's own
// cancellable and hands the result to the given callback; `finish` takes the
// stream (nothing on failure).
using StreamOpen = std::function<void(GCancellable*, GAsyncReadyCallback, void*)>;
using StreamFinish = GInputStream* (*)(GObject*, GAsyncResult*);
void readBounded(const StreamOpen& open, StreamFinish finish, std::size_t limit, std::chrono::milliseconds timeout,
                 GCancellable* cancellable, std::function<void(std::optional<ClipboardBytes>)> done);

}  // namespace meridavolt
