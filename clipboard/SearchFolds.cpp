#include "clipboard/SearchFolds.h"

#include "platform/Text.h"

#include <unordered_set>

namespace meridavolt {

const std::string& SearchFolds::folded(const ClipboardEntry& entry)
{
    Fold& fold = folds_[entry.id];
    if (fold.text != entry.text || fold.folded.empty()) {
        fold.text = entry.text;
        fold.folded = foldedForSearch(entry.text);
    }
    return fold.folded;
}

void SearchFolds::keepOnly(const std::vector<ClipboardEntry>& entries)
{
    std::unordered_set<std::string> ids;
    for (const auto& entry : entries) ids.insert(entry.id);
    std::erase_if(folds_, [&](const auto& item) { return !ids.contains(item.first); });
}

}  // namespace meridavolt
