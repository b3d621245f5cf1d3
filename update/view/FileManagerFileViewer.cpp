#include "update/view/FileManagerFileViewer.h"

#include "platform/gdk/UserLaunchContext.h"

#include <gio/gio.h>

#include <string>

namespace meridavolt {

namespace {

struct Reveal {
    std::string fileURI;
    std::string folderURI;
};

std::string fileURI(const std::filesystem::path& path)
{
    gchar* uri = g_filename_to_uri(path.c_str(), nullptr, nullptr);
    std::string text = uri ? uri : "";
    g_free(uri);
    return text;
}

void openFolder(Reveal* reveal)
{
    if (!reveal->folderURI.empty()) {
        GAppLaunchContext* context = newUserLaunchContext();
        g_app_info_launch_default_for_uri_async(reveal->folderURI.c_str(), context, nullptr, nullptr, nullptr);
        g_object_unref(context);
    }
    delete reveal;
}

void showItemsAnswered(GObject* connection, GAsyncResult* result, gpointer data)
{
    auto* reveal = static_cast<Reveal*>(data);
    GError* error = nullptr;
    GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(connection), result, &error);
    if (reply) {
        g_variant_unref(reply);
        delete reveal;
        return;
    }
    g_error_free(error);
    openFolder(reveal);
}

void sessionBusReady(GObject*, GAsyncResult* result, gpointer data)
{
    auto* reveal = static_cast<Reveal*>(data);
    GError* error = nullptr;
    GDBusConnection* bus = g_bus_get_finish(result, &error);
    if (!bus) {
        g_error_free(error);
        openFolder(reveal);
        return;
    }
    const gchar* items[] = {reveal->fileURI.c_str(), nullptr};
    g_dbus_connection_call(bus, "org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
                           "org.freedesktop.FileManager1", "ShowItems", g_variant_new("(^ass)", items, ""), nullptr,
                           G_DBUS_CALL_FLAGS_NONE, 10'000, nullptr, showItemsAnswered, reveal);
    g_object_unref(bus);
}

}  // namespace

void FileManagerFileViewer::revealFile(const std::filesystem::path& file)
{
    auto* reveal = new Reveal{fileURI(file), fileURI(file.parent_path())};
    if (reveal->fileURI.empty()) {
        openFolder(reveal);
        return;
    }
    g_bus_get(G_BUS_TYPE_SESSION, nullptr, sessionBusReady, reveal);
}

}  // namespace meridavolt
