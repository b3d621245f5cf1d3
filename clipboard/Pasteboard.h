#pragma once

#include "clipboard/SharedBytes.h"
#include "platform/Signal.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace meridavolt {

// The system clipboard as the store sees it: a change count that moves once
// per new content, and, once fetched, the raw type names on offer (private
// marker types included) and the kinds the memory keeps. All calls happen on
// the main thread; reads are bounded in size and time by the implementation.
class Pasteboard {
public:
    virtual ~Pasteboard() = default;

    // Moves whenever the content changes, our own writes included. Asks the
    // content's owner for nothing.
    virtual std::int64_t changeCount() const = 0;

    // Emitted when the change count moves, where the system tells at once
    // (elsewhere only a poll of the count notices).
    Signal<> changed;

    // Reads the current content once: the types, then (unless a private
    // marker is among them) the first kind the memory would keep. `ready`
    // runs on the main thread once the accessors below answer for it, at the
    // latest after the time limit; only while it runs are they sure to. A
    // change by another program while the read waits makes it answer for the
    // newer content. A write of ours ends it instead: `ready` runs before the
    // write returns, with nothing on offer, and what we wrote is never read
    // for it.
    virtual void fetch(std::function<void()> ready) = 0;

    // Every type name the current content is offered as, exactly as announced.
    virtual std::vector<std::string> types() const = 0;

    virtual std::optional<SharedBytes> pngData() const = 0;
    virtual std::optional<SharedBytes> tiffData() const = 0;
    virtual std::optional<std::string> string() const = 0;
    // A link offered as a link (not as plain text).
    virtual std::optional<std::string> url() const = 0;

    // Each write replaces the whole content with this one representation.
    virtual void writeString(const std::string& text) = 0;
    virtual void writePNG(const SharedBytes& png) = 0;
};

}  // namespace meridavolt
