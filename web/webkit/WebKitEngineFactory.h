#pragma once

#include "web/WebEngine.h"

#include <filesystem>
#include <memory>

namespace meridavolt {

struct WebKitShared;

// Makes WebKitGTK engines that all share one persistent network session:
// cookies, sign-ins and caches are common to every service and survive a
// restart. Engines keep the shared session alive, so the factory may go first.
class WebKitEngineFactory {
public:
    struct Folders {
        std::filesystem::path data;            // website data and the cookie database
        std::filesystem::path cache;           // the network cache
        std::filesystem::path contentFilters;  // compiled content rule lists
    };
    // Under $XDG_DATA_HOME/MERIDAVOLT and $XDG_CACHE_HOME/MERIDAVOLT.
    static Folders defaultFolders();

    // never: web views draw without accelerated compositing, for displays
    // whose OpenGL runs in software.
    enum class Acceleration { toolkitDefault, never };

    explicit WebKitEngineFactory(const Folders& folders = defaultFolders(),
                                 Acceleration acceleration = Acceleration::toolkitDefault);
    ~WebKitEngineFactory();
    WebKitEngineFactory(const WebKitEngineFactory&) = delete;
    WebKitEngineFactory& operator=(const WebKitEngineFactory&) = delete;

    std::unique_ptr<WebEngine> makeEngine();
    // makeEngine as a function, for whoever creates sessions; it keeps the shared session alive.
    WebEngineFactory engineFactory();

private:
    std::shared_ptr<WebKitShared> shared_;
};

}  // namespace meridavolt
