#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace meridavolt {

// Applications that some services are handed to by name rather than by address.
enum class ExternalApplication {
    chrome,     // the Chrome browser
    messenger,  // the LINE messaging application
};

// The desktop's side of opening things outside the window: other
// applications and the default handlers of address schemes. The real one is
// state/gio/GioWorkspace; tests use a fake.
class Workspace {
public:
    // Runs on the main thread once the launch has been tried: the desktop's
    // description of the error, or none when it started.
    using LaunchCompletion = std::function<void(std::optional<std::string> errorDescription)>;

    virtual ~Workspace() = default;

    // Opens an address with the handler the desktop has for its scheme.
    // False when no handler takes it.
    virtual bool openURL(const std::string& url) = 0;

    // Whether the application is installed.
    virtual bool hasApplication(ExternalApplication application) = 0;

    // Starts the application with these addresses (none starts it alone).
    virtual void launchApplication(ExternalApplication application, const std::vector<std::string>& urls,
                                   LaunchCompletion completion) = 0;
};

}  // namespace meridavolt
