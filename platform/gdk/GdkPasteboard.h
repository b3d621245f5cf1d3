#pragma once

#include "clipboard/Pasteboard.h"

#include <chrono>
#include <memory>

typedef struct _GdkDisplay GdkDisplay;
typedef struct _GdkClipboard GdkClipboard;
typedef struct _GCancellable GCancellable;

namespace meridavolt {

class SelectionWatcher;

// The system clipboard, watched through X11.
//
// X11 has no change count and its reads are asynchronous, while the store's
// poll asks synchronously. So this adapter does the reading ahead: when the
// clipboard gets a new owner it fetches the raw TARGETS list and, unless a
// private marker type is among them, the first kind the store would take
// (PNG, then TIFF, then text, then a link), every read bounded in size and
// time. Only when that snapshot is complete does the change count move; the
// store's synchronous reads then answer from the snapshot. A copy replaced
// while it is being fetched counts once, for the newer content.
//
// Owner changes come from XFixes on a connection of our own. Claims made by
// this process (our own copies, and copies from the application's text
// fields and web pages) appear there as GDK's window and are taken from
// GdkClipboard's `changed` signal instead; the store's own writes count as a
// change and are known at once, with no fetch. What is on the clipboard at
// start-up is fetched too (for the capture button) without counting.
class GdkPasteboard final : public Pasteboard {
public:
    static constexpr std::chrono::milliseconds readTimeout{3000};

    // On a display other than X11 only the application's own copies are seen.
    // Throws std::runtime_error when an X11 display lacks XFixes.
    explicit GdkPasteboard(GdkDisplay* display);
    ~GdkPasteboard() override;

    std::int64_t changeCount() const override { return count_; }
    std::vector<std::string> types() const override { return snapshot_.types; }
    std::optional<SharedBytes> pngData() const override { return snapshot_.png; }
    std::optional<SharedBytes> tiffData() const override { return snapshot_.tiff; }
    std::optional<std::string> string() const override { return snapshot_.string; }
    std::optional<std::string> url() const override { return snapshot_.url; }

    void writeString(const std::string& text) override;
    void writePNG(const SharedBytes& png) override;

    // True while a fetch runs (benchmarks and tests wait on it).
    bool fetching() const { return cancellable_ != nullptr; }

private:
    struct Snapshot {
        std::vector<std::string> types;
        std::optional<SharedBytes> png;
        std::optional<SharedBytes> tiff;
        std::optional<std::string> string;
        std::optional<std::string> url;
    };
    struct Fetch;

    void ownerChanged(unsigned long owner, unsigned long time);
    void localContentChanged();
    void startFetch(bool counts);
    void fetchForeign(unsigned long time, bool counts);
    void readContent(std::shared_ptr<Fetch> fetch);
    void readNext(std::shared_ptr<Fetch> fetch);
    void finish(const std::shared_ptr<Fetch>& fetch);
    void cancelFetch();
    void wroteOwnContent(Snapshot snapshot);

    GdkDisplay* display_;
    GdkClipboard* clipboard_;
    std::unique_ptr<SelectionWatcher> watcher_;
    unsigned long ownWindow_ = 0;
    unsigned long changedHandler_ = 0;
    bool writing_ = false;
    Snapshot snapshot_;
    std::int64_t count_ = 0;
    std::uint64_t generation_ = 0;
    GCancellable* cancellable_ = nullptr;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace meridavolt
