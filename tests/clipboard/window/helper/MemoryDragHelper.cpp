// Another application for the drag-and-drop tests: a window of its own
// process that either drags something out or receives a drop, and reports
// on its standard output. Usage:
//   memory-drag-helper text <text>        drags the text
//   memory-drag-helper uris <list-file>   drags the text/uri-list in the file
//   memory-drag-helper receive            takes any drop and reports it
//   memory-drag-helper endless <type>     drags <type> whose data never ends
//   memory-drag-helper silent <type>      drags <type> whose data never comes
//   memory-drag-helper copy-endless <type> copies <type> whose data never ends
// It first prints "window <X id>", then "drag-end <action>" after a drag or
// "formats <types…>", "png <bytes> <width>x<height>", "uris <list>" and
// "received" after a drop.
#include <gdk/x11/gdkx.h>
#include <gtk/gtk.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string gMode;
std::string gArgument;

void say(const std::string& line)
{
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

// A source that misbehaves: its data streams without end, or never comes.
struct HostileProvider {
    GdkContentProvider parent;
};
struct HostileProviderClass {
    GdkContentProviderClass parent;
};
G_DEFINE_TYPE(HostileProvider, hostile_provider, GDK_TYPE_CONTENT_PROVIDER)

GdkContentFormats* hostileFormats(GdkContentProvider*)
{
    const char* types[] = {gArgument.c_str()};
    return gdk_content_formats_new(types, 1);
}

const std::string gEndlessChunk(64 * 1024, 'a');

void writeMore(GOutputStream* stream, GTask* task);

void chunkWritten(GObject* stream, GAsyncResult* result, gpointer task)
{
    GError* error = nullptr;
    if (g_output_stream_write_finish(G_OUTPUT_STREAM(stream), result, &error) < 0) {
        g_task_return_error(G_TASK(task), error);
        g_object_unref(task);
        return;
    }
    writeMore(G_OUTPUT_STREAM(stream), G_TASK(task));
}

void writeMore(GOutputStream* stream, GTask* task)
{
    g_output_stream_write_async(stream, gEndlessChunk.data(), gEndlessChunk.size(), G_PRIORITY_DEFAULT, nullptr,
                                chunkWritten, task);
}

void hostileWrite(GdkContentProvider* provider, const char*, GOutputStream* stream, int, GCancellable* cancellable,
                  GAsyncReadyCallback callback, gpointer data)
{
    GTask* task = g_task_new(provider, cancellable, callback, data);
    if (gMode == "endless" || gMode == "copy-endless") return writeMore(stream, task);
    // Silent: the task is kept and never answered.
}

gboolean hostileFinish(GdkContentProvider*, GAsyncResult* result, GError** error)
{
    return g_task_propagate_boolean(G_TASK(result), error);
}

void hostile_provider_class_init(HostileProviderClass* klass)
{
    klass->parent.ref_formats = hostileFormats;
    klass->parent.write_mime_type_async = hostileWrite;
    klass->parent.write_mime_type_finish = hostileFinish;
}

void hostile_provider_init(HostileProvider*) {}

GdkContentProvider* prepare(GtkDragSource*, double, double, gpointer)
{
    if (gMode == "endless" || gMode == "silent") {
        return GDK_CONTENT_PROVIDER(g_object_new(hostile_provider_get_type(), nullptr));
    }
    if (gMode == "text") return gdk_content_provider_new_typed(G_TYPE_STRING, gArgument.c_str());
    std::ifstream file(gArgument, std::ios::binary);
    std::stringstream list;
    list << file.rdbuf();
    const std::string bytes = list.str();
    GBytes* data = g_bytes_new(bytes.data(), bytes.size());
    GdkContentProvider* provider = gdk_content_provider_new_for_bytes("text/uri-list", data);
    g_bytes_unref(data);
    return provider;
}

void dragEnded(GtkDragSource*, GdkDrag* drag, gboolean, gpointer)
{
    const GdkDragAction action = gdk_drag_get_selected_action(drag);
    say(std::string("drag-end ") + (action == GDK_ACTION_COPY ? "copy" : action == GDK_ACTION_MOVE ? "move" : "none"));
}

struct Reception {
    GdkDrop* drop;
    std::vector<std::string> toRead{"image/png", "text/uri-list"};
    std::size_t next = 0;
    std::string pending;
};

void readNext(Reception* reception);

void report(const std::string& type, const std::string& bytes)
{
    if (type == "image/png") {
        GdkPixbufLoader* loader = gdk_pixbuf_loader_new_with_type("png", nullptr);
        const bool ok = gdk_pixbuf_loader_write(loader, reinterpret_cast<const guchar*>(bytes.data()), bytes.size(),
                                                nullptr) &&
                        gdk_pixbuf_loader_close(loader, nullptr);
        GdkPixbuf* pixbuf = ok ? gdk_pixbuf_loader_get_pixbuf(loader) : nullptr;
        say("png " + std::to_string(bytes.size()) + " " +
            (pixbuf ? std::to_string(gdk_pixbuf_get_width(pixbuf)) + "x" + std::to_string(gdk_pixbuf_get_height(pixbuf))
                    : std::string("invalid")));
        g_object_unref(loader);
        return;
    }
    std::string oneLine = bytes;
    for (auto& c : oneLine)
        if (c == '\r' || c == '\n') c = ' ';
    say("uris " + oneLine);
}

// The stream is fed by the main loop: it is read without blocking.
void spliced(GObject* source, GAsyncResult* result, gpointer data)
{
    auto* reception = static_cast<Reception*>(data);
    auto* memory = G_MEMORY_OUTPUT_STREAM(source);
    if (g_output_stream_splice_finish(G_OUTPUT_STREAM(source), result, nullptr) >= 0) {
        report(reception->pending, std::string(static_cast<const char*>(g_memory_output_stream_get_data(memory)),
                                               g_memory_output_stream_get_data_size(memory)));
    }
    g_object_unref(memory);
    readNext(reception);
}

void typeRead(GObject* source, GAsyncResult* result, gpointer data)
{
    auto* reception = static_cast<Reception*>(data);
    GInputStream* stream = gdk_drop_read_finish(GDK_DROP(source), result, nullptr, nullptr);
    if (!stream) return readNext(reception);
    GOutputStream* memory = g_memory_output_stream_new_resizable();
    g_output_stream_splice_async(memory, stream, G_OUTPUT_STREAM_SPLICE_CLOSE_SOURCE, G_PRIORITY_DEFAULT, nullptr,
                                 spliced, reception);
    g_object_unref(stream);
}

void readNext(Reception* reception)
{
    GdkContentFormats* formats = gdk_drop_get_formats(reception->drop);
    while (reception->next < reception->toRead.size()) {
        reception->pending = reception->toRead[reception->next++];
        if (!gdk_content_formats_contain_mime_type(formats, reception->pending.c_str())) continue;
        const char* types[] = {reception->pending.c_str(), nullptr};
        gdk_drop_read_async(reception->drop, types, G_PRIORITY_DEFAULT, nullptr, typeRead, reception);
        return;
    }
    gdk_drop_finish(reception->drop, GDK_ACTION_COPY);
    g_object_unref(reception->drop);
    delete reception;
    say("received");
}

gboolean dropped(GtkDropTargetAsync*, GdkDrop* drop, double, double, gpointer)
{
    std::string line = "formats";
    gsize count = 0;
    const char* const* types = gdk_content_formats_get_mime_types(gdk_drop_get_formats(drop), &count);
    for (gsize i = 0; i < count; ++i) line += std::string(" ") + types[i];
    gsize gtypeCount = 0;
    const GType* gtypes = gdk_content_formats_get_gtypes(gdk_drop_get_formats(drop), &gtypeCount);
    for (gsize i = 0; i < gtypeCount; ++i) line += std::string(" gtype:") + g_type_name(gtypes[i]);
    say(line);
    auto* reception = new Reception;
    reception->drop = GDK_DROP(g_object_ref(drop));
    readNext(reception);
    return TRUE;
}

void activate(GtkApplication* application, gpointer)
{
    GtkWidget* window = gtk_application_window_new(application);
    gtk_window_set_default_size(GTK_WINDOW(window), 300, 200);
    GtkWidget* area = gtk_label_new(gMode == "receive" ? "drop here" : "drag me");
    gtk_window_set_child(GTK_WINDOW(window), area);
    if (gMode == "receive") {
        GtkDropTargetAsync* target = gtk_drop_target_async_new(nullptr, GDK_ACTION_COPY);
        g_signal_connect(target, "drop", G_CALLBACK(dropped), nullptr);
        gtk_widget_add_controller(area, GTK_EVENT_CONTROLLER(target));
    } else {
        GtkDragSource* source = gtk_drag_source_new();
        gtk_drag_source_set_actions(source, GdkDragAction(GDK_ACTION_COPY | GDK_ACTION_MOVE));
        g_signal_connect(source, "prepare", G_CALLBACK(prepare), nullptr);
        g_signal_connect(source, "drag-end", G_CALLBACK(dragEnded), nullptr);
        gtk_widget_add_controller(area, GTK_EVENT_CONTROLLER(source));
    }
    if (gMode == "copy-endless") {
        GdkContentProvider* endless = GDK_CONTENT_PROVIDER(g_object_new(hostile_provider_get_type(), nullptr));
        gdk_clipboard_set_content(gtk_widget_get_clipboard(window), endless);
        g_object_unref(endless);
    }
    gtk_window_present(GTK_WINDOW(window));
    g_timeout_add(200, [](gpointer w) -> gboolean {
        GdkSurface* surface = gtk_native_get_surface(GTK_NATIVE(w));
        say("window " + std::to_string(gdk_x11_surface_get_xid(surface)));
        return G_SOURCE_REMOVE;
    }, window);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) return 2;
    gMode = argv[1];
    if (argc > 2) gArgument = argv[2];
    GtkApplication* application = gtk_application_new(nullptr, G_APPLICATION_NON_UNIQUE);
    g_signal_connect(application, "activate", G_CALLBACK(activate), nullptr);
    char* noArguments[] = {argv[0], nullptr};
    const int status = g_application_run(G_APPLICATION(application), 1, noArguments);
    g_object_unref(application);
    return status;
}
