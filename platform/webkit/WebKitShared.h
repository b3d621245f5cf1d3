#pragma once

#include <webkit/webkit.h>

#include <filesystem>

namespace meridavolt {

// What every engine of one factory shares: the persistent network session
// and the store of compiled content rule lists.
struct WebKitShared {
    WebKitShared(const std::filesystem::path& dataFolder, const std::filesystem::path& cacheFolder,
                 const std::filesystem::path& contentFilterFolder);
    ~WebKitShared();
    WebKitShared(const WebKitShared&) = delete;
    WebKitShared& operator=(const WebKitShared&) = delete;

    WebKitNetworkSession* networkSession = nullptr;
    WebKitUserContentFilterStore* contentFilterStore = nullptr;
};

}  // namespace meridavolt
