#pragma once

#include "state/Workspace.h"

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace meridavolt::fakes {

// A desktop that records what it was asked to open. Launches wait until the
// test finishes them.
class FakeWorkspace final : public Workspace {
public:
    struct Launch {
        ExternalApplication application;
        std::vector<std::string> urls;
        LaunchCompletion completion;
    };

    std::vector<std::string> opened;  // every address passed to openURL, in order
    std::vector<Launch> launches;
    std::set<ExternalApplication> installed;
    // Whether a handler takes an address; every address by default.
    std::function<bool(const std::string&)> handles = [](const std::string&) { return true; };

    bool openURL(const std::string& url) override
    {
        opened.push_back(url);
        return handles(url);
    }
    bool hasApplication(ExternalApplication application) override { return installed.count(application) > 0; }
    void launchApplication(ExternalApplication application, const std::vector<std::string>& urls,
                           LaunchCompletion completion) override
    {
        launches.push_back({application, urls, std::move(completion)});
    }

    void finishLaunch(std::size_t index, std::optional<std::string> error)
    {
        auto completion = std::move(launches.at(index).completion);
        completion(std::move(error));
    }
};

}  // namespace meridavolt::fakes
