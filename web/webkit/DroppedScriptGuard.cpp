#include "web/webkit/DroppedScriptGuard.h"

#include "clipboard/gdk/BoundedClipboardRead.h"
#include "web/DroppedLinks.h"

#include <gtk/gtk.h>

#include <chrono>
#include <memory>

namespace meridavolt {

namespace {

// A list of some ten thousand files; a larger one is refused whole.
constexpr std::size_t listLimit = 1 << 20;
constexpr std::chrono::seconds readTimeout{5};

struct LinkFormat {
    const char* type;
    bool (*runsScript)(std::string_view);
};

const LinkFormat linkFormats[] = {{"text/uri-list", DroppedLinks::uriListRunsScript},
                                  {"_NETSCAPE_URL", DroppedLinks::netscapeURLRunsScript}};

// What is known of one drop's links, read while the drag hovers.
struct DropCheck {
    explicit DropCheck(GdkDrop* drop) : drop(GDK_DROP(g_object_ref(drop))) {}
    ~DropCheck() { g_object_unref(drop); }
    DropCheck(const DropCheck&) = delete;
    DropCheck& operator=(const DropCheck&) = delete;

    GdkDrop* const drop;
    int unanswered = 0;
    bool refused = false;  // a script address, or a list too large or unreadable
};

struct Guard {
    std::shared_ptr<DropCheck> current;
};

void startReading(Guard& guard, GdkDrop* drop)
{
    if (guard.current && guard.current->drop == drop) return;  // the drag came back in
    auto check = std::make_shared<DropCheck>(drop);
    guard.current = check;
    GdkContentFormats* formats = gdk_drop_get_formats(drop);
    for (const LinkFormat& format : linkFormats) {
        if (!gdk_content_formats_contain_mime_type(formats, format.type)) continue;
        ++check->unanswered;
        readDropBounded(drop, format.type, listLimit, readTimeout,
                        [weak = std::weak_ptr<DropCheck>(check), format](std::optional<ClipboardBytes> read) {
                            auto check = weak.lock();
                            if (!check) return;
                            --check->unanswered;
                            if (!read || read->oversize || format.runsScript(read->bytes)) check->refused = true;
                        });
    }
}

GdkDragAction entered(GtkDropTargetAsync*, GdkDrop* drop, double, double, gpointer guard)
{
    startReading(*static_cast<Guard*>(guard), drop);
    return GdkDragAction(0);  // the view's own target says what the drop would do
}

gboolean dropped(GtkDropTargetAsync*, GdkDrop* drop, double, double, gpointer data)
{
    auto& guard = *static_cast<Guard*>(data);
    const auto check = std::move(guard.current);
    if (check && check->drop == drop && check->unanswered == 0 && !check->refused) return FALSE;
    gdk_drop_finish(drop, GdkDragAction(0));
    return TRUE;
}

}  // namespace

void guardDroppedScriptAddresses(GtkWidget* webView)
{
    GdkContentFormatsBuilder* builder = gdk_content_formats_builder_new();
    for (const LinkFormat& format : linkFormats) gdk_content_formats_builder_add_mime_type(builder, format.type);
    GdkContentFormats* formats = gdk_content_formats_builder_free_to_formats(builder);
    GtkDropTargetAsync* target =
        gtk_drop_target_async_new(formats, GdkDragAction(GDK_ACTION_COPY | GDK_ACTION_MOVE | GDK_ACTION_LINK));
    // Before the view's own target, which sees every event the guard lets pass.
    gtk_event_controller_set_propagation_phase(GTK_EVENT_CONTROLLER(target), GTK_PHASE_CAPTURE);
    auto* guard = new Guard;
    g_object_set_data_full(G_OBJECT(target), "meridavolt-drop-guard", guard,
                           [](gpointer data) { delete static_cast<Guard*>(data); });
    g_signal_connect(target, "drag-enter", G_CALLBACK(entered), guard);
    g_signal_connect(target, "drop", G_CALLBACK(dropped), guard);
    gtk_widget_add_controller(webView, GTK_EVENT_CONTROLLER(target));
}

}  // namespace meridavolt
