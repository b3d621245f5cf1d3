// The pinned part of the clipboard store: loading the pins file at creation
// and pinning or unpinning with the file written before the change is shown.
#include "clipboard/ClipboardStore.h"

#include "clipboard/PinsFile.h"
#include "platform/FileError.h"
#include "platform/Files.h"

#include <algorithm>

namespace meridavolt {

namespace {

constexpr const char* loadFailed = "固定メモリーを読み込めませんでした。元のファイルは保持しています。";
constexpr const char* fixLoadError = "固定メモリーの読込エラーを解消してください";
constexpr const char* pinLimit = "固定は30件・画像合計64MBまでです";
constexpr const char* saveFailed = "固定メモリーを保存できませんでした";
constexpr const char* pinnedText = "固定しました。終了後もこの端末に残ります";
constexpr const char* unpinnedText = "固定を解除しました";

std::size_t imageBytes(const ClipboardEntry& entry)
{
    return entry.imageData ? entry.imageData->size() : 0;
}

}  // namespace

void ClipboardStore::loadPins()
{
    try {
        pinned_ = PinsFile::load(pinsURL_);
    } catch (const FileError&) {
        pinned_.clear();
        pinsReadable_ = false;
        status_ = loadFailed;
    }
}

void ClipboardStore::togglePin(const ClipboardEntry& entry)
{
    if (!pinsReadable_) return setStatus(fixLoadError);

    std::vector<ClipboardEntry> pins = pinned_;
    const bool pinning = !isPinned(entry);
    if (pinning) {
        if (pins.size() >= ClipboardHistory::capacity) return setStatus(pinLimit);
        std::size_t total = imageBytes(entry);
        for (const auto& pin : pins) total += imageBytes(pin);
        if (total > ClipboardHistory::maximumTotalImageBytes) return setStatus(pinLimit);
        pins.insert(pins.begin(), entry);
    } else {
        std::erase_if(pins, [&](const ClipboardEntry& pin) { return pin.id == entry.id; });
    }

    std::string bytes;
    try {
        bytes = PinsFile::encode(pins);
    } catch (const std::exception&) {
        return setStatus(saveFailed);
    }
    // Base64 makes images a third larger: a file past the reader's cap would
    // lose every pin at the next start, so such a pin is refused like a full one.
    if (pinning && bytes.size() > maximumPinsFileBytes) return setStatus(pinLimit);
    try {
        writeFileAtomically(pinsURL_, bytes);
    } catch (const FileError&) {
        return setStatus(saveFailed);
    }

    setPinned(std::move(pins));
    setStatus(pinning ? pinnedText : unpinnedText);
}

}  // namespace meridavolt
