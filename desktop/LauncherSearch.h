#pragma once

#include "clipboard/ClipboardEntry.h"
#include "clipboard/ClipboardStore.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace meridavolt {

// What the quick launcher lists for one query.
namespace launcherSearch {

// The characters of an entry's text that a memory row shows.
inline constexpr std::size_t previewLength = 100;

// The search text as typed (a trailing blank must match too), folded once
// for every row it is compared with. Matching ignores case; an empty query
// matches everything.
class Query {
public:
    explicit Query(std::string typed);
    bool empty() const { return typed_.empty(); }
    bool matches(const std::string& text) const;
    // The same for a text already folded for search.
    bool matchesFolded(const std::string& folded) const;

private:
    std::string typed_;
    std::string folded_;
};

// One memory entry as its row shows it.
class MemoryRow {
public:
    MemoryRow(ClipboardEntry entry, bool pinned);

    const ClipboardEntry& entry() const { return entry_; }
    // The first 100 characters of the text.
    const std::string& preview() const { return preview_; }
    bool pinned() const { return pinned_; }
    // Texts are folded once, on the first search, not on every keystroke:
    // an entry may hold 100,000 bytes.
    bool matches(const Query& query) const;
    // Folds the text now, while nobody types.
    void prepareSearch() const;

private:
    ClipboardEntry entry_;
    std::string preview_;
    bool pinned_ = false;
    mutable std::optional<std::string> folded_;
};

// Every entry of the memory in its search order (pinned first). Filtering
// the rows by a query gives what the memory's own search finds.
std::vector<MemoryRow> memory(const ClipboardStore& store);

}  // namespace launcherSearch

}  // namespace meridavolt
