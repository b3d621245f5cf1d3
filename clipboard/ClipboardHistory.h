#pragma once

#include "clipboard/ClipboardEntry.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace meridavolt {

// The temporary history, newest first, with its count and byte limits. Lives
// only in memory.
struct ClipboardHistory {
    static constexpr std::size_t capacity = 30;
    static constexpr std::size_t maximumUTF8Bytes = 100'000;
    static constexpr std::size_t maximumImageBytes = 12'582'912;
    static constexpr std::size_t maximumThumbnailBytes = 524'288;
    static constexpr std::size_t maximumTotalImageBytes = 67'108'864;

    std::vector<ClipboardEntry> entries;

    // Stores a text at the front; a text already present moves there with its
    // id and the new time. False (and no change) for a blank or oversize text.
    bool insert(const std::string& text, Date capturedAt);

    // Stores an image at the front, keeping the id of identical image bytes.
    // False (and no change) for empty or oversize image or thumbnail bytes.
    bool insertImage(const SharedBytes& data, const SharedBytes& thumbnail, Date capturedAt);

    // Moves an entry in front of `before` (to the end when absent). True when
    // the order changed.
    bool move(const std::string& id, const std::optional<std::string>& before);

    void remove(const std::string& id);
    void clear();

    // Entries whose text contains the trimmed query, ignoring case; all
    // entries for a blank query.
    std::vector<ClipboardEntry> matching(const std::string& query) const;

    std::size_t totalImageBytes() const;
};

}  // namespace meridavolt
