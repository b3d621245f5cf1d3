#pragma once

#include "clipboard/ClipboardEntry.h"
#include "clipboard/ClipboardHistory.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace meridavolt {

// What the memory button, the shelf and its cards show, free of the toolkit.

// Sizes of one card, in points, for a card height given by its host.
struct MemoryCardMetrics {
    static constexpr double maximumWidth = 175;
    static constexpr std::size_t previewCharacters = 160;

    double height = 0;  // exactly the host's card height: minimum and natural
    double padding = 0;
    double spacing = 0;  // between the header line and the content
    double thumbnailHeight = 0;
    int maximumLines = 0;
    double minimumTextHeight = 0;
};

MemoryCardMetrics memoryCardMetrics(double cardHeight, bool compact);

// The shelf's three slots: the first three of the memory as the panel lists
// it (pins newest first, then the history's entries that are not pinned),
// without copying the rest.
inline constexpr std::size_t memoryShelfSlotCount = 3;
using MemoryShelfSlots = std::array<std::optional<ClipboardEntry>, memoryShelfSlotCount>;
MemoryShelfSlots memoryShelfSlots(const std::vector<ClipboardEntry>& pinned,
                                  const std::vector<ClipboardEntry>& history);

// The memory's entry with this id as it is now (its pin before its history
// copy), or none when it is gone.
std::optional<ClipboardEntry> memoryEntry(const std::vector<ClipboardEntry>& pinned,
                                          const std::vector<ClipboardEntry>& history, const std::string& id);

// --- Texts, all plain (never markup).
inline constexpr const char* memoryButtonTooltip = "コピー履歴を開く（Ctrl+Shift+V）";
inline constexpr const char* memoryBrand = "PELLOWRI MEMORY";
inline constexpr const char* dropHereLabel = "ここにドロップ";

// "PELLOWRI MEMORY、3件": the temporary entries only.
std::string memoryButtonLabel(std::size_t temporaryCount);
// "01", "02", "03".
std::string memoryCardNumber(std::size_t index);
// "2、" and the entry's full text, "保存した画像", or "ここにドロップ".
std::string memoryCardLabel(std::size_t index, const std::optional<ClipboardEntry>& entry);
std::string memoryCardTooltip(const std::optional<ClipboardEntry>& entry);
// The face's text: the first 160 characters in at most `lines` lines, or "ここにドロップ".
std::string memoryCardPreview(const std::optional<ClipboardEntry>& entry, int lines);
// The header's kind symbol: "photo", "link" or "square.on.square".
std::string memoryCardSymbol(const std::optional<ClipboardEntry>& entry);

// The card's menu, in order; its pin item reads as the panel's does.
enum class MemoryCardAction { copy, togglePin, recognizeText, moveToFront, moveToEnd };
struct MemoryCardMenuItem {
    MemoryCardAction action;
    std::string label;
    bool enabled = true;
};
std::vector<MemoryCardMenuItem> memoryCardMenu(const ClipboardEntry& entry, bool pinned, bool recognizing);

// "先頭へ": in front of the history's first entry. "末尾へ": to its end. Both
// change nothing for an entry not in the history (a pin only) and "先頭へ"
// nothing for the first one. True when the order changed.
bool moveToFront(ClipboardHistory& history, const std::string& id);
bool moveToEnd(ClipboardHistory& history, const std::string& id);

}  // namespace meridavolt
