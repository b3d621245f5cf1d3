#include "desktop/LauncherSearch.h"

#include "platform/Text.h"

namespace meridavolt::launcherSearch {

std::vector<Service> services(const std::vector<Service>& library, const std::string& query)
{
    if (query.empty()) return library;
    const std::string needle = foldedForSearch(query);
    std::vector<Service> found;
    for (const auto& service : library) {
        if (foldedForSearch(service.name).find(needle) != std::string::npos) found.push_back(service);
    }
    return found;
}

std::vector<MemoryRow> memory(const ClipboardStore& store, const std::string& query)
{
    std::vector<MemoryRow> rows;
    for (auto& entry : store.matching(query)) {
        const bool pinned = store.isPinned(entry);
        std::string shown = preview(entry.text);
        rows.push_back({std::move(entry), std::move(shown), pinned});
    }
    return rows;
}

std::string preview(const std::string& text) { return characterPrefix(text, previewLength); }

}  // namespace meridavolt::launcherSearch
