#include "clipboard/gdk/GdkPasteboard.h"

#include "clipboard/ClipboardHistory.h"
#include "clipboard/ClipboardStore.h"
#include "clipboard/ClipboardText.h"
#include "clipboard/gdk/BoundedClipboardRead.h"
#include "clipboard/gdk/SelectionWatcher.h"
#include "clipboard/gdk/X11SelectionReader.h"

#include <gdk/gdk.h>
#include <gdk/x11/gdkx.h>

#include <algorithm>
#include <array>
#include <stdexcept>

namespace meridavolt {

namespace {

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
    Holder holder = Holder::nobody;
    Snapshot snapshot;
    std::vector<Step> steps;
    std::size_t next = 0;
};

GdkPasteboard::GdkPasteboard(GdkDisplay* display) : display_(display), clipboard_(gdk_display_get_clipboard(display))
{
    changedHandler_ = g_signal_connect_swapped(
        clipboard_, "changed", G_CALLBACK(+[](GdkPasteboard* self) { self->localContentChanged(); }), this);

    // Without X11 (a pure Wayland session) other clients' copies cannot be
    // watched: the memory still copies out and sees the application's own copies.
    if (!GDK_IS_X11_DISPLAY(display)) {
        if (gdk_clipboard_is_local(clipboard_)) holder_ = Holder::us;
        return;
    }
    ownWindow_ = gdk_x11_surface_get_xid(gdk_x11_display_get_default_group(display));
    displayName_ = DisplayString(gdk_x11_display_get_xdisplay(display));
    watcher_ = std::make_unique<SelectionWatcher>(displayName_);
    watcher_->ownerChanged = [this](unsigned long owner, unsigned long time) { ownerChanged(owner, time); };
    // Known for the capture button, never counted: the store does not
    // capture what was there before it started.
    const unsigned long owner = watcher_->currentOwner();
    if (owner == ownWindow_) {
        if (gdk_clipboard_is_local(clipboard_)) holder_ = Holder::us;
    } else if (owner != 0) {
        holder_ = Holder::another;
        ownerTime_ = CurrentTime;
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
    // A notice handled only after we claimed the clipboard tells of content
    // that ours has already replaced: it is no copy of another program's now.
    if (watcher_->currentOwner() == ownWindow_) return;
    contentChanged(owner == 0 ? Holder::nobody : Holder::another, time);
}

void GdkPasteboard::localContentChanged()
{
    if (writing_ || !gdk_clipboard_is_local(clipboard_)) return;
    contentChanged(Holder::us, CurrentTime);
}

void GdkPasteboard::contentChanged(Holder holder, unsigned long time)
{
    holder_ = holder;
    ownerTime_ = time;
    snapshot_ = {};
    // A cleared clipboard offers nothing new to capture.
    if (holder != Holder::nobody) ++count_;
    if (!waiting_.empty()) startFetch();
    if (holder != Holder::nobody) changed.emit();
}

void GdkPasteboard::fetch(std::function<void()> ready)
{
    waiting_.push_back(std::move(ready));
    if (!fetching()) startFetch();
}

void GdkPasteboard::startFetch()
{
    cancelFetch();
    cancellable_ = g_cancellable_new();
    auto fetch = std::make_shared<Fetch>();
    fetch->generation = generation_;
    fetch->holder = holder_;
    switch (holder_) {
    case Holder::nobody:
        return finish(fetch);
    case Holder::us:
        fetch->snapshot.types = gdkTypes(clipboard_);
        return readContent(std::move(fetch));
    case Holder::another:
        watcher_->requestTargets(ownerTime_, static_cast<unsigned>(readTimeout.count()),
                                 [this, fetch](SelectionWatcher::Targets targets) {
                                     // The watcher drops its request when we cancel, so this fetch is current.
                                     fetch->snapshot.types = targets.value_or(std::vector<std::string>{});
                                     readContent(fetch);
                                 });
        return;
    }
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
    const Step step = fetch->steps[fetch->next];
    auto arrived = [this, fetch, step, alive = std::weak_ptr<bool>(alive_)](std::optional<ClipboardBytes> read) {
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
    };
    if (fetch->holder == Holder::another) {
        X11SelectionReader::shared(displayName_)
            .read("CLIPBOARD", step.type, ownerTime_, limitFor(step.kind), readTimeout, cancellable_, std::move(arrived));
    } else {
        readClipboardBounded(clipboard_, step.type, limitFor(step.kind), readTimeout, cancellable_, std::move(arrived));
    }
}

void GdkPasteboard::finish(const std::shared_ptr<Fetch>& fetch)
{
    snapshot_ = std::move(fetch->snapshot);
    if (cancellable_) g_object_unref(cancellable_);
    cancellable_ = nullptr;
    auto ready = std::move(waiting_);
    waiting_.clear();
    for (auto& callback : ready) callback();
    // Answered: an image of up to 50 MiB is not kept for nothing.
    snapshot_ = {};
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
    wroteOwnContent();
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
    wroteOwnContent();
}

void GdkPasteboard::wroteOwnContent()
{
    holder_ = Holder::us;
    ++count_;
    // A fetch that was under way was for another client's content, which is
    // gone: it ends with nothing rather than read back what we wrote.
    if (!waiting_.empty()) finish(std::make_shared<Fetch>());
}

}  // namespace meridavolt
