// The drop part of the clipboard store: each dropped item goes the first way
// that applies (an own entry moves, then image data, an image file, a text),
// one item after another, each finished before the next begins.
#include "clipboard/ClipboardStore.h"

#include "clipboard/ClipboardText.h"

#include <algorithm>

namespace meridavolt {

namespace {

constexpr const char* droppedTextSaved = "保存しました";

bool offers(const DropItem& item, std::string_view type)
{
    const auto types = item.types();
    return std::find(types.begin(), types.end(), type) != types.end();
}

}  // namespace

struct ClipboardStore::DropStep {
    std::shared_ptr<DropItem> item;
    std::optional<std::string> before;
    std::function<void()> done;
};

bool ClipboardStore::acceptDrop(std::vector<std::shared_ptr<DropItem>> items, std::optional<std::string> before)
{
    std::erase_if(items, [](const std::shared_ptr<DropItem>& item) { return !item || !offersAcceptedType(item->types()); });
    if (items.empty()) return false;
    if (items.size() > maximumDropItems) items.resize(maximumDropItems);
    auto kept = std::make_shared<std::vector<std::shared_ptr<DropItem>>>(std::move(items));
    mainThreadPoster()([this, kept, before = std::move(before)] { takeDropItem(kept, 0, before); });
    return true;
}

void ClipboardStore::takeDropItem(std::shared_ptr<std::vector<std::shared_ptr<DropItem>>> items, std::size_t index,
                                  std::optional<std::string> before)
{
    if (index >= items->size()) return;
    auto next = whileAlive([this, items, index, before] { takeDropItem(items, index + 1, before); });
    dropOwnEntry(DropStep{(*items)[index], before, std::move(next)});
}

void ClipboardStore::dropOwnEntry(DropStep step)
{
    if (!offers(*step.item, memoryDragType)) return dropImageData(std::move(step));
    auto item = step.item;
    item->loadData(memoryDragType, whileAlive([this, step = std::move(step)](std::optional<std::string> bytes) mutable {
        auto drag = bytes ? MemoryDrag::fromJSON(*bytes) : std::nullopt;
        if (!drag) return dropImageData(std::move(step));
        // By id only: a pin that is not in the history, or an entry removed
        // meanwhile, changes nothing.
        if (history_.move(drag->id, step.before)) historyChanged.emit();
        step.done();
    }));
}

void ClipboardStore::dropImageData(DropStep step)
{
    const auto type = imageType(step.item->types());
    if (!type) return dropImageFile(std::move(step));
    auto item = step.item;
    item->loadData(*type, whileAlive([this, step = std::move(step)](std::optional<std::string> bytes) mutable {
        if (!bytes || bytes->empty()) return dropImageFile(std::move(step));
        receiveImage(SharedBytes(std::move(*bytes)), step.before, std::move(step.done));
    }));
}

void ClipboardStore::dropImageFile(DropStep step)
{
    if (!offers(*step.item, "text/uri-list")) return dropText(std::move(step));
    auto item = step.item;
    item->loadData("text/uri-list", whileAlive([this, step = std::move(step)](std::optional<std::string> list) mutable {
        const auto uri = list ? firstURI(*list) : std::nullopt;
        const auto path = uri ? localFilePath(*uri) : std::nullopt;
        if (!path) return dropText(std::move(step));
        importImage(*path, step.before, std::move(step.done));
    }));
}

void ClipboardStore::dropText(DropStep step)
{
    auto item = step.item;
    item->loadText(whileAlive([this, step = std::move(step)](std::optional<std::string> text) {
        // A refused text (blank or oversize) is dropped without a message.
        if (text && history_.insert(*text, services_.clock.now())) {
            setStatus(droppedTextSaved);
            if (step.before && !history_.entries.empty()) history_.move(history_.entries.front().id, step.before);
            historyChanged.emit();
        }
        step.done();
    }));
}

}  // namespace meridavolt
