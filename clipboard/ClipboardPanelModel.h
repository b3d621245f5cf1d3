#pragma once

#include "clipboard/ClipboardStore.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace meridavolt {

// What the memory panel shows and does, free of the toolkit: its texts and
// the three operations it performs on the store itself.
namespace clipboardpanel {

inline constexpr const char* closeLabel = "閉じる";
inline constexpr const char* deleteLabel = "この履歴を削除";
inline constexpr const char* imageLabel = "保存した画像";
inline constexpr const char* clearedText = "履歴を消去しました";
inline constexpr const char* cannotOpenImages = "画像を開けませんでした";
inline constexpr std::size_t rowCharacters = 600;
inline constexpr std::size_t rowLines = 4;
inline constexpr std::size_t maximumImportedFiles = 30;

// "一時 3/30・固定 1": the raw sizes, whatever the search.
std::string countsText(std::size_t historyCount, std::size_t pinCount);

enum class Placeholder { none, empty, notFound };
// The empty-state block while history and pins are both empty (even with a
// query), "見つかりませんでした" when the search matches nothing.
Placeholder placeholderFor(const ClipboardStore& store, std::size_t matchCount);

const char* pasteHint(bool canPaste);
const char* pinLabel(bool pinned);
const char* pinSymbol(bool pinned);
const char* recognizeTitle(bool recognizing);
// "photo", "link" or "text.alignleft".
const char* kindSymbol(const ClipboardEntry& entry);
// The capture time in local time, hours and minutes.
std::string captureTime(Date date);
// The first 600 characters of the entry's text, in at most 4 lines.
std::string rowText(const ClipboardEntry& entry);

// Unpins a pinned entry first and stops when it is still pinned (the store
// refused or could not write, and said so); then removes it from the history.
void deleteEntry(ClipboardStore& store, const ClipboardEntry& entry);
// Empties the history and says so; pins stay.
void clearHistory(ClipboardStore& store);
// Imports the first 30 files one after another, each awaited; `done` runs
// after the last (unless the store is gone).
void importImages(ClipboardStore& store, std::vector<std::filesystem::path> files, std::function<void()> done = {});

}  // namespace clipboardpanel

}  // namespace meridavolt
