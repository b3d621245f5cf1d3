#pragma once

#include <webkit/webkit.h>

#include <filesystem>
#include <optional>

namespace meridavolt {

// What every engine of one factory shares: the persistent network session,
// the store of compiled content rule lists and, when the factory chose one,
// the hardware acceleration policy of the views.
struct WebKitShared {
    WebKitShared(const std::filesystem::path& dataFolder, const std::filesystem::path& cacheFolder,
                 const std::filesystem::path& contentFilterFolder);
    ~WebKitShared();
    WebKitShared(const WebKitShared&) = delete;
    WebKitShared& operator=(const WebKitShared&) = delete;

    WebKitNetworkSession* networkSession = nullptr;
    WebKitUserContentFilterStore* contentFilterStore = nullptr;
    std::optional<WebKitHardwareAccelerationPolicy> accelerationPolicy;
};

}  // namespace meridavolt
