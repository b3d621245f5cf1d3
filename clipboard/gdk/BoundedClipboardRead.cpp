#include "clipboard/gdk/BoundedClipboardRead.h"

#include "clipboard/gdk/X11SelectionReader.h"

#include <gdk/gdk.h>
#include <gdk/x11/gdkx.h>

#include <memory>

namespace meridavolt {

namespace {

constexpr gsize chunkBytes = 256 * 1024;

// Shared by the read's callbacks and its time-out. GDK does not call back a
// conversion that the owner never answers, not even when cancelled, so the
// time-out reports the failure itself; a callback arriving later finds the
// read finished and only lets go of its share.
struct ReadState {
    std::size_t limit = 0;
    StreamFinish finishOpen = nullptr;
    std::function<void(std::optional<ClipboardBytes>)> done;
    GCancellable* cancellable = g_cancellable_new();
    GCancellable* callerCancellable = nullptr;
    gulong forwardHandler = 0;
    guint timeoutSource = 0;
    ClipboardBytes result;

    ~ReadState()
    {
        if (callerCancellable) {
            g_cancellable_disconnect(callerCancellable, forwardHandler);
            g_object_unref(callerCancellable);
        }
        g_object_unref(cancellable);
    }

    bool finished() const { return !done; }

    void finish(std::optional<ClipboardBytes> outcome)
    {
        if (finished()) return;
        auto callback = std::move(done);
        done = nullptr;
        if (timeoutSource) g_source_remove(timeoutSource);
        timeoutSource = 0;
        g_cancellable_cancel(cancellable);
        callback(std::move(outcome));
    }
};

using Shared = std::shared_ptr<ReadState>;

// Takes back the share handed to a GLib callback.
Shared reclaim(gpointer data)
{
    auto* share = static_cast<Shared*>(data);
    Shared state = std::move(*share);
    delete share;
    return state;
}

void readChunk(GInputStream* stream, const Shared& state);

void chunkArrived(GObject* source, GAsyncResult* result, gpointer data)
{
    Shared state = reclaim(data);
    auto* stream = G_INPUT_STREAM(source);
    GBytes* bytes = g_input_stream_read_bytes_finish(stream, result, nullptr);
    if (!bytes || state->finished()) {
        if (bytes) g_bytes_unref(bytes);
        g_object_unref(stream);
        return state->finish(std::nullopt);
    }
    gsize size = 0;
    auto* chunk = static_cast<const char*>(g_bytes_get_data(bytes, &size));
    std::size_t room = state->limit + 1 - state->result.bytes.size();
    state->result.bytes.append(chunk, std::min<std::size_t>(size, room));
    g_bytes_unref(bytes);
    if (size == 0 || state->result.bytes.size() > state->limit) {
        // At the end, or far enough to know it is too large: the rest is never fetched.
        state->result.oversize = state->result.bytes.size() > state->limit;
        g_object_unref(stream);
        return state->finish(std::move(state->result));
    }
    readChunk(stream, state);
}

void readChunk(GInputStream* stream, const Shared& state)
{
    g_input_stream_read_bytes_async(stream, chunkBytes, G_PRIORITY_DEFAULT, state->cancellable, chunkArrived,
                                    new Shared(state));
}

void streamOpened(GObject* source, GAsyncResult* result, gpointer data)
{
    Shared state = reclaim(data);
    GInputStream* stream = state->finishOpen(source, result);
    if (!stream || state->finished()) {
        if (stream) g_object_unref(stream);
        return state->finish(std::nullopt);
    }
    readChunk(stream, state);
}

}  // namespace

void readBounded(const StreamOpen& open, StreamFinish finish, std::size_t limit, std::chrono::milliseconds timeout,
                 GCancellable* cancellable, std::function<void(std::optional<ClipboardBytes>)> done)
{
    auto state = std::make_shared<ReadState>();
    state->limit = limit;
    state->finishOpen = finish;
    state->done = std::move(done);
    if (cancellable) {
        state->callerCancellable = G_CANCELLABLE(g_object_ref(cancellable));
        state->forwardHandler = g_cancellable_connect(
            cancellable, G_CALLBACK(+[](GCancellable*, gpointer ours) { g_cancellable_cancel(G_CANCELLABLE(ours)); }),
            state->cancellable, nullptr);
    }
    state->timeoutSource = g_timeout_add_full(
        G_PRIORITY_DEFAULT, static_cast<guint>(timeout.count()),
        [](gpointer data) -> gboolean {
            auto& read = *static_cast<Shared*>(data);
            read->timeoutSource = 0;
            read->finish(std::nullopt);
            return G_SOURCE_REMOVE;
        },
        new Shared(state), [](gpointer data) { delete static_cast<Shared*>(data); });
    open(state->cancellable, streamOpened, new Shared(state));
}

void readClipboardBounded(GdkClipboard* clipboard, const std::string& type, std::size_t limit,
                          std::chrono::milliseconds timeout, GCancellable* cancellable,
                          std::function<void(std::optional<ClipboardBytes>)> done)
{
    readBounded(
        [clipboard, type](GCancellable* ours, GAsyncReadyCallback opened, gpointer data) {
            const char* types[] = {type.c_str(), nullptr};
            gdk_clipboard_read_async(clipboard, types, G_PRIORITY_DEFAULT, ours, opened, data);
        },
        [](GObject* source, GAsyncResult* result) {
            return gdk_clipboard_read_finish(GDK_CLIPBOARD(source), result, nullptr, nullptr);
        },
        limit, timeout, cancellable, std::move(done));
}

void readDropBounded(GdkDrop* drop, const std::string& type, std::size_t limit, std::chrono::milliseconds timeout,
                     std::function<void(std::optional<ClipboardBytes>)> done)
{
    GdkDisplay* display = gdk_drop_get_display(drop);
    if (GDK_IS_X11_DISPLAY(display) && !gdk_drop_get_drag(drop)) {
        // Another program's drop: GDK would go on receiving it after we stop.
        // The source answers for the drop under way, whatever the time.
        return X11SelectionReader::shared(DisplayString(gdk_x11_display_get_xdisplay(display)))
            .read("XdndSelection", type, CurrentTime, limit, timeout, nullptr, std::move(done));
    }
    readBounded(
        [drop, type](GCancellable* ours, GAsyncReadyCallback opened, gpointer data) {
            const char* types[] = {type.c_str(), nullptr};
            gdk_drop_read_async(drop, types, G_PRIORITY_DEFAULT, ours, opened, data);
        },
        [](GObject* source, GAsyncResult* result) {
            return gdk_drop_read_finish(GDK_DROP(source), result, nullptr, nullptr);
        },
        limit, timeout, nullptr, std::move(done));
}

}  // namespace meridavolt
