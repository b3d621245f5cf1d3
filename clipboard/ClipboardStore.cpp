#include "clipboard/ClipboardStore.h"

#include "platform/DataFolder.h"
#include "platform/Text.h"

#include <algorithm>

namespace meridavolt {

namespace {

constexpr const char* savedText = "保存しました";
constexpr const char* textRefused = "空の内容・100KBを超えるテキストは保存できません";
constexpr const char* privateCopy = "保存対象外のコピーです";
constexpr const char* nothingUsable = "画像・テキスト・URLをコピーしてください";
constexpr const char* copied = "コピーしました";

}  // namespace

ClipboardStore::ClipboardStore(ClipboardServices services, std::optional<std::filesystem::path> pinsURL, bool monitor)
    : services_(std::move(services)), pinsURL_(pinsURL ? std::move(*pinsURL) : defaultPinsURL())
{
    automatic_ = services_.settings.boolValue(automaticKey).value_or(true);
    // What was on the clipboard before the application started is never captured.
    lastChange_ = services_.pasteboard->changeCount();
    loadPins();
    if (monitor) configureMonitoring();
}

ClipboardStore::~ClipboardStore() = default;

std::filesystem::path ClipboardStore::defaultPinsURL()
{
    return applicationDataFolder() / pinsFileName;
}

void ClipboardStore::updateHistory(const std::function<void(ClipboardHistory&)>& change)
{
    change(history_);
    historyChanged.emit();
}

void ClipboardStore::setStatus(std::optional<std::string> text)
{
    status_ = std::move(text);
    statusChanged.emit();
}

void ClipboardStore::setAutomatic(bool on)
{
    automatic_ = on;
    services_.settings.setBool(automaticKey, on);
    configureMonitoring();
    automaticChanged.emit();
}

void ClipboardStore::configureMonitoring()
{
    timer_.reset();
    changeWatch_.disconnect();
    // Copies made while monitoring was off are not captured when it comes back on.
    lastChange_ = services_.pasteboard->changeCount();
    if (!automatic_) return;
    timer_ = services_.scheduler.every(pollInterval, [this] { poll(); });
    // Where the system reports a change, it is captured at once rather than at the next tick.
    changeWatch_ = services_.pasteboard->changed.connect([this] { poll(); });
}

void ClipboardStore::poll()
{
    if (!automatic_) return;
    if (services_.pasteboard->changeCount() != lastChange_) capture();
}

void ClipboardStore::capture()
{
    lastChange_ = services_.pasteboard->changeCount();
    ownCopiesAtRequest_ = ownCopies_;
    // A fetch under way delivers the newest content: the clipboard restarts it on a change.
    if (fetching_) return;
    fetching_ = true;
    services_.pasteboard->fetch(whileAlive([this] {
        fetching_ = false;
        // Our own copy replaced the content that was asked for: nothing of it
        // is left to store, and what we wrote is not captured back.
        if (ownCopiesAtRequest_ != ownCopies_) return;
        storeFetched();
    }));
}

void ClipboardStore::storeFetched()
{
    const Pasteboard& pasteboard = *services_.pasteboard;
    for (const auto& type : pasteboard.types()) {
        if (std::find(privateTypes.begin(), privateTypes.end(), type) != privateTypes.end()) {
            setStatus(privateCopy);
            return;
        }
    }
    if (auto png = pasteboard.pngData()) return receiveImage(std::move(*png));
    if (auto tiff = pasteboard.tiffData()) return receiveImage(std::move(*tiff));
    if (auto text = pasteboard.string()) return receive(*text);
    if (auto link = pasteboard.url()) return receive(*link);
    setStatus(nothingUsable);
}

void ClipboardStore::receive(const std::string& text)
{
    if (history_.insert(text, services_.clock.now())) {
        historyChanged.emit();
        setStatus(savedText);
    } else {
        setStatus(textRefused);
    }
}

void ClipboardStore::copy(const ClipboardEntry& entry)
{
    Pasteboard& pasteboard = *services_.pasteboard;
    // Counted before the write, which answers a fetch under way at once.
    ++ownCopies_;
    if (entry.imageData) {
        pasteboard.writePNG(*entry.imageData);
    } else {
        pasteboard.writeString(entry.text);
    }
    lastChange_ = pasteboard.changeCount();
    setStatus(copied);
}

std::vector<ClipboardEntry> ClipboardStore::matching(const std::string& query) const
{
    std::vector<ClipboardEntry> all = pinned_;
    for (const auto& entry : history_.entries) {
        if (!isPinned(entry)) all.push_back(entry);
    }
    if (query.empty()) return all;
    searchFolds_.keepOnly(all);
    const std::string needle = foldedForSearch(query);
    std::erase_if(all, [&](const ClipboardEntry& entry) {
        return searchFolds_.folded(entry).find(needle) == std::string::npos;
    });
    return all;
}

bool ClipboardStore::isPinned(const ClipboardEntry& entry) const
{
    return std::any_of(pinned_.begin(), pinned_.end(), [&](const ClipboardEntry& pin) { return pin.id == entry.id; });
}

void ClipboardStore::setPinned(std::vector<ClipboardEntry> pins)
{
    pinned_ = std::move(pins);
    pinnedChanged.emit();
}

void ClipboardStore::setRecognizing(bool on)
{
    recognizing_ = on;
    recognizingChanged.emit();
}

std::function<void(std::function<void()>)> ClipboardStore::mainThreadPoster() const
{
    return [scheduler = &services_.scheduler, alive = std::weak_ptr<bool>(alive_)](std::function<void()> work) {
        scheduler->post([alive, work = std::move(work)] {
            if (alive.lock()) work();
        });
    };
}

}  // namespace meridavolt
