#include "platform/gdk/GdkPasteboard.h"

#include "clipboard/ClipboardHistory.h"
#include "clipboard/ClipboardStore.h"
#include "clipboard/ClipboardText.h"
#include "platform/gdk/BoundedClipboardRead.h"
#include "platform/gdk/SelectionWatcher.h"

#include <gdk/gdk.h>
#include <gdk/x11/gdkx.h>

#include <algorithm>
#include <array>
#include <stdexcept>

namespace meridavolt {

namespace {

constexpr auto retryDelay = std::chrono::milliseconds(20);
constexpr const char* utf8Text = "text/plain;charset=utf-8";
// Text targets in order of preference; the last two may be Latin-1.
constexpr std::array<const char*, 4> textTypes{utf8Text, "UTF8_STRING", "text/plain", "STRING"};

enum class Kind { png, tiff, text, url };

struct Step {
    std::string type;
    Kind kind;
};

bool contains(const std::vector<std::string>& types, std::string_view type)
{
    return std::find(types.begin(), types.end(), type) != types.end();
}

std::vector<Step> stepsFor(const std::vector<std::string>& types)
{
    std::vector<Step> steps;
    if (contains(types, "image/png")) steps.push_back({"image/png", Kind::png});
    if (contains(types, "image/tiff")) steps.push_back({"image/tiff", Kind::tiff});
    for (const char* type : textTypes) {
        if (contains(types, type)) {
            steps.push_back({type, Kind::text});
            break;
        }
    }
    if (contains(types, "text/uri-list")) steps.push_back({"text/uri-list", Kind::url});
    return steps;
}

std::size_t limitFor(Kind kind)
{
    return kind == Kind::png || kind == Kind::tiff ? ClipboardStore::maximumInputImageBytes
                                                   : ClipboardHistory::maximumUTF8Bytes;
}

bool carriesPrivateMarker(const std::vector<std::string>& types)
{
    return std::any_of(types.begin(), types.end(), [](const std::string& type) {
        return std::find(ClipboardStore::privateTypes.begin(), ClipboardStore::privateTypes.end(), type) !=
               ClipboardStore::privateTypes.end();
    });
}

std::vector<std::string> gdkTypes(GdkClipboard* clipboard)
{
    gsize count = 0;
    const char* const* mimeTypes = gdk_content_formats_get_mime_types(gdk_clipboard_get_formats(clipboard), &count);
    return std::vector<std::string>(mimeTypes, mimeTypes + count);
}

}  // namespace

struct GdkPasteboard::Fetch {
    std::uint64_t generation = 0;
    bool counts = true;
    bool foreign = true;
    Snapshot snapshot;
    std::vector<Step> steps;
    std::size_t next = 0;
    std::chrono::milliseconds waited{0};
};

GdkPasteboard::GdkPasteboard(GdkDisplay* display) : display_(display), clipboard_(gdk_display_get_clipboard(display))
{
    changedHandler_ = g_signal_connect_swapped(
        clipboard_, "changed", G_CALLBACK(+[](GdkPasteboard* self) { self->localContentChanged(); }), this);

    // Without X11 (a pure Wayland session) other clients' copies cannot be
    // watched: the memory still copies out and sees the application's own copies.
    if (!GDK_IS_X11_DISPLAY(display)) return;
    ownWindow_ = gdk_x11_surface_get_xid(gdk_x11_display_get_default_group(display));
    watcher_ = std::make_unique<SelectionWatcher>(DisplayString(gdk_x11_display_get_xdisplay(display)));
    watcher_->ownerChanged = [this](unsigned long owner, unsigned long time) { ownerChanged(owner, time); };

    // Fetched for the capture button, but never counted: the store does not
    // capture what was there before it started.
    unsigned long owner = watcher_->currentOwner();
    if (owner == ownWindow_) {
        if (gdk_clipboard_is_local(clipboard_)) startFetch(false);
    } else if (owner != 0) {
        fetchForeign(CurrentTime, false);
    }
}

GdkPasteboard::~GdkPasteboard()
{
    cancelFetch();
    g_signal_handler_disconnect(clipboard_, changedHandler_);
}

void GdkPasteboard::ownerChanged(unsigned long owner, unsigned long time)
{
    if (owner == ownWindow_) return;  // our own claims arrive through `changed`
    if (owner == 0) {
        cancelFetch();
        snapshot_ = {};
        return;
    }
    fetchForeign(time, true);
}

void GdkPasteboard::localContentChanged()
{
    if (writing_ || !gdk_clipboard_is_local(clipboard_)) return;
    startFetch(true);
}

void GdkPasteboard::startFetch(bool counts)
{
    cancelFetch();
    cancellable_ = g_cancellable_new();
    auto fetch = std::make_shared<Fetch>();
    fetch->generation = ++generation_;
    fetch->counts = counts;
    fetch->foreign = false;
    fetch->snapshot.types = gdkTypes(clipboard_);
    readContent(std::move(fetch));
}

void GdkPasteboard::fetchForeign(unsigned long time, bool counts)
{
    cancelFetch();
    cancellable_ = g_cancellable_new();
    auto fetch = std::make_shared<Fetch>();
    fetch->generation = ++generation_;
    fetch->counts = counts;
    watcher_->requestTargets(time, static_cast<unsigned>(readTimeout.count()),
                             [this, fetch](SelectionWatcher::Targets targets) {
                                 // The watcher drops its request when we cancel, so this fetch is current.
                                 fetch->snapshot.types = targets.value_or(std::vector<std::string>{});
                                 readContent(fetch);
                             });
}

void GdkPasteboard::readContent(std::shared_ptr<Fetch> fetch)
{
    // A marked copy (a password, say) is never read at all.
    if (carriesPrivateMarker(fetch->snapshot.types)) return finish(fetch);
    fetch->steps = stepsFor(fetch->snapshot.types);
    readNext(std::move(fetch));
}

void GdkPasteboard::readNext(std::shared_ptr<Fetch> fetch)
{
    if (fetch->next >= fetch->steps.size()) return finish(fetch);
    // GDK may not yet have noticed that another client took the clipboard
    // from us; reading now would return our own old content.
    if (fetch->foreign && gdk_clipboard_is_local(clipboard_) && fetch->waited < readTimeout) {
        fetch->waited += retryDelay;
        auto* pending = new std::function<void()>([this, fetch, alive = std::weak_ptr<bool>(alive_)] {
            if (alive.lock() && fetch->generation == generation_) readNext(fetch);
        });
        g_timeout_add_full(
            G_PRIORITY_DEFAULT, static_cast<guint>(retryDelay.count()),
            [](gpointer work) -> gboolean {
                (*static_cast<std::function<void()>*>(work))();
                return G_SOURCE_REMOVE;
            },
            pending, [](gpointer work) { delete static_cast<std::function<void()>*>(work); });
        return;
    }
    const Step step = fetch->steps[fetch->next];
    readClipboardBounded(clipboard_, step.type, limitFor(step.kind), readTimeout, cancellable_,
                         [this, fetch, step, alive = std::weak_ptr<bool>(alive_)](std::optional<ClipboardBytes> read) {
                             if (!alive.lock() || fetch->generation != generation_) return;
                             Snapshot& snapshot = fetch->snapshot;
                             if (read) {
                                 switch (step.kind) {
                                 case Kind::png:
                                     if (!read->bytes.empty()) snapshot.png = SharedBytes(std::move(read->bytes));
                                     break;
                                 case Kind::tiff:
                                     if (!read->bytes.empty()) snapshot.tiff = SharedBytes(std::move(read->bytes));
                                     break;
                                 case Kind::text:
                                     snapshot.string = decodeClipboardText(std::move(read->bytes), step.type, read->oversize);
                                     break;
                                 case Kind::url:
                                     if (!read->oversize) snapshot.url = firstURI(read->bytes);
                                     break;
                                 }
                             }
                             if (snapshot.png || snapshot.tiff || snapshot.string || snapshot.url) return finish(fetch);
                             ++fetch->next;
                             readNext(fetch);
                         });
}

void GdkPasteboard::finish(const std::shared_ptr<Fetch>& fetch)
{
    snapshot_ = std::move(fetch->snapshot);
    if (fetch->counts) ++count_;
    if (cancellable_) g_object_unref(cancellable_);
    cancellable_ = nullptr;
}

void GdkPasteboard::cancelFetch()
{
    ++generation_;
    if (watcher_) watcher_->cancelTargets();
    if (cancellable_) {
        g_cancellable_cancel(cancellable_);
        g_object_unref(cancellable_);
    }
    cancellable_ = nullptr;
}

void GdkPasteboard::writeString(const std::string& text)
{
    cancelFetch();
    writing_ = true;
    gdk_clipboard_set_text(clipboard_, text.c_str());
    writing_ = false;
    wroteOwnContent(Snapshot{{utf8Text}, std::nullopt, std::nullopt, text, std::nullopt});
}

void GdkPasteboard::writePNG(const SharedBytes& png)
{
    cancelFetch();
    // The clipboard keeps its own reference to the shared bytes: no copy.
    auto* kept = new SharedBytes(png);
    GBytes* bytes = g_bytes_new_with_free_func(kept->data(), kept->size(),
                                               [](gpointer data) { delete static_cast<SharedBytes*>(data); }, kept);
    GdkContentProvider* provider = gdk_content_provider_new_for_bytes("image/png", bytes);
    writing_ = true;
    gdk_clipboard_set_content(clipboard_, provider);
    writing_ = false;
    g_object_unref(provider);
    g_bytes_unref(bytes);
    wroteOwnContent(Snapshot{{"image/png"}, png, std::nullopt, std::nullopt, std::nullopt});
}

void GdkPasteboard::wroteOwnContent(Snapshot snapshot)
{
    snapshot_ = std::move(snapshot);
    ++count_;
}

}  // namespace meridavolt
