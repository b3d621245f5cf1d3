#pragma once

#include "clipboard/gdk/BoundedClipboardRead.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include <gio/gio.h>

namespace meridavolt {

// Reads selections (the clipboard, a drop's XdndSelection) owned by other X
// clients on a connection of our own, because GDK's reader cannot be stopped:
// closing its stream or cancelling its read leaves the transfer running and
// buffering. Here every transfer has a requestor window of its own; at the
// limit + 1 byte, at the deadline or on cancellation the window is destroyed,
// so the owner's next chunk has nowhere to go and nothing more arrives. An
// owner that answers late cannot answer a later transfer either.
// Main thread only.
class X11SelectionReader {
public:
    // Throws std::runtime_error when the display cannot be opened.
    explicit X11SelectionReader(const std::string& displayName);
    ~X11SelectionReader();
    X11SelectionReader(const X11SelectionReader&) = delete;
    X11SelectionReader& operator=(const X11SelectionReader&) = delete;

    // One reader per display name for the life of the process.
    static X11SelectionReader& shared(const std::string& displayName);

    // Asks the owner of `selection` for `target` as at `time` (0: now). `done`
    // runs once, on the main thread, with at most limit + 1 bytes, or with
    // nothing on refusal, failure, time-out or cancellation of `cancellable`.
    void read(const std::string& selection, const std::string& target, unsigned long time, std::size_t limit,
              std::chrono::milliseconds timeout, GCancellable* cancellable,
              std::function<void(std::optional<ClipboardBytes>)> done);

    // Transfers under way (tests check that a cut transfer is gone).
    std::size_t transfers() const { return transfers_.size(); }

private:
    struct Connection;
    struct Transfer;

    void handleEvent(void* event);
    void selectionArrived(unsigned long window, unsigned long property);
    void chunkArrived(unsigned long window);
    void finish(unsigned long window, std::optional<ClipboardBytes> outcome);

    std::unique_ptr<Connection> connection_;
    std::map<unsigned long, std::unique_ptr<Transfer>> transfers_;
    GSource* watchSource_ = nullptr;
};

}  // namespace meridavolt
