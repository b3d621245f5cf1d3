#pragma once

#include "clipboard/ClipboardEntry.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace meridavolt {

// The search form of each entry's text, kept between searches: an entry may
// hold 100,000 bytes, and folding all of them again on every keystroke costs
// tens of milliseconds.
class SearchFolds {
public:
    // The folded text of the entry, folded anew only when its text changed.
    const std::string& folded(const ClipboardEntry& entry);
    // Forgets the entries that are not among these.
    void keepOnly(const std::vector<ClipboardEntry>& entries);

private:
    struct Fold {
        std::string text;
        std::string folded;
    };
    std::unordered_map<std::string, Fold> folds_;
};

}  // namespace meridavolt
