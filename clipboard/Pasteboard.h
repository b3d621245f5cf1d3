#pragma once

#include "clipboard/SharedBytes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace meridavolt {

// The system clipboard as the store sees it: a change count that moves once
// per new content, the raw type names on offer (private marker types
// included), and synchronous reads of the kinds the memory keeps. All calls
// happen on the main thread; reads are bounded in size by the implementation.
class Pasteboard {
public:
    virtual ~Pasteboard() = default;

    // Moves whenever the content changes, our own writes included.
    virtual std::int64_t changeCount() const = 0;

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
