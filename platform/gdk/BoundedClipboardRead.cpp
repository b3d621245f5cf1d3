#include "platform/gdk/BoundedClipboardRead.h"

#include <gdk/gdk.h>

namespace meridavolt {

namespace {

constexpr gsize chunkBytes = 256 * 1024;

struct ReadState {
    std::size_t limit = 0;
    std::function<void(std::optional<ClipboardBytes>)> done;
    GCancellable* cancellable = nullptr;  // ours: cancelled by the caller's or by the time-out
    gulong forwardHandler = 0;
    GCancellable* callerCancellable = nullptr;
    guint timeoutSource = 0;
    ClipboardBytes result;

    ~ReadState()
    {
        if (timeoutSource) g_source_remove(timeoutSource);
        if (callerCancellable) {
            g_cancellable_disconnect(callerCancellable, forwardHandler);
            g_object_unref(callerCancellable);
        }
        g_object_unref(cancellable);
    }

    void finish(std::optional<ClipboardBytes> outcome)
    {
        auto callback = std::move(done);
        delete this;
        if (callback) callback(std::move(outcome));
    }
};

void readChunk(GInputStream* stream, ReadState* state);

void chunkArrived(GObject* source, GAsyncResult* result, gpointer data)
{
    auto* stream = G_INPUT_STREAM(source);
    auto* state = static_cast<ReadState*>(data);
    GBytes* bytes = g_input_stream_read_bytes_finish(stream, result, nullptr);
    if (!bytes) {
        g_object_unref(stream);
        return state->finish(std::nullopt);
    }
    gsize size = 0;
    auto* chunk = static_cast<const char*>(g_bytes_get_data(bytes, &size));
    if (size == 0) {
        g_bytes_unref(bytes);
        g_object_unref(stream);
        return state->finish(std::move(state->result));
    }
    std::size_t room = state->limit + 1 - state->result.bytes.size();
    state->result.bytes.append(chunk, std::min<std::size_t>(size, room));
    g_bytes_unref(bytes);
    if (state->result.bytes.size() > state->limit) {
        // Enough to know it is too large; the rest is never fetched.
        state->result.oversize = true;
        g_cancellable_cancel(state->cancellable);
        g_object_unref(stream);
        return state->finish(std::move(state->result));
    }
    readChunk(stream, state);
}

void readChunk(GInputStream* stream, ReadState* state)
{
    g_input_stream_read_bytes_async(stream, chunkBytes, G_PRIORITY_DEFAULT, state->cancellable, chunkArrived, state);
}

void streamOpened(GObject* source, GAsyncResult* result, gpointer data)
{
    auto* state = static_cast<ReadState*>(data);
    GInputStream* stream = gdk_clipboard_read_finish(GDK_CLIPBOARD(source), result, nullptr, nullptr);
    if (!stream) return state->finish(std::nullopt);
    readChunk(stream, state);
}

}  // namespace

void readClipboardBounded(GdkClipboard* clipboard, const std::string& type, std::size_t limit,
                          std::chrono::milliseconds timeout, GCancellable* cancellable,
                          std::function<void(std::optional<ClipboardBytes>)> done)
{
    auto* state = new ReadState;
    state->limit = limit;
    state->done = std::move(done);
    state->cancellable = g_cancellable_new();
    if (cancellable) {
        state->callerCancellable = G_CANCELLABLE(g_object_ref(cancellable));
        state->forwardHandler = g_cancellable_connect(
            cancellable, G_CALLBACK(+[](GCancellable*, gpointer ours) { g_cancellable_cancel(G_CANCELLABLE(ours)); }),
            state->cancellable, nullptr);
    }
    state->timeoutSource = g_timeout_add(
        static_cast<guint>(timeout.count()),
        [](gpointer data) -> gboolean {
            auto* read = static_cast<ReadState*>(data);
            read->timeoutSource = 0;
            g_cancellable_cancel(read->cancellable);
            return G_SOURCE_REMOVE;
        },
        state);
    const char* types[] = {type.c_str(), nullptr};
    gdk_clipboard_read_async(clipboard, types, G_PRIORITY_DEFAULT, state->cancellable, streamOpened, state);
}

}  // namespace meridavolt
