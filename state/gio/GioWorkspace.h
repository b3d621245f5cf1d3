#pragma once

#include "state/Workspace.h"

namespace meridavolt {

// Opens addresses and applications through GIO: the desktop's default
// handler of an address's scheme, the Chrome browser by its desktop entry, and
// the registered handler of the "line" scheme for the messenger. Launch
// completions come back on the main loop. What it starts gets the
// environment the user started us with.
class GioWorkspace final : public Workspace {
public:
    bool openURL(const std::string& url) override;
    bool hasApplication(ExternalApplication application) override;
    void launchApplication(ExternalApplication application, const std::vector<std::string>& urls,
                           LaunchCompletion completion) override;
};

}  // namespace meridavolt
