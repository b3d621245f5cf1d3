#include "desktop/LauncherSearch.h"

#include "platform/Text.h"

namespace meridavolt::launcherSearch {

Query::Query(std::string typed) : typed_(std::move(typed)), folded_(foldedForSearch(typed_)) {}

bool Query::matches(const std::string& text) const { return empty() || matchesFolded(foldedForSearch(text)); }

bool Query::matchesFolded(const std::string& folded) const
{
    return empty() || folded.find(folded_) != std::string::npos;
}

MemoryRow::MemoryRow(ClipboardEntry entry, bool pinned)
    : entry_(std::move(entry)), preview_(characterPrefix(entry_.text, previewLength)), pinned_(pinned)
{
}

bool MemoryRow::matches(const Query& query) const
{
    if (query.empty()) return true;
    prepareSearch();
    return query.matchesFolded(*folded_);
}

void MemoryRow::prepareSearch() const
{
    if (!folded_) folded_ = foldedForSearch(entry_.text);
}

std::vector<MemoryRow> memory(const ClipboardStore& store)
{
    std::vector<MemoryRow> rows;
    for (auto& entry : store.matching("")) {
        const bool pinned = store.isPinned(entry);
        rows.emplace_back(std::move(entry), pinned);
    }
    return rows;
}

}  // namespace meridavolt::launcherSearch
