#pragma once

#include "state/Workspace.h"

#include <string>
#include <vector>

namespace meridavolt::desktoptest {

// The desktop's workspace as a record: every address handed to it, and no
// application installed.
class RecordingWorkspace final : public Workspace {
public:
    bool openURL(const std::string& url) override
    {
        opened.push_back(url);
        return true;
    }
    bool hasApplication(ExternalApplication) override { return false; }
    void launchApplication(ExternalApplication, const std::vector<std::string>&, LaunchCompletion completion) override
    {
        completion(std::nullopt);
    }

    std::vector<std::string> opened;
};

}  // namespace meridavolt::desktoptest
