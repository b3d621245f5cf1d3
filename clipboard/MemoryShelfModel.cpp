#include "clipboard/MemoryShelfModel.h"

#include "clipboard/ClipboardPanelModel.h"
#include "platform/Text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace meridavolt {

MemoryCardMetrics memoryCardMetrics(double cardHeight, bool compact)
{
    MemoryCardMetrics metrics;
    metrics.height = cardHeight;
    metrics.padding = compact ? 7 : 10;
    metrics.spacing = compact ? 4 : 7;
    metrics.thumbnailHeight = std::max(cardHeight - (compact ? 32 : 43), 14.0);
    // The quotient is cut toward zero, also for heights under 40.
    const int lines = int(std::trunc((cardHeight - 40) / 14));
    metrics.maximumLines = std::max(compact ? 1 : 2, lines);
    metrics.minimumTextHeight = compact ? 14 : 28;
    return metrics;
}

MemoryShelfSlots memoryShelfSlots(const std::vector<ClipboardEntry>& pinned,
                                  const std::vector<ClipboardEntry>& history)
{
    MemoryShelfSlots slots;
    std::size_t filled = 0;
    for (const auto& pin : pinned) {
        if (filled == slots.size()) return slots;
        slots[filled++] = pin;
    }
    for (const auto& entry : history) {
        if (filled == slots.size()) return slots;
        const bool isPinned = std::any_of(pinned.begin(), pinned.end(),
                                          [&](const ClipboardEntry& pin) { return pin.id == entry.id; });
        if (!isPinned) slots[filled++] = entry;
    }
    return slots;
}

std::optional<ClipboardEntry> memoryEntry(const std::vector<ClipboardEntry>& pinned,
                                          const std::vector<ClipboardEntry>& history, const std::string& id)
{
    for (const auto* entries : {&pinned, &history}) {
        auto found = std::find_if(entries->begin(), entries->end(),
                                  [&](const ClipboardEntry& entry) { return entry.id == id; });
        if (found != entries->end()) return *found;
    }
    return std::nullopt;
}

std::string memoryButtonLabel(std::size_t temporaryCount)
{
    return std::string(memoryBrand) + "、" + std::to_string(temporaryCount) + "件";
}

std::string memoryCardNumber(std::size_t index)
{
    char number[24];
    std::snprintf(number, sizeof number, "%02zu", index + 1);
    return number;
}

std::string memoryCardLabel(std::size_t index, const std::optional<ClipboardEntry>& entry)
{
    const std::string slot = std::to_string(index + 1) + "、";
    if (!entry) return slot + dropHereLabel;
    if (entry->isImage()) return slot + clipboardpanel::imageLabel;
    return slot + entry->text;
}

std::string memoryCardTooltip(const std::optional<ClipboardEntry>& entry)
{
    return entry ? "クリックでコピー・ドラッグで移動" : "画像・テキスト・URLをドロップ";
}

std::string memoryCardPreview(const std::optional<ClipboardEntry>& entry, int lines)
{
    if (!entry) return dropHereLabel;
    return firstLines(characterPrefix(entry->text, MemoryCardMetrics::previewCharacters), std::size_t(lines));
}

std::string memoryCardSymbol(const std::optional<ClipboardEntry>& entry)
{
    if (entry && entry->isImage()) return "photo";
    if (entry && entry->webURL()) return "link";
    return "square.on.square";
}

std::vector<MemoryCardMenuItem> memoryCardMenu(const ClipboardEntry& entry, bool pinned, bool recognizing)
{
    std::vector<MemoryCardMenuItem> items{{MemoryCardAction::copy, "コピー"},
                                          {MemoryCardAction::togglePin, clipboardpanel::pinLabel(pinned)}};
    if (entry.isImage()) items.push_back({MemoryCardAction::recognizeText, "文字を取り出す", !recognizing});
    items.push_back({MemoryCardAction::moveToFront, "先頭へ"});
    items.push_back({MemoryCardAction::moveToEnd, "末尾へ"});
    return items;
}

bool moveToFront(ClipboardHistory& history, const std::string& id)
{
    std::optional<std::string> first;
    if (!history.entries.empty()) first = history.entries.front().id;
    // With an empty history the entry cannot be in it: nothing moves.
    if (!first) return false;
    return history.move(id, first);
}

bool moveToEnd(ClipboardHistory& history, const std::string& id)
{
    return history.move(id, std::nullopt);
}

}  // namespace meridavolt
