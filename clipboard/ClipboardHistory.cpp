#include "clipboard/ClipboardHistory.h"

#include "platform/Date.h"
#include "platform/Text.h"
#include "platform/Uuid.h"

#include <algorithm>

namespace meridavolt {

namespace {

// Removes the entry with the oldest capture time (the first of equal ones,
// counting from the front) together with every entry sharing its id. The
// entry just inserted never goes: with a coarse clock it can tie with the
// oldest, and after the clock was set back it can even be older.
bool evictOldest(std::vector<ClipboardEntry>& entries, const std::string& keptID)
{
    const ClipboardEntry* oldest = nullptr;
    for (const auto& entry : entries) {
        if (entry.id == keptID) continue;
        if (!oldest || entry.capturedAt < oldest->capturedAt) oldest = &entry;
    }
    if (!oldest) return false;
    const std::string victim = oldest->id;
    std::erase_if(entries, [&](const ClipboardEntry& entry) { return entry.id == victim; });
    return true;
}

}  // namespace

bool ClipboardHistory::insert(const std::string& text, Date capturedAt)
{
    if (isBlank(text)) return false;
    if (text.size() > maximumUTF8Bytes) return false;

    auto sameText = [&](const ClipboardEntry& entry) { return !entry.isImage() && canonicallyEqual(entry.text, text); };
    auto existing = std::find_if(entries.begin(), entries.end(), sameText);
    std::string id = existing != entries.end() ? existing->id : makeUUID();
    std::erase_if(entries, sameText);

    entries.insert(entries.begin(), ClipboardEntry{id, text, capturedAt, std::nullopt, std::nullopt});
    if (entries.size() > capacity) evictOldest(entries, id);
    return true;
}

bool ClipboardHistory::insertImage(const SharedBytes& data, const SharedBytes& thumbnail, Date capturedAt)
{
    if (data.empty() || data.size() > maximumImageBytes) return false;
    if (thumbnail.empty() || thumbnail.size() > maximumThumbnailBytes) return false;

    auto sameImage = [&](const ClipboardEntry& entry) { return entry.imageData && *entry.imageData == data; };
    auto existing = std::find_if(entries.begin(), entries.end(), sameImage);
    std::string id = existing != entries.end() ? existing->id : makeUUID();
    std::erase_if(entries, sameImage);

    entries.insert(entries.begin(), ClipboardEntry{id, ClipboardEntry::imageText, capturedAt, data, thumbnail});
    while (entries.size() > capacity || totalImageBytes() > maximumTotalImageBytes) {
        if (!evictOldest(entries, id)) break;
    }
    return true;
}

bool ClipboardHistory::move(const std::string& id, const std::optional<std::string>& before)
{
    if (before == id) return false;
    auto hasID = [](const std::string& wanted) {
        return [&wanted](const ClipboardEntry& entry) { return entry.id == wanted; };
    };
    auto moving = std::find_if(entries.begin(), entries.end(), hasID(id));
    if (moving == entries.end()) return false;
    if (before && std::none_of(entries.begin(), entries.end(), hasID(*before))) return false;

    std::vector<std::string> oldOrder;
    for (const auto& entry : entries) oldOrder.push_back(entry.id);

    ClipboardEntry entry = std::move(*moving);
    entries.erase(moving);
    auto target = before ? std::find_if(entries.begin(), entries.end(), hasID(*before)) : entries.end();
    entries.insert(target, std::move(entry));

    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].id != oldOrder[i]) return true;
    }
    return false;
}

void ClipboardHistory::remove(const std::string& id)
{
    std::erase_if(entries, [&](const ClipboardEntry& entry) { return entry.id == id; });
}

void ClipboardHistory::clear()
{
    entries.clear();
}

std::vector<ClipboardEntry> ClipboardHistory::matching(const std::string& query) const
{
    std::string trimmed = trimWhitespace(query);
    if (trimmed.empty()) return entries;
    const std::string needle = foldedForSearch(trimmed);
    std::vector<ClipboardEntry> found;
    for (const auto& entry : entries) {
        if (foldedForSearch(entry.text).find(needle) != std::string::npos) found.push_back(entry);
    }
    return found;
}

std::size_t ClipboardHistory::totalImageBytes() const
{
    std::size_t total = 0;
    for (const auto& entry : entries) total += entry.imageData ? entry.imageData->size() : 0;
    return total;
}

}  // namespace meridavolt
