#include "state/gio/GioWorkspace.h"

#include "platform/gdk/UserLaunchContext.h"

#include <gio/gio.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace meridavolt {

namespace {

// Chrome's desktop entry under the names its packages use.
constexpr const char* chromeDesktopIDs[] = {"google-chrome.desktop", "com.google.Chrome.desktop"};
constexpr const char* messengerScheme = "line";

struct ObjectDeleter {
    void operator()(gpointer object) const { g_object_unref(object); }
};
using AppInfo = std::unique_ptr<GAppInfo, ObjectDeleter>;
using LaunchContext = std::unique_ptr<GAppLaunchContext, ObjectDeleter>;

AppInfo findApplication(ExternalApplication application)
{
    if (application == ExternalApplication::messenger) {
        return AppInfo(g_app_info_get_default_for_uri_scheme(messengerScheme));
    }
    GList* installed = g_app_info_get_all();
    AppInfo found;
    for (const char* wanted : chromeDesktopIDs) {
        for (GList* item = installed; item && !found; item = item->next) {
            const char* id = g_app_info_get_id(G_APP_INFO(item->data));
            if (id && std::string_view(id) == wanted) found = AppInfo(G_APP_INFO(g_object_ref(item->data)));
        }
    }
    g_list_free_full(installed, g_object_unref);
    return found;
}

LaunchContext launchContext() { return LaunchContext(newUserLaunchContext()); }

// The addresses stay alive until the launch has finished with them.
struct LaunchRequest {
    std::vector<std::string> urls;
    GList* uriList = nullptr;
    Workspace::LaunchCompletion completion;

    ~LaunchRequest() { g_list_free(uriList); }
};

void finishLaunch(GObject* source, GAsyncResult* result, gpointer data)
{
    std::unique_ptr<LaunchRequest> request(static_cast<LaunchRequest*>(data));
    GError* error = nullptr;
    if (g_app_info_launch_uris_finish(G_APP_INFO(source), result, &error)) {
        request->completion(std::nullopt);
        return;
    }
    std::string description = error ? error->message : "";
    g_clear_error(&error);
    request->completion(description);
}

}  // namespace

bool GioWorkspace::openURL(const std::string& url)
{
    LaunchContext context = launchContext();
    GError* error = nullptr;
    bool opened = g_app_info_launch_default_for_uri(url.c_str(), context.get(), &error);
    g_clear_error(&error);
    return opened;
}

bool GioWorkspace::hasApplication(ExternalApplication application)
{
    return findApplication(application) != nullptr;
}

void GioWorkspace::launchApplication(ExternalApplication application, const std::vector<std::string>& urls,
                                     LaunchCompletion completion)
{
    AppInfo info = findApplication(application);
    if (!info) {
        completion(std::string("The application is not installed."));
        return;
    }
    auto* request = new LaunchRequest{urls, nullptr, std::move(completion)};
    for (auto it = request->urls.rbegin(); it != request->urls.rend(); ++it) {
        request->uriList = g_list_prepend(request->uriList, const_cast<char*>(it->c_str()));
    }
    LaunchContext context = launchContext();
    g_app_info_launch_uris_async(info.get(), request->uriList, context.get(), nullptr, finishLaunch, request);
}

}  // namespace meridavolt
