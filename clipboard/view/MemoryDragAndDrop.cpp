#include "clipboard/view/MemoryDragAndDrop.h"

#include "clipboard/ClipboardDrag.h"
#include "clipboard/gdk/GdkDrops.h"

#include <glib/gstdio.h>
#include <gtk/gtk.h>
#include <gtkmm/dragsource.h>
#include <gtkmm/widgetpaintable.h>

#include <filesystem>
#include <fstream>

namespace meridavolt {

namespace {

// Each dragged image gets a folder of its own there, so its file keeps the
// suggested name; only the latest drag's file is kept.
std::filesystem::path draggedImagesFolder()
{
    return std::filesystem::path(g_get_user_cache_dir()) / "MERIDAVOLT" / "dragged-images";
}

std::filesystem::path& latestDragFolder()
{
    static std::filesystem::path latest;
    return latest;
}

// The file a receiver that saves files copies; nothing when it cannot be written.
std::optional<std::string> draggedImageURI(const SharedBytes& png)
{
    std::error_code error;
    if (!latestDragFolder().empty()) std::filesystem::remove_all(latestDragFolder(), error);
    latestDragFolder().clear();
    const auto parent = draggedImagesFolder();
    if (g_mkdir_with_parents(parent.c_str(), 0700) != 0) return std::nullopt;
    std::string pattern = (parent / "drag-XXXXXX").string();
    if (!g_mkdtemp_full(pattern.data(), 0700)) return std::nullopt;
    latestDragFolder() = pattern;
    const auto file = latestDragFolder() / draggedImageName;
    if (!g_file_set_contents(file.c_str(), png.data(), static_cast<gssize>(png.size()), nullptr)) return std::nullopt;
    gchar* uri = g_filename_to_uri(file.c_str(), nullptr, nullptr);
    if (!uri) return std::nullopt;
    std::string list = std::string(uri) + "\r\n";
    g_free(uri);
    return list;
}

GdkContentProvider* bytesProvider(const char* type, const std::string& bytes)
{
    GBytes* data = g_bytes_new(bytes.data(), bytes.size());
    GdkContentProvider* provider = gdk_content_provider_new_for_bytes(type, data);
    g_bytes_unref(data);
    return provider;
}

GdkContentProvider* sharedBytesProvider(const char* type, const SharedBytes& bytes)
{
    // The drag keeps its own reference to the shared bytes: no copy.
    auto* kept = new SharedBytes(bytes);
    GBytes* data = g_bytes_new_with_free_func(kept->data(), kept->size(),
                                              [](gpointer owned) { delete static_cast<SharedBytes*>(owned); }, kept);
    GdkContentProvider* provider = gdk_content_provider_new_for_bytes(type, data);
    g_bytes_unref(data);
    return provider;
}

Glib::RefPtr<Gdk::ContentProvider> contentFor(const ClipboardEntry& entry)
{
    const DragOffer offer = dragProvider(entry);
    std::vector<GdkContentProvider*> providers;
    if (!offer.memoryDrag.empty()) {
        GValue value = G_VALUE_INIT;
        g_value_init(&value, memoryDragGType());
        g_value_set_boxed(&value, &offer.memoryDrag);
        providers.push_back(gdk_content_provider_new_for_value(&value));
        g_value_unset(&value);
    }
    if (offer.png) {
        providers.push_back(sharedBytesProvider("image/png", *offer.png));
        if (auto list = draggedImageURI(*offer.png)) providers.push_back(bytesProvider("text/uri-list", *list));
    }
    if (offer.text) providers.push_back(gdk_content_provider_new_typed(G_TYPE_STRING, offer.text->c_str()));
    return Glib::wrap(gdk_content_provider_new_union(providers.data(), providers.size()));
}

// The drop target's state, shared by its signal handlers.
struct DropTarget {
    ClipboardStore* store;
    std::function<std::optional<std::string>()> before;
    std::function<void(bool)> hovering;

    void hover(bool on) const
    {
        if (hovering) hovering(on);
    }
};

constexpr const char* dropTargetKey = "meridavolt-drop-target";

void renewAfterDrop(GtkEventController* controller);

gboolean acceptDrop(GtkDropTargetAsync*, GdkDrop* drop, gpointer)
{
    return (gdk_drop_get_actions(drop) & GDK_ACTION_COPY) && offersAcceptedType(dropTypes(drop));
}

GdkDragAction dragEntered(GtkDropTargetAsync*, GdkDrop*, double, double, gpointer data)
{
    static_cast<DropTarget*>(data)->hover(true);
    return GDK_ACTION_COPY;
}

GdkDragAction dragMoved(GtkDropTargetAsync*, GdkDrop*, double, double, gpointer)
{
    return GDK_ACTION_COPY;
}

void dragLeft(GtkDropTargetAsync*, GdkDrop*, gpointer data)
{
    static_cast<DropTarget*>(data)->hover(false);
}

gboolean dropped(GtkDropTargetAsync* controller, GdkDrop* drop, double, double, gpointer data)
{
    auto* target = static_cast<DropTarget*>(data);
    target->hover(false);
    renewAfterDrop(GTK_EVENT_CONTROLLER(controller));
    // Taken now: the widget (a row, say) may be gone when the reads end.
    ClipboardStore* store = target->store;
    std::optional<std::string> before = target->before ? target->before() : std::nullopt;
    g_object_ref(drop);
    readDropItems(drop, [drop, store, before](std::vector<std::shared_ptr<DropItem>> items) {
        // Everything is read: the source may let go of its data now, before
        // any image is prepared.
        const bool taken = store->acceptDrop(std::move(items), before);
        gdk_drop_finish(drop, taken ? GDK_ACTION_COPY : GdkDragAction(0));
        g_object_unref(drop);
    });
    return TRUE;
}

GtkEventController* dropController(DropTarget* state)
{
    GtkDropTargetAsync* controller = gtk_drop_target_async_new(nullptr, GDK_ACTION_COPY);
    g_object_set_data_full(G_OBJECT(controller), dropTargetKey, state,
                           [](gpointer owned) { delete static_cast<DropTarget*>(owned); });
    g_signal_connect(controller, "accept", G_CALLBACK(acceptDrop), state);
    g_signal_connect(controller, "drag-enter", G_CALLBACK(dragEntered), state);
    g_signal_connect(controller, "drag-motion", G_CALLBACK(dragMoved), state);
    g_signal_connect(controller, "drag-leave", G_CALLBACK(dragLeft), state);
    g_signal_connect(controller, "drop", G_CALLBACK(dropped), state);
    return GTK_EVENT_CONTROLLER(controller);
}

// GTK tells a drop target that its drag is over only when a drag leaves it,
// not after a drop from another program: the target would keep that drop as
// its current one and its widget the toolkit's drop-active look until some
// later drag crosses it. So a fresh target takes its place once the drop's
// handler has returned.
void renewAfterDrop(GtkEventController* controller)
{
    g_idle_add_full(
        G_PRIORITY_DEFAULT,
        [](gpointer data) -> gboolean {
            auto* spent = static_cast<GtkEventController*>(data);
            // Gone with its widget: nothing to renew.
            GtkWidget* widget = gtk_event_controller_get_widget(spent);
            if (!widget) return G_SOURCE_REMOVE;
            auto* state = static_cast<DropTarget*>(g_object_steal_data(G_OBJECT(spent), dropTargetKey));
            gtk_widget_remove_controller(widget, spent);
            gtk_widget_add_controller(widget, dropController(state));
            gtk_widget_unset_state_flags(widget, GTK_STATE_FLAG_DROP_ACTIVE);
            return G_SOURCE_REMOVE;
        },
        g_object_ref(controller), g_object_unref);
}

}  // namespace

void attachEntryDragSource(Gtk::Widget& widget, std::function<std::optional<ClipboardEntry>()> entry)
{
    auto source = Gtk::DragSource::create();
    source->set_actions(Gdk::DragAction::COPY);
    auto* source_ = source.get();
    source->signal_prepare().connect(
        [&widget, source_, entry = std::move(entry)](double x, double y) -> Glib::RefPtr<Gdk::ContentProvider> {
            auto dragged = entry();
            if (!dragged) return {};
            source_->set_icon(Gtk::WidgetPaintable::create(widget), int(x), int(y));
            return contentFor(*dragged);
        },
        false);
    widget.add_controller(source);
}

void attachMemoryDropTarget(Gtk::Widget& widget, ClipboardStore& store,
                            std::function<std::optional<std::string>()> before, std::function<void(bool)> hovering)
{
    gtk_widget_add_controller(widget.gobj(), dropController(new DropTarget{&store, std::move(before), std::move(hovering)}));
}

void clearDraggedImages()
{
    std::error_code error;
    std::filesystem::remove_all(draggedImagesFolder(), error);
}

}  // namespace meridavolt
