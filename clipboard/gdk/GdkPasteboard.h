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
// X11 has no change count: the count here moves when XFixes reports a new
// owner of CLIPBOARD, on a connection of our own, and nothing is read then.
// Content is read only when the store fetches: the raw TARGETS list first
// and, unless a private marker type is among them, the first kind the store
// would take (PNG, then TIFF, then text, then a link), every read bounded in
// size and time. Another client's content is read on our own connection as
// well (GDK's reader keeps receiving after it is told to stop). A change
// while a fetch runs restarts it, so it answers for the newer content; our
// own write ends it with nothing instead.
//
// Claims made by this process (our own copies, and copies from the
// application's text fields and web pages) appear to XFixes as GDK's window
// and are taken from GdkClipboard's `changed` signal instead, and read
// through GDK; the store's own writes are known at once.
class GdkPasteboard final : public Pasteboard {
public:
    static constexpr std::chrono::milliseconds readTimeout{3000};

    // On a display other than X11 only the application's own copies are seen.
    // Throws std::runtime_error when an X11 display lacks XFixes.
    explicit GdkPasteboard(GdkDisplay* display);
    ~GdkPasteboard() override;

    std::int64_t changeCount() const override { return count_; }
    void fetch(std::function<void()> ready) override;
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
    // Who holds the clipboard, as far as it matters for reading it.
    enum class Holder { nobody, us, another };

    void ownerChanged(unsigned long owner, unsigned long time);
    void localContentChanged();
    void contentChanged(Holder holder, unsigned long time);
    void startFetch();
    void readContent(std::shared_ptr<Fetch> fetch);
    void readNext(std::shared_ptr<Fetch> fetch);
    void finish(const std::shared_ptr<Fetch>& fetch);
    void cancelFetch();
    void wroteOwnContent();

    GdkDisplay* display_;
    GdkClipboard* clipboard_;
    std::unique_ptr<SelectionWatcher> watcher_;
    std::string displayName_;
    unsigned long ownWindow_ = 0;
    unsigned long changedHandler_ = 0;
    bool writing_ = false;
    Holder holder_ = Holder::nobody;
    unsigned long ownerTime_ = 0;  // when another client took the clipboard
    Snapshot snapshot_;
    std::vector<std::function<void()>> waiting_;
    std::int64_t count_ = 0;
    std::uint64_t generation_ = 0;
    GCancellable* cancellable_ = nullptr;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace meridavolt
