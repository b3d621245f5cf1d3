#include "web/webkit/WebKitEngineFactory.h"

#include "platform/DataFolder.h"
#include "web/webkit/WebKitEngine.h"
#include "web/webkit/WebKitShared.h"

namespace meridavolt {

namespace {

// Nothing is ever saved to disk behind the user's back: a response the view
// cannot show is ignored by the engine, and any download that still starts
// (a link with a download attribute) is cancelled here.
void cancelDownload(WebKitNetworkSession*, WebKitDownload* download, gpointer)
{
    webkit_download_cancel(download);
}

}  // namespace

WebKitShared::WebKitShared(const std::filesystem::path& dataFolder, const std::filesystem::path& cacheFolder,
                           const std::filesystem::path& contentFilterFolder)
{
    networkSession = webkit_network_session_new(dataFolder.c_str(), cacheFolder.c_str());
    // Without persistent storage every cookie, and so every sign-in, is lost at quit.
    const auto cookies = dataFolder / "cookies.sqlite";
    webkit_cookie_manager_set_persistent_storage(webkit_network_session_get_cookie_manager(networkSession),
                                                 cookies.c_str(), WEBKIT_COOKIE_PERSISTENT_STORAGE_SQLITE);
    g_signal_connect(networkSession, "download-started", G_CALLBACK(cancelDownload), nullptr);
    contentFilterStore = webkit_user_content_filter_store_new(contentFilterFolder.c_str());
}

WebKitShared::~WebKitShared()
{
    g_object_unref(contentFilterStore);
    g_object_unref(networkSession);
}

WebKitEngineFactory::Folders WebKitEngineFactory::defaultFolders()
{
    return Folders{applicationDataFolder() / "WebKit", applicationCacheFolder() / "WebKit",
                   applicationCacheFolder() / "ContentFilters"};
}

WebKitEngineFactory::WebKitEngineFactory(const Folders& folders, Acceleration acceleration)
    : shared_(std::make_shared<WebKitShared>(folders.data, folders.cache, folders.contentFilters))
{
    if (acceleration == Acceleration::never) shared_->accelerationPolicy = WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER;
}

WebKitEngineFactory::~WebKitEngineFactory() = default;

std::unique_ptr<WebEngine> WebKitEngineFactory::makeEngine() { return std::make_unique<WebKitEngine>(shared_); }

WebEngineFactory WebKitEngineFactory::engineFactory()
{
    return [shared = shared_]() -> std::unique_ptr<WebEngine> { return std::make_unique<WebKitEngine>(shared); };
}

}  // namespace meridavolt
